#pragma once

#include "movarin/shell/PointsViewHelperT.h"

#include "brask/core/View.h"
#include "brask/util/MainViewHelperI.h"

namespace varnel {

/// Markers on the main view: a dot of `radius` pixels (3 until `setRadius`; the zoom does
/// not change it) at each point of a borrowed vector of survey points, with the helper's
/// pen (`QPen()` unless given) and brush (`QBrush()`, no fill, unless given). Nothing for an
/// empty vector. The vector is read at every paint and must outlive the helper.
class PointsMainViewHelper
    : public PointsViewHelperT<mvc::util::MainViewHelperI, mvc::core::View, tin::core::Point> {
public:
    PointsMainViewHelper(const std::vector<tin::core::Point>* points, mvc::core::View* view);
    using PointsViewHelperT::PointsViewHelperT;
    PointsMainViewHelper(const std::vector<tin::core::Point>* points, mvc::core::View* view,
                         const QPen& pen);
    PointsMainViewHelper(const std::vector<tin::core::Point>* points, mvc::core::View* view,
                         const QPen& pen, const QBrush& brush);

    /// Sets the dot radius in pixels; returns this helper.
    PointsMainViewHelper* setRadius(int radius);
};

} // namespace varnel
