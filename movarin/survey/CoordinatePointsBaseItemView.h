#pragma once

#include "movarin/survey/CoordinatePointsBaseItemViewSetting.h"

#include "brask/core/ModelItemViewT.h"

namespace guimisc::colormapper {
class ElevationColorMapper;
}

namespace varnel {

class CoordinatePointsBaseItem;

/// Paints a point-set item on the main view: a disc of the setting's radius (pixels, not
/// following the zoom) at each point's widget position (`View::conv`), drawn as
/// `QPainter::drawEllipse(c, r, r)` with a default pen and a solid brush of one colour: the
/// project's elevation colour of the point when colour by value is on, else the setting's
/// colour. While the item's controller is selected, each selected point gets a black ring:
/// the circle of radius r + 1 stroked with a pen of width r + 2 and no fill, so the point's
/// own marker stays visible inside. The rings are drawn after all markers.
///
/// A view of a small part of the set asks the point set's spatial index for the points whose
/// markers can reach the visible rectangle (built by the first such paint unless a tool built
/// it before; see `CoordinatePointsBaseItem::prepareSpatialIndex`); a view of a large part
/// (`showsLargePart`) walks all points and leaves out the markers off the picture. Markers
/// and rings are stamped from shapes rendered once per paint (`PointMarkerStamp`), so a
/// repaint costs a few memory writes per visible point. The setting starts as cyan,
/// radius 2, colour by value; subclass views pass their own. Owned by the item.
class CoordinatePointsBaseItemView : public mvc::core::ModelItemViewT<CoordinatePointsBaseItem> {
public:
    explicit CoordinatePointsBaseItemView(const CoordinatePointsBaseItem* item);
    CoordinatePointsBaseItemView(const CoordinatePointsBaseItem* item,
                                 const CoordinatePointsBaseItemViewSetting& setting);
    ~CoordinatePointsBaseItemView() override;

    CoordinatePointsBaseItemViewSetting& viewSetting();
    const CoordinatePointsBaseItemViewSetting& viewSetting() const;
    /// Copies the values; does not repaint (the undo commands' wrapper does).
    void setViewSetting(const CoordinatePointsBaseItemViewSetting& setting);

protected:
    void doPaintMainView(QPainter* painter, const QTransform& transform,
                         const QRectF& rect) const override;

private:
    /// The project's colour scale, or a default one outside an application project.
    const guimisc::colormapper::ElevationColorMapper* colorMapper() const;

    CoordinatePointsBaseItemViewSetting m_setting;
};

} // namespace varnel
