#pragma once

#include "movarin/sections/CrossSectionLhTableRow.h"

#include "brask/core/ModelItem.h"
#include "orlin/core/Point.h"
#include "orlin/core/Point2D.h"
#include "orlin/core/Polyline.h"

#include <guimisc/xml/StringContainer.h>

#include <QString>

#include <unordered_map>
#include <utility>
#include <vector>

namespace tin::core {
class Point2DI;
class Tin;
} // namespace tin::core

namespace varnel {

class CrossSectionItemController;
class EditModeMainWindowModelRootItem;
class GeoDataPolygonItem;
class GeoDataPolylineItem;

/// One cross section: a named straight segment in plan from its start S to its end E (x and
/// y in metres, elevations 0), a row of the "Cross sections" group (caption editable,
/// deletable, reorderable; the caption is the name). It is the one source of section
/// geometry for the cross-section window and both exports: the distance-height (L-H)
/// profiles of the base and edited TINs, whether a TIN touches the section, the L intervals
/// that the polygons of a geographic-data group cover and the L positions where the
/// geographic-data polylines cross it.
///
/// L is the signed plan distance from S (`signedL`): the distance |SP|, negative unless the
/// product (P − S)·(E − S) taken along the axis on which the two differ most (x on a tie)
/// is positive; so L grows towards E and is negative behind S, whatever the direction in
/// which the section was drawn, and P = S gives −0.0.
///
/// Extension. Where asked, the segment used is S' = 2S − E to E' = 2E − S: the section
/// lengthened by its own length beyond each end. L is still measured from S.
///
/// Profile (`buildLhTable`): a row at S' and one at E' where the TIN holds them, and one row
/// for every TIN edge that the segment S'–E' meets, at the crossing point with its
/// elevation interpolated along the edge from the end that comes first by x, then y (so
/// that the same triangles give the same rows whichever way their edges run, as after a
/// reopen); rows ascend by L. Rows of one L keep the order of collection, but for a row on an
/// edge whose triangles all lie before the crossing (towards S), which comes first, and one on
/// an edge whose triangles all lie after it, which comes last: at a vertical step (two sheets
/// of triangles meeting over one another, as a merged surface leaves along its rim) the
/// profile climbs or drops in the order the section meets the two sheets.
/// Nothing is merged: a crossing at a vertex gives one row per
/// edge met there, and an end on an edge gives an end row and a crossing row. An edge
/// parallel to the section (|cross product| at most 1e-12 times the product of the two
/// lengths) gives no row; its ends come from the edges beside it. A null or empty TIN, a
/// section with S = E or with a coordinate that is not finite give no rows; every row is
/// finite and enabled. Cost: the TIN's edge query along the segment (its triangle index),
/// then O(k log k) for k crossings.
///
/// Geographic data. `polygonLIntervals` walks the polygons of every geographic-data group
/// of the given internal name, the last polygon of the last such group first, and lists,
/// for each polygon that the unextended section enters, the (smaller, larger) L of each
/// piece of the section inside it. `polylineIntersectionLs` fills, for every polyline of
/// every group, the L of its crossings with the extended section in GEOS's order (an empty
/// list for a polyline that misses). Polygons of fewer than 3 vertices, polylines of fewer
/// than 2 and items whose GEOS operation throws are skipped.
///
/// The base and edited TINs and the geographic data are reached through the edit-mode root,
/// the section's grandparent; without it (a section outside a project) they count as
/// empty.
///
/// Project file. The group writes one element "CrossSection" per section; the section
/// writes "name", "startX", "startY", "endX", "endY" into it (the doubles in a form that
/// reads back bit for bit). Loading reads the same attributes (a missing one gives an empty
/// name or 0) and sets the caption to the name. The group names the item's file
/// "crosssection<i>.png" by its position before every load and save; nothing is written
/// under that name, and a file of that name is neither read nor packed.
///
/// Owned by its group (or by the undo command that holds it while detached); owns its
/// controller (`CrossSectionItemController`, which owns the section's window) and its
/// view (`CrossSectionItemView`).
class CrossSectionItem : public mvc::core::ModelItem {
    Q_OBJECT
public:
    /// Polygon items that the section enters, each with the (smaller, larger) L of every
    /// piece of the section inside it.
    using PolygonLIntervals =
        std::vector<std::pair<GeoDataPolygonItem*, std::vector<std::pair<double, double>>>>;
    /// The L of the crossings of polyline items with the extended section, in GEOS's order.
    using PolylineLs = std::unordered_map<GeoDataPolylineItem*, std::vector<double>>;

    /// A section named `name` from `start` to `end` (x and y only). The row is appended under
    /// `parent`'s row (see `ModelItem`).
    CrossSectionItem(const QString& name, const tin::core::Point& start,
                     const tin::core::Point& end, mvc::core::ModelItem* parent);
    /// An item for loading: empty name, S = E = (0, 0).
    explicit CrossSectionItem(mvc::core::ModelItem* parent);
    ~CrossSectionItem() override;

    QString name() const;
    /// Sets the name only (the caption is the browser row's business).
    void setName(const QString& name);

    tin::core::Point startPoint() const;
    tin::core::Point endPoint() const;
    double startX() const;
    double startY() const;
    double endX() const;
    double endY() const;
    /// S and E, start first.
    std::vector<tin::core::Point2D> path() const;
    /// S becomes the first element, E the last (elevations 0); `path` must not be empty.
    void setPath(const std::vector<tin::core::Point2D>& path);
    /// Names the item's file "crosssection<index>.png".
    void setFilenameByIndex(int index);

    std::vector<CrossSectionLhTableRow> buildLhTable(const tin::core::Tin* tin, bool extend) const;
    /// The profile of the edited TIN.
    std::vector<CrossSectionLhTableRow> currentLhTable(bool extend) const;
    /// The profile of the base TIN.
    std::vector<CrossSectionLhTableRow> baseLhTable(bool extend) const;
    double signedL(const tin::core::Point2DI& point) const;
    /// The two-point polyline from the (extended) start to the (extended) end.
    tin::core::Polyline polyline(bool extend) const;
    /// Whether some triangle of `tin` meets the unextended section; false for a null TIN and
    /// a section with S = E.
    bool intersectsTin(const tin::core::Tin* tin) const;
    /// The polygons of the geographic-data groups named `groupName` (internal name) that the
    /// unextended section enters, the last polygon of the last group first.
    PolygonLIntervals polygonLIntervals(const QString& groupName) const;
    /// Clears `result`, then gives every polyline of the geographic data its crossings with
    /// the extended section (an empty list for one that misses).
    void polylineIntersectionLs(PolylineLs* result) const;

    QString itemTypeName() const override;
    /// The box spanned by S and E.
    QRectF myBoundingBox() const override;

    CrossSectionItemController* controller() const;

protected:
    void doLoadFromProjectMainFile(const QDomElement& element) override;
    void doSaveToProjectMainFile(QXmlStreamWriter* writer) override;
    /// False: the section's file is only named.
    bool keepsExternalData() const override;
    mvc::core::ModelItemView* buildView() const override;
    mvc::core::ModelItemController* buildController() const override;

private:
    /// S and E, or S' and E' with `extend`.
    std::pair<tin::core::Point, tin::core::Point> ends(bool extend) const;
    /// S = E, or a coordinate that is not finite: a section that cuts nothing.
    bool isDegenerate() const;
    EditModeMainWindowModelRootItem* rootItem() const;

    guimisc::xml::StringContainer m_name;
    tin::core::Point m_start;
    tin::core::Point m_end;
};

} // namespace varnel
