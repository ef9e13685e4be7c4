#pragma once

#include "movarin/survey/CoordinatePointsBaseItem.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace tin::core {
class Point;
class PointSet;
class Tin;
} // namespace tin::core

namespace varnel {

class BreaklineItem;
class CoordinatePointsForTinItemController;

/// The one point set of a create-mode project from which its TIN is made ("Coordinate points
/// data for TIN"), with its breaklines as child items (`BreaklineItem`). Points come by
/// copying from imported sets or by clicking; breaklines are drawn by clicking points of
/// this set (see `CoordinatePointsForTinItemController`).
///
/// Storage: the points in "coordinatePointsForTin/coordinatePointsForTin.tpobin", the view
/// setting as attributes of the item's element, then one "Breakline" element per child in
/// child order, child k keeping its points in "breakline<k>.bln" beside the point file. The
/// point file is written before the breaklines and read before them (the reverse of the
/// framework's order), since a breakline file names its points by their record numbers in
/// the point file: saving renumbers the points 0 .. n-1 in file order, and loading resolves
/// record k to the point that record k was read as. Records are resolved by number, not by
/// the loaded points' ids: equal records (two points given one elevation) are read as one
/// point, which the numbers of both records then name. A point file in the text format
/// resolves numbers by the ids its reader gives.
///
/// "Create TIN" starts here (the controller stores the result): `askTinKind` asks whether
/// the TIN is to be refined, and `triangulate` rebuilds the set's breaklines from the
/// breakline items and triangulates the set over its own points, then trims the boundary
/// slivers (`BoundarySliverRemover`). The set's own breaklines are therefore those of the
/// last creation; they are not stored.
///
/// Owns its breakline items (children) and its point set (base); the breaklines share the
/// set's points. Loading reads the point file once and keeps the point of each record (8
/// bytes a record) until the breaklines have loaded.
class CoordinatePointsForTinItem : public CoordinatePointsBaseItem {
    Q_OBJECT
public:
    using PointPtr = std::shared_ptr<tin::core::Point>;

    /// The two TINs "Create TIN" makes: the plain constrained Delaunay triangulation of the
    /// points, or the refined one, which adds vertices until the angles are large enough.
    enum class TinKind { Plain, Refined };

    /// What `triangulate` runs on the set: by default
    /// `tin::util::PointSetToTin::convertCleanPointSet` with the regions' inner points, the
    /// quality pass for `refined`. Tests put a failing one in its place.
    using Triangulation = std::function<tin::core::Tin(const tin::core::PointSet&, bool refined)>;

    explicit CoordinatePointsForTinItem(mvc::core::ModelItem* parent);
    ~CoordinatePointsForTinItem() override;

    /// State, point file, then the view setting and the breaklines.
    void loadFromProjectMainFile(const QDomElement& element) override;
    /// State, sub-folder, point file, then the view setting and the breaklines.
    void saveToProjectMainFile(QXmlStreamWriter* writer) override;

    CoordinatePointsForTinItemController* controller() const;
    /// The breakline children in child order.
    std::vector<BreaklineItem*> breaklineItems() const;
    /// A new breakline child over `points` whose row is taken out of this item's row again,
    /// ready for an attach command (which owns it until it runs).
    BreaklineItem* newBreakline(const QString& caption, const std::vector<PointPtr>& points);

    /// Asks in the "Information" box whether to create the refined TIN: Yes refines, No
    /// (the default) does not, Cancel gives nothing.
    std::optional<TinKind> askTinKind() const;
    /// The TIN of the set: removes the set's breaklines, adds each segment of each breakline
    /// item in child order (a segment removes the ones added before it that it crosses, so
    /// of two crossing segments the later child's stays; a segment whose ends the set no
    /// longer holds adds nothing), triangulates and removes the boundary slivers. An empty
    /// set gives an empty TIN, as do collinear points. Throws what the triangulation throws
    /// (a refinement out of its vertex budget, say); the set then keeps the rebuilt
    /// breaklines and nothing else changed.
    ///
    /// Cost: one triangulation, O(n log n) in the points, and the sliver passes (one scan
    /// of the TIN's edges, then work along the outline); the TIN is returned without a copy.
    tin::core::Tin triangulate(TinKind kind);

    /// Replaces the triangulation `triangulate` runs for all items and returns the one it
    /// replaced; an empty function puts the default back. Test seam.
    static Triangulation setTriangulation(Triangulation triangulation);

    /// While the breaklines load: the point that record `index` of the point file was read
    /// as; null for a number that is no record (or outside a load).
    PointPtr pointOfFileRecord(int index) const;

protected:
    void doLoadFromProjectMainFile(const QDomElement& element) override;
    void doSaveToProjectMainFile(QXmlStreamWriter* writer) override;
    mvc::core::ModelItemView* buildView() const override;
    mvc::core::ModelItemController* buildController() const override;

    /// Reads the point file and keeps the point of each of its records for the breaklines.
    void loadExternalData(const std::string& path) override;

private:
    /// The points of a text point file by record number, from the ids its reader gave.
    std::vector<PointPtr> recordsOfTextFile() const;
    void rebuildBreaklines();

    std::vector<PointPtr> m_fileRecords;
};

} // namespace varnel
