#pragma once

#include <QPointF>
#include <QTransform>
#include <QWidget>

#include <exception>
#include <memory>
#include <vector>

class QColor;
class QPixmap;

namespace guimisc::helper {
class SelectionHelper;
}

namespace mvc::util {
class MainViewHelperI;
class SelectionHelper;
} // namespace mvc::util

namespace mvc::core {

class Model;
class ModelItemController;

/// The main 2-D view of a project window: shows one model (borrowed, watched) in world
/// coordinates (metres, Y up) with a centre, a scale in pixels per metre and a rotation in
/// degrees (positive turns the drawing counter-clockwise), and a scale bar in the
/// bottom-right corner.
///
/// Transform. World points are first taken relative to the local origin and Y is flipped,
/// then mapped by `transform()`: translate by half the widget, rotate by -angle, scale,
/// translate by the centre relative to the origin. The local origin moves to the centre of
/// the fitted rectangle at every fit, so the transform works on small numbers even for
/// survey coordinates near 1e5 m. The transform is recomputed by `updateView`, by `fit`
/// and by every navigation step; the setters and a resize leave it as it is.
///
/// Navigation. Ctrl with the left button pans, Ctrl with the middle button zooms (dragging
/// up zooms in); the wheel doubles or halves the scale; the slots zoom, rotate and move by
/// 150 pixels. `fit` shows a rectangle whole, and `fit()` the whole model `FIT_MARGIN` pixels
/// in from every edge, so that the markers of its outermost points are whole; on a widget that
/// has no area yet both keep the scale and the centre. `isFitted` tells whether the view still
/// shows the model as `fit()` left it, so that a window can fit it again when it is maximised;
/// any other fit, navigation step or setter ends that.
///
/// Input. Every other mouse, key and wheel event goes to the view-level selection helper
/// when one is installed, else to the selected item's controller when that item is
/// checked. The wheel reaches only the helper (and always zooms). A right press and
/// release within 3 pixels of each other on the controller's route opens the controller's
/// menu. A button pressed with Ctrl alone never reaches a helper or a controller, nor do
/// the moves and the release that follow it. `positionChanged` is emitted on every move.
///
/// Painting. Outside a drag every repaint draws the model anew: the item tree, the view
/// helpers of the selected item, the view-level helpers and the scale bar, into a picture
/// of the widget's size. A drag step only moves, turns and scales the last picture (one
/// blit, whatever the model holds). `updateView()` discards the model's paint caches
/// before it prepares and repaints; a plain `update()` keeps them, and so do fit and
/// navigation, which change only the transform. Painting that fails (an item view throws,
/// memory runs out) leaves the view dark grey and tells the user once, in an "Error" box
/// shown after the paint event, until a paint succeeds again; nothing leaves the event.
///
/// The view owns its selection helper, not the view helpers in its list.
class View : public QWidget {
    Q_OBJECT
public:
    /// Pixels left free on every side by `fit()` (none on a widget too small to spare them).
    static constexpr int FIT_MARGIN = 10;

    explicit View(QWidget* parent = nullptr);
    ~View() override;

    void setModel(Model* model);
    Model* model() const;

    QPointF centerPoint() const;
    /// A point that is not finite is refused (the centre stays).
    void setCenterPoint(const QPointF& center);
    double scale() const;
    /// A scale that is not finite and positive is refused (the scale stays).
    void setScale(double scale);
    double angleDegree() const;
    /// An angle that is not finite is refused (the angle stays).
    void setAngleDegree(double angleDegree);
    /// The world point subtracted from every coordinate before the transform.
    QPointF localOrigin() const;
    /// World relative to the local origin, Y flipped, to widget pixels.
    const QTransform& transform() const;
    /// The world size of one pixel (1 / scale).
    double pixel() const;
    /// True while a Ctrl-drag pan or zoom runs.
    bool inViewOperation() const;
    /// True from `fit()` until the next `fit(rect)`, navigation step or accepted setter: the
    /// view shows the whole model, as far as the user is concerned.
    bool isFitted() const;
    util::SelectionHelper* selectionHelper() const;

