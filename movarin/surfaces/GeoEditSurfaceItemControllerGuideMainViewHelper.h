#pragma once

#include "movarin/surfaces/GeoEditSurfaceItemController.h"
#include "movarin/surfaces/GeoEditSurfaceItemControllerReferenceLine.h"

#include "brask/util/MainViewHelperI.h"
#include "orlin/core/Point.h"
#include "orlin/core/Point2D.h"

#include <vector>

namespace varnel {

/// The numbers written on a surface's pending path while it is edited, so that the user can
/// set the path out by them. In this order, with the helper's pen and brush:
/// 1. the plan length of every segment at its middle, turned along the segment and never
///    upside down (`lengthLabelRotation`), in the font size "font/distance_fontsize";
/// 2. the elevation of every vertex at the vertex, in "font/elevation_fontsize";
/// 3. every reference line (`ReferenceLine`) from its vertex V, half as long as the segment
///    S that leaves V and on S's side of V, with the angle between it and S at V (the arc at
///    six tenths of the line), in magenta 2 pixels wide, the angle in
///    "font/angle_fontsize".
/// Labels are centred above their anchor (alignment 68) and have `decimals` digits after
/// the point (5 until set; the tools set 5 in developers' mode, else 2). A font size is
/// read at every paint as an int, 0 when the key is missing or holds no number, and passed
/// on as it is: the font changer keeps the painter's font for 0 or less. A segment of no
/// length gets its label unturned; a reference line of no direction is not drawn.
///
/// Path and reference lines are borrowed (the active tool's) and read at every paint; they
/// must outlive the helper. Cost: linear in the vertices.
class GeoEditSurfaceItemController::GuideMainViewHelper : public mvc::util::MainViewHelperI {
public:
    GuideMainViewHelper(const std::vector<tin::core::Point>* points,
                        const ReferenceLines* referenceLines, mvc::core::View* view,
                        const QPen& pen = QPen(), const QBrush& brush = QBrush());
    ~GuideMainViewHelper() override;

    GuideMainViewHelper& setDecimals(int decimals);
    int decimals() const { return m_decimals; }

    void paintView(QPainter* painter, const QTransform& transform, const QRectF& rect) override;

    /// The turn, in degrees clockwise on the screen, of the length label of a segment along
    /// the world direction `d` on `view`: along the segment and upright, in (-90, 90]; 90
    /// for a segment that points down the screen. 0 for a direction of no length.
    static double lengthLabelRotation(const tin::core::Point2D& d, const mvc::core::View* view);

private:
    void paintLengths(QPainter* painter, const QTransform& transform, const QRectF& rect,
                      int fontSize) const;
    void paintElevations(QPainter* painter, const QTransform& transform, const QRectF& rect,
                         int fontSize) const;
    void paintReferenceLines(QPainter* painter, const QTransform& transform, const QRectF& rect,
                             int fontSize) const;
    QString number(double value) const;

    const std::vector<tin::core::Point>* m_points;
    const ReferenceLines* m_referenceLines;
    int m_decimals = 5;
};

} // namespace varnel
