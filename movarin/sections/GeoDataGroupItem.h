#pragma once

#include "brask/core/ModelItem.h"

#include <QString>

#include <utility>
#include <vector>

namespace varnel {

class GeoDataGroupValueEditWidget;
class GeoDataPolygonItem;
class GeoDataPolylineItem;

/// One fixed group of the geographic data ("Roughness", "Reference Information", ...): a
/// folder row whose children are the group's polygons and polylines in browser order (the
/// first child is painted last, on top). A group with a value type other than None holds
/// polygons only; each polygon carries one value of the group's type: an integer of
/// `enumValues` (the pair's integer, not its position) or a real number shown with `unit`.
///
/// The internal `name` ("roughness", "referenceinformation", ...) never changes: it is the
/// group's key in "project.xml" (attribute "name" of its "GeoDataGroup" element), its
/// sub-folder below the top item's "geoData", and how other parts find it
/// (`GeoDataTopItem::groupItem`).
///
/// Project file. Save writes one element per child, "GeoDataPolygon" or "GeoDataPolyLine",
/// numbering the children from 1 in child order and naming each child's geometry file
/// "geodata<k>.dat" before it saves itself. Load walks every child node of the group's
/// element, numbering them from 1 whatever they are (a comment uses up a number too), makes
/// an item of each "GeoDataPolygon" and "GeoDataPolyLine" element, names its file by the
/// node's number, lets it read itself and appends it; other nodes are skipped.
///
/// `geoDataPolylineChanged` is relayed to the top item's signal of that name; the group
/// announces it itself when polylines join or leave it (see `GeoDataGroupItemController`),
/// and so do its polylines when they change.
class GeoDataGroupItem : public mvc::core::ModelItem {
    Q_OBJECT
public:
    enum ValueType { None = 0, Enum = 1, Real = 2 };
    using EnumValues = std::vector<std::pair<int, QString>>;

    GeoDataGroupItem(const QString& caption, const QString& name, mvc::core::ModelItem* parent);
    GeoDataGroupItem(const QString& caption, const QString& name, const QString& unit,
                     mvc::core::ModelItem* parent);
    GeoDataGroupItem(const QString& caption, const QString& name, const EnumValues& enumValues,
                     mvc::core::ModelItem* parent);
    ~GeoDataGroupItem() override;

    const QString& name() const;
    ValueType valueType() const;
    const QString& unit() const;
    const EnumValues& enumValues() const;

    /// A new editor of the group's values (also a QWidget), owned by the caller: a
    /// `RealValueEditWidget` with the unit, an `EnumValueEditWidget` with the pairs; null for
    /// a group without values.
    GeoDataGroupValueEditWidget* buildValueEditWidget() const;
    /// The numbers of polygon and of polyline children; other children are not counted.
    void countPolygonsAndPolylines(int* polygons, int* polylines) const;
    /// The first polyline child whose caption, in lower case, is `caption` in lower case and
    /// that has at least two vertices (a line the exports can follow); null when there is
    /// none. The exports find the reference lines "1" to "4" and "C" so.
    GeoDataPolylineItem* polylineByCaption(const QString& caption) const;

    /// A new item with that caption that hangs under the group by its Qt parent only: its
    /// row is no row of the group's, so that the caller attaches it (and owns it until then).
    GeoDataPolygonItem* createPolygonItem(const QString& caption);
    GeoDataPolylineItem* createPolylineItem(const QString& caption);

    /// Emits `geoDataPolylineChanged`. A listener that fails (a section crossing a
    /// degenerate polyline, say) does not stop the edit that announced: its failure is logged
    /// and dropped, so that the tree and the undo stack stay in step.
    void announcePolylineChange();

    /// "Geographic data".
    QString itemTypeName() const override;

signals:
    void geoDataPolylineChanged();

protected:
    void doLoadFromProjectMainFile(const QDomElement& element) override;
    void doSaveToProjectMainFile(QXmlStreamWriter* writer) override;
    mvc::core::ModelItemController* buildController() const override;

private:
    GeoDataGroupItem(const QString& caption, const QString& name, ValueType type,
                     mvc::core::ModelItem* parent);
    QString m_name;
    ValueType m_valueType;
    QString m_unit;
    EnumValues m_enumValues;
};

} // namespace varnel