    QPointF conv(const QPointF& world) const;
    QPointF rconv(const QPointF& widget) const;
    QPointF rconv(const QPoint& widget) const;
    QPointF drawnPos(const QPoint& widget) const;
    /// The world rectangle the widget shows (the bounding rectangle when rotated).
    QRectF drawnRegion() const;

    /// Recomputes the transform, discards the model's paint caches, prepares the model for
    /// painting and, when that succeeds, schedules a repaint.
    void updateView();

    /// Installs a view-level interaction mode and takes ownership of it: the old helper's
    /// view helpers leave the view's list, the old helper is deleted, the new one's view
    /// helpers join the list. Nothing when `helper` is the installed one; null installs
    /// none. Does not repaint. Throws std::invalid_argument (and takes nothing) for a
    /// helper that is not a main-view helper.
    void updateSelectionHelper(guimisc::helper::SelectionHelper* helper);
    /// Appends the helpers, by pointer and in order, to the view-level list (not owned).
    void addViewHelper(const std::vector<std::unique_ptr<util::MainViewHelperI>>& helpers);
    /// Removes every occurrence of each helper from the view-level list.
    void deleteViewHelper(const std::vector<std::unique_ptr<util::MainViewHelperI>>& helpers);

    /// The world rectangle that `widget` shows under `transform` and `origin` (the bounding
    /// rectangle when rotated).
    static QRectF drawnArea(const QWidget& widget, const QTransform& transform,
                            const QPointF& origin);
    /// Widget pixels to world points: the inverse of `transform`, Y flipped back, plus
    /// `origin`.
    static QTransform drawnAreaTransform(const QTransform& transform, const QPointF& origin);
    /// World to widget for a view of `size` centred on `center`: translate by half the
    /// size, rotate by -angle, scale by (scaleX, ±scaleY), translate by -center. With
    /// `yDown` false world Y points up on the screen.
    static QTransform getTransform(const QSize& size, const QPointF& center, double scaleX,
                                   double scaleY, double angleDegree, bool yDown);
    /// True when the two points differ by at most 3 pixels in x and in y.
    static bool isClick(const QPoint& press, const QPoint& release);
    /// Paints `pixmap` at (0, 0) on `widget` over `background`.
    static void paintEvent(QWidget* widget, const QPixmap& pixmap, const QColor& background);
    /// The same with the painter transformed by `transform`.
    static void paintEvent(QWidget* widget, const QPixmap& pixmap, const QColor& background,
                           const QTransform& transform);

signals:
    /// The world position under the mouse; on every move, drags included.
    void positionChanged(const QPointF& position);

public slots:
    /// Fits the model's bounding box with `FIT_MARGIN` pixels free around it.
    void fit();
    /// Scale: the smaller of width / rect width and height / rect height (a rectangle
    /// without extent counts as 1 by 1); centre and local origin: the rectangle's centre.
    void fit(const QRectF& rect);
    void zoomIn();
    void zoomOut();
    void resetRotation();
    void rotate90();
    void moveLeft();
    void moveRight();
    void moveUp();
    void moveDown();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    /// Does nothing: the transform stays until the next update.
    void resizeEvent(QResizeEvent* event) override;

    /// Draws the scale bar: 50 pixels left of a point 20 pixels in from the bottom-right
    /// corner, shortened to a round world length (the first significant digit of the
    /// length of 50 pixels), labelled "<length> m" below it.
    void drawScale(QPainter* painter) const;

private:
    struct Impl;

    void updateTransform();
    /// Recomputes the transform, prepares the model and repaints when it is ready.
    void refresh();
    /// `fit(rect)` within the widget less `margin` pixels on every side.
    void fitInside(const QRectF& rect, int margin);
    QPixmap drawModel() const;
    /// Shows the failure of a paint in a box once the paint event is over, unless the failure
    /// before it went unanswered by a good paint.
    void reportPaintFailure(const std::exception& failure);
    void dragStep(const QPoint& pos);
    void endViewOperation();
    /// The selected item's controller when that item is checked, else null.
    ModelItemController* activeController() const;
    /// Hands `event` to the view-level helper if one is installed, else to the active
    /// controller; true when the controller got it.
    template <class Event, class HelperHook, class ControllerHook>
    bool dispatch(Event* event, HelperHook helperHook, ControllerHook controllerHook);

    std::unique_ptr<Impl> m_impl;
};

} // namespace mvc::core
