#pragma once

#include "movarin/sections/GeoDataPolygonSetting.h"
#include "movarin/sections/GeoDataShapeItemT.h"

#include <QVariant>

namespace varnel {

/// One closed polygon of a geographic-data group (the ring closes from the last vertex to
/// the first; the first vertex is not repeated), with the value it gives the area it
/// covers: an integer for a group of enumerated values, a double for real values, 0 for a
/// group without values. After a project load the value holds the attribute's text;
/// readers convert with `toInt` or `toDouble`. Icon ":/images/iconPolygon.png".
///
/// Element "GeoDataPolygon" (written and read by the group): the setting, "caption" and
/// "value" (the value as text; a missing attribute reads as the empty text). The vertices
/// go to the item's geometry file (see `GeoDataShapeItemT`).
///
/// `GeoDataPolygonItemController` defines and edits it; `GeoDataPolygonItemView` paints it.
class GeoDataPolygonItem
    : public GeoDataShapeItemT<tin::core::Polygon, GeoDataPolygonSetting> {
    Q_OBJECT
public:
    /// The row is appended under `parent`'s row (see `ModelItem`); groups take it back out
    /// (`GeoDataGroupItem::createPolygonItem`).
    GeoDataPolygonItem(const QString& caption, mvc::core::ModelItem* parent);
    ~GeoDataPolygonItem() override;

    tin::core::Polygon* polygon() const { return shape(); }
    /// Takes ownership of `polygon` and deletes the old one.
    void setPolygon(tin::core::Polygon* polygon) { setShape(polygon); }
    const QVariant& value() const;
    void setValue(const QVariant& value);

    /// Tells the user how a definition goes: an information box keyed "geodatapolygoninit".
    void showDefineInformation() const;

    /// "polygon".
    QString itemTypeName() const override;

protected:
    void doLoadFromProjectMainFile(const QDomElement& element) override;
    void doSaveToProjectMainFile(QXmlStreamWriter* writer) override;
    mvc::core::ModelItemView* buildView() const override;
    mvc::core::ModelItemController* buildController() const override;

private:
    QVariant m_value;
};

} // namespace varnel
