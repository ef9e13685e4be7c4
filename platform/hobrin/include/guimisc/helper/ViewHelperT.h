#pragma once

#include <QBrush>
#include <QPen>

class QPainter;
class QRectF;
class QTransform;

namespace guimisc::helper {

/// A painter helper over a view of type V: something drawn on top of the view's content
/// (a rubber band, a marker, a label) with its own pen and brush. The view is not owned;
/// pen and brush are `QPen()` and `QBrush()` unless given. Copies share the view.
///
/// `preparePaintView` runs before painting and returns true by default; `paintView` draws
/// with the painter in widget coordinates, given the view's transform and the visible
/// world rectangle. Header-only; a library that hands instances across its boundary
/// compiles them once (an explicit instantiation).
template <class V>
class ViewHelperT {
public:
    explicit ViewHelperT(V* view) : m_view(view) {}
    ViewHelperT(V* view, const QBrush& brush) : m_view(view), m_brush(brush) {}
    ViewHelperT(V* view, const QPen& pen) : m_view(view), m_pen(pen) {}
    ViewHelperT(V* view, const QPen& pen, const QBrush& brush)
        : m_view(view), m_pen(pen), m_brush(brush)
    {
    }
    ViewHelperT(const ViewHelperT&) = default;
    ViewHelperT& operator=(const ViewHelperT&) = default;
    virtual ~ViewHelperT() = default;

    QPen pen() const { return m_pen; }
    QBrush brush() const { return m_brush; }
    /// The pen and brush by reference, for the helper's own drawing code. They are public
    /// rather than protected so that `helper->pen()` on a non-const helper still compiles
    /// outside the class (overloads on const are chosen before access is checked).
    QPen& pen() { return m_pen; }
    QBrush& brush() { return m_brush; }
    void setPen(const QPen& pen) { m_pen = pen; }
    void setBrush(const QBrush& brush) { m_brush = brush; }

    virtual bool preparePaintView(const QTransform& transform, const QRectF& rect)
    {
        return true;
    }
    virtual void paintView(QPainter* painter, const QTransform& transform,
                           const QRectF& rect) = 0;

protected:
    V* view() const { return m_view; }

private:
    V* m_view;
    QPen m_pen;
    QBrush m_brush;
};

} // namespace guimisc::helper
