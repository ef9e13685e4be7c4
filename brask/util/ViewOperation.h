#pragma once

#include <QCursor>
#include <QPoint>
#include <QPointF>

class QMouseEvent;
class QWheelEvent;
class QWidget;

namespace mvc::util {

/// The Ctrl-drag navigation of a 2-D view, shared by the main view and the secondary
/// panes: a press with Ctrl alone starts a pan with the left button (move cursor) or a zoom
/// with the middle button (zoom cursor); each move yields the pan offset in pixels or the
/// zoom factor since the last position; a release ends it with the arrow cursor back. The
/// view applies the steps to its own centre and scale. Cursors are the framework's
/// ":/libs/mvc/images/cursorMove.png" and "cursorZoom.png", hot spot in the middle.
class ViewOperation {
public:
    ViewOperation();

    /// Starts a pan or zoom for a press whose modifiers are exactly Ctrl with the left or
    /// middle button, and sets the cursor on `widget`; false (nothing started) otherwise.
    bool start(QWidget* widget, const QMouseEvent* event);
    bool isRunning() const;
    bool isPanning() const;
    bool isZooming() const;
    /// The move since the last position in pixels, x to the right and y up; `pos` becomes
    /// the last position.
    QPointF panOffset(const QPoint& pos);
    /// exp(0.01 × the upward move since the last position): dragging up zooms in; `pos`
    /// becomes the last position.
    double zoomFactor(const QPoint& pos);
    /// Applies the move to `pos` to `view` (anything with `scale`, `setScale`, `centerPoint`
    /// and `setCenterPoint`): a zoom multiplies its scale by `zoomFactor`; a pan moves its
    /// centre against the drag by `toWorld(panOffset)`, the pixel offset in world units.
    template <class View, class ToWorld>
    void drag(View* view, const QPoint& pos, ToWorld toWorld)
    {
        if (m_zooming) {
            view->setScale(view->scale() * zoomFactor(pos));
        } else {
            view->setCenterPoint(view->centerPoint() - toWorld(panOffset(pos)));
        }
    }
    /// Ends the operation and puts the arrow cursor back on `widget`.
    void end(QWidget* widget);

    /// +1 for a wheel turned away from the user (zoom in), -1 towards, 0 for no turn; a
    /// horizontal turn counts when there is no vertical one.
    static int wheelDirection(const QWheelEvent* event);

private:
    QCursor m_moveCursor;
    QCursor m_zoomCursor;
    QPoint m_lastPos;
    bool m_panning = false;
    bool m_zooming = false;
};

} // namespace mvc::util
