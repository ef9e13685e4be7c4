#pragma once

#include "brask/util/MainViewHelperI.h"

#include <memory>
#include <vector>

namespace mvc::core {
class View;
}

namespace tin::core {
class Point;
}

namespace varnel {

/// A polyline or closed rings on the main view over a borrowed vector of survey points or
/// of shared survey points (see `PolylineMainViewHelperT`): with a null ring size one open
/// line through the points, with ring size k each k consecutive points closed into a ring
/// (the auxiliary drawings pass 2 for edges and 3 for triangles); nothing under 2 points.
/// It owns the `PolylineMainViewHelperT` of the matching element type, made with the same
/// view, pen, brush, points and ring size, and hands each paint to it. Pen and brush are
/// `QPen()` and `QBrush()` unless given. Points and ring size are read at every paint and
/// must outlive the helper.
class PolylineMainViewHelper : public mvc::util::MainViewHelperI {
public:
    PolylineMainViewHelper(const std::vector<std::shared_ptr<tin::core::Point>>* points,
                           mvc::core::View* view, const QPen& pen, const QBrush& brush,
                           const int* ringSize);
    PolylineMainViewHelper(const std::vector<std::shared_ptr<tin::core::Point>>* points,
                           mvc::core::View* view, const int* ringSize);
    PolylineMainViewHelper(const std::vector<tin::core::Point>* points, mvc::core::View* view,
                           const QPen& pen, const QBrush& brush, const int* ringSize);
    PolylineMainViewHelper(const std::vector<tin::core::Point>* points, mvc::core::View* view,
                           const QPen& pen, const int* ringSize);
    PolylineMainViewHelper(const std::vector<tin::core::Point>* points, mvc::core::View* view,
                           const int* ringSize);
    ~PolylineMainViewHelper() override;

    void paintView(QPainter* painter, const QTransform& transform, const QRectF& rect) override;

private:
    std::unique_ptr<mvc::util::MainViewHelperI> m_helper;
};

} // namespace varnel
