#pragma once

#include "movarin/sections/GeoDataPolylineSetting.h"
#include "movarin/sections/GeoDataShapeItemT.h"

namespace varnel {

/// One open polyline of a geographic-data group, without a value: a reference line. The
/// exports look up the polylines of "Reference Information" by caption ("1", "2", "3",
/// "4", "C"), and the cross-section windows show where they cross a section. Icon
/// ":/images/iconPolyline.png".
///
/// Element "GeoDataPolyLine" (written and read by the group): the setting and "caption";
/// the vertices go to the item's geometry file (see `GeoDataShapeItemT`).
///
/// Every change of the polyline is announced through `geoDataPolylineChanged`, which the
/// group relays to the top item: a new shape (also when its file is loaded), a new setting,
/// and every edit of the controller's commands, on redo and on undo.
///
/// `GeoDataPolylineItemController` defines and edits it; `GeoDataPolylineItemView` paints
/// it.
class GeoDataPolylineItem
    : public GeoDataShapeItemT<tin::core::Polyline, GeoDataPolylineSetting> {
    Q_OBJECT
public:
    /// The row is appended under `parent`'s row (see `ModelItem`); groups take it back out
    /// (`GeoDataGroupItem::createPolylineItem`).
    GeoDataPolylineItem(const QString& caption, mvc::core::ModelItem* parent);
    ~GeoDataPolylineItem() override;

    tin::core::Polyline* polyline() const { return shape(); }
    /// Takes ownership of `polyline`, deletes the old one and announces the change.
    void setPolyline(tin::core::Polyline* polyline) { setShape(polyline); }

    /// Tells the user how a definition goes: an information box keyed "geodatapolylineinit".
    void showDefineInformation() const;

    /// Emits `geoDataPolylineChanged`.
    void shapeChanged() override;

    /// "polyline".
    QString itemTypeName() const override;

signals:
    void geoDataPolylineChanged();

protected:
    void doLoadFromProjectMainFile(const QDomElement& element) override;
    void doSaveToProjectMainFile(QXmlStreamWriter* writer) override;
    mvc::core::ModelItemView* buildView() const override;
    mvc::core::ModelItemController* buildController() const override;
};

} // namespace varnel
