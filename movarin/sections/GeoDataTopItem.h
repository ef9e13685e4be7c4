#pragma once

#include "brask/core/ModelItem.h"

#include <QString>

namespace varnel {

class GeoDataGroupItem;

/// The top folder of a project's geographic data ("Geographic data"): a fixed list of
/// `GeoDataGroupItem`s made by the concrete top item's constructor and never changed. Its
/// files lie in the sub-folder "geoData", each group's in a folder of its internal name
/// below it.
///
/// Project file (the root item opens the element, "GeoDataTop"). Save writes one
/// "GeoDataGroup" element per group, in child order, in which the group writes itself.
/// Load hands each group the first "GeoDataGroup" child whose attribute "name" is the
/// group's name; a group without element stays empty, and elements of other names are
/// ignored.
///
/// `geoDataPolylineChanged` tells that a polyline of some group changed, came or went (the
/// cross-section windows recompute their crossings then); the groups and polylines relay
/// their own signals of that name to it.
class GeoDataTopItem : public mvc::core::ModelItem {
    Q_OBJECT
public:
    explicit GeoDataTopItem(mvc::core::ModelItem* parent);
    ~GeoDataTopItem() override;

    /// The group of that internal name, or null.
    GeoDataGroupItem* groupItem(const QString& name) const;

    /// "Geographic data top".
    QString itemTypeName() const override;

signals:
    void geoDataPolylineChanged();

protected:
    /// Appends a group made with this item as parent (constructors of the concrete items).
    void addGroup(GeoDataGroupItem* group);

    void doLoadFromProjectMainFile(const QDomElement& element) override;
    void doSaveToProjectMainFile(QXmlStreamWriter* writer) override;
};

} // namespace varnel
