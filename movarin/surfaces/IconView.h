#pragma once

#include <QPointF>
#include <QPointer>
#include <QRectF>
#include <QTransform>
#include <QWidget>

namespace varnel {

class MoldItem;

/// One mold of the Mold Browser as a 25 x 25 pixel icon: the mold's outline over its drawn
/// area (light grey on white; black on light grey while selected) on a dark grey ground,
/// painted by the mold's own item view with the grid off. A press of any button announces
/// the mold (`itemSelected`); the group widget marks the icon (`setSelected`).
///
/// `fitToMold` frames the mold's bounding rectangle at 90 % of the icon, each axis scaled on
/// its own, so a flat mold fills the icon's width and its height alike; a rectangle of no
/// width (or height) is taken 2 m wide (high) around its left (lower) edge.
///
/// The icon watches its mold (it may go with a reloaded project) and paints nothing once
/// it is gone.
class IconView : public QWidget {
    Q_OBJECT
public:
    explicit IconView(MoldItem* item, QWidget* parent = nullptr);
    ~IconView() override;

    MoldItem* moldItem() const;
    bool isSelected() const;
    void setSelected(bool selected);
    void fitToMold();

    /// World (L across, H up) to the icon's pixels.
    const QTransform& transform() const;
    /// The world rectangle the icon shows.
    QRectF drawnArea() const;

signals:
    void itemSelected(MoldItem* selectedMoldItem);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void updateTransform();

    QPointer<MoldItem> m_item;
    QTransform m_transform;
    bool m_selected = false;
    QPointF m_center;
    double m_scaleX = 1.0;
    double m_scaleY = 1.0;
    /// Each axis keeps its own scale; off, both take the smaller one.
    bool m_separateScales = true;
    QPointF m_offset;
};

} // namespace varnel
