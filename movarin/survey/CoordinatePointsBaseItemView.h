#pragma once

#include "movarin/survey/CoordinatePointsBaseItemViewSetting.h"

#include "brask/core/ModelItemViewT.h"

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QTransform>

#include <cstddef>
#include <cstdint>
#include <optional>

namespace guimisc::colormapper {
class ElevationColorMapper;
}

namespace tin::core {
class PointSet;
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
/// paint costs a few memory writes per visible point; many of them are stamped in horizontal
/// bands on several threads (`MarkerBands`, the same pixels as one thread gives), which read
/// the points in place through the set's own list and never copy a point's shared pointer. The markers' layer is kept and drawn
/// again as long as the set (its object, count and extent), the view's placement, the
/// device's size, the setting and the colour scale are unchanged; the rings of the selection
/// are stamped over a copy at every paint. The framework discards the kept layer after every
/// undoable edit (`doDiscardPaintCache`), which is how a change of the points themselves
/// reaches the picture. A layer stamped from a walk of all points also keeps a fingerprint
/// of what it was stamped from (each point's x, y and elevation, in walk order); after a
/// discard the next paint walks the points once more to compare fingerprints and stamps
/// again only when they differ, so that an edit of something else (a breakline, another
/// set) costs a read of the points rather than a new layer. The setting starts as cyan,
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
    /// What the kept markers' layer was stamped from.
    struct MarkersKey {
        const tin::core::PointSet* set = nullptr;
        std::size_t count = 0;
        QRectF extent;
        QTransform viewTransform;
        QPointF origin;
        QRectF area;
        int width = 0;
        int height = 0;
        QColor color;
        int radius = 0;
        bool byValue = false;
        double colorMin = 0.0;
        double colorMax = 0.0;
        double colorWaterSurface = 0.0;

        bool operator==(const MarkersKey& other) const;
    };

    void doDiscardPaintCache() override;
    /// The project's colour scale, or a default one outside an application project.
    const guimisc::colormapper::ElevationColorMapper* colorMapper() const;

    CoordinatePointsBaseItemViewSetting m_setting;
    mutable QImage m_markers;
    mutable std::optional<MarkersKey> m_markersKey;
    /// The fingerprint of the points a walked layer was stamped from; none for a layer
    /// stamped from the index's points.
    mutable std::optional<std::uint64_t> m_markersPrint;
    /// Discarded since stamped: the layer stands only if the fingerprint still matches.
    mutable bool m_markersInDoubt = false;
};

} // namespace varnel
