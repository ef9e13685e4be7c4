#pragma once

#include <QPointF>
#include <QTransform>
#include <QWidget>

#include <memory>

class QPixmap;

namespace mvc::view {

/// A light 2-D view for secondary panes that draw themselves (profiles, details, images):
/// a centre, a scale in pixels per world unit and two relative scales that stretch the X
/// and Y axes on top of it (a profile exaggerates heights with them). World Y points up;
/// the angle is always 0.
///
/// The transform is the main view's (`core::View::getTransform`) with the scales
/// multiplied by the relative ones, followed by `modifyTransform()` (identity by default;
/// a subclass shifts or flips with it). Every recomputation emits `drawnAreaChanged()`.
/// The setters do not recompute: `updateTransform()` does, `updateView()` recomputes and
/// repaints.
///
/// Navigation as on the main view: Ctrl with the left button pans (the drawing follows
/// the mouse on both axes, whatever the relative scales), Ctrl with the middle button
/// zooms, the wheel doubles or halves the scale. A right press outside a drag is
/// remembered (`rightClickPos`). The `view...Event` operations are these steps, for
/// subclasses that override the event handlers and still want them.
///
/// Painting: outside a drag each repaint asks `drawModel()` for a new picture; a drag step
/// only moves and scales the last one over dark grey (one blit).
class PrimitiveView : public QWidget {
    Q_OBJECT
public:
    explicit PrimitiveView(QWidget* parent = nullptr);
    ~PrimitiveView() override;

    QPointF conv(const QPointF& world) const;
    QPointF rconv(const QPointF& widget) const;
    /// The world rectangle the widget shows.
    QRectF drawnArea() const;
    /// `updateTransform()`, then a repaint.
    void updateView();
    void updateTransform();
    const QTransform& transform() const;

    QPointF centerPoint() const;
    /// A point that is not finite is refused.
    void setCenterPoint(const QPointF& center);
    double scale() const;
    /// A scale that is not finite and positive is refused; so are such relative scales.
    void setScale(double scale);
    double relativeScaleX() const;
    void setRelativeScaleX(double factor);
    double relativeScaleY() const;
    void setRelativeScaleY(double factor);
    /// Always 0.
    double angleDegree() const;
    /// The widget position of the last right press outside a drag.
    QPoint rightClickPos() const;
    bool inViewOperation() const;

    void viewMousePressEvent(QMouseEvent* event);
    void viewMouseMoveEvent(QMouseEvent* event);
    void viewMouseReleaseEvent(QMouseEvent* event);
    void viewWheelEvent(QWheelEvent* event);

signals:
    void drawnAreaChanged();

protected:
    /// Applied after the view transform; identity by default.
    virtual QTransform modifyTransform() const;
    /// The picture of the pane, of the widget's size; by default dark grey.
    virtual QPixmap drawModel();

    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace mvc::view
