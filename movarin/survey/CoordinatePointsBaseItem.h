#pragma once

#include "brask/core/ModelItem.h"

#include <memory>
#include <string>
#include <vector>

class QDomElement;
class QXmlStreamWriter;

namespace tin::core {
class Point;
class PointSet;
}

namespace varnel {

class CoordinatePointsBaseItemController;
class CoordinatePointsBaseItemView;

/// A model item that holds survey points: one `tin::core::PointSet`, owned, kept in a
/// binary point file of its own in the project's work folder ("coordinatePointsBase.tpobin"
/// unless a subclass names another), painted by `CoordinatePointsBaseItemView` and edited
/// through `CoordinatePointsBaseItemController`. The imported point sets and the points for
/// the TIN derive from it; they build the controller (`buildController`) and write the view
/// setting on their own element through `saveViewSetting` and `loadViewSetting`.
///
/// Saving writes the points in `PointSet::allPoints()` order and renumbers them 0 .. n-1 in
/// that order first, so the ids after loading (file order) are the ids the file was written
/// with; the count is written as -1 (readers take it from the file size). A failed write
/// throws (`common::exception::RuntimeException` naming the file, the partial file removed),
/// so the project's save fails instead of packing a short file. Loading reads the binary
/// file and, when that reader finds no binary point file, the same file as comma-separated
/// text; any other failure propagates. The loaded set replaces the item's set whole and its
/// spatial index is built at once, so that the first repaint does not pay for it.
///
/// Extent: the points' minimum and maximum x and y; (0, 0, 0, 0) for no points. The set's
/// own bounding rectangle is cached by the set, so this is O(1) between changes.
class CoordinatePointsBaseItem : public mvc::core::ModelItem {
    Q_OBJECT
public:
    /// Takes ownership of `pointSet` (null: an empty set). Caption and options go to the
    /// `ModelItem` constructor.
    CoordinatePointsBaseItem(const QString& caption, tin::core::PointSet* pointSet,
                             mvc::core::ModelItem* parent, int options);
    ~CoordinatePointsBaseItem() override;

    /// "coordinate point data".
    QString itemTypeName() const override;
    QRectF myBoundingBox() const override;

    /// The points; the controller and the view read and change them in place. Never null.
    /// The object is replaced by loading: do not keep the pointer across a load.
    tin::core::PointSet* pointSet() const;
    /// The controller as the point-set controller, null when a subclass builds another
    /// kind (or none).
    CoordinatePointsBaseItemController* controller() const;
    /// The item view (built on first use).
    CoordinatePointsBaseItemView* view() const;

    /// Builds the point set's spatial index now, when it has none: before a tool that picks
    /// the points nearest to the mouse starts, so that its picks are local searches. Loading
    /// and importing leave it unbuilt (painting a large part of the set walks the points).
    /// Nothing for an empty set.
    void prepareSpatialIndex() const;

protected:
    void loadExternalData(const std::string& path) override;
    void saveExternalData(const std::string& path) override;
    mvc::core::ModelItemView* buildView() const override;

    /// Writes the view setting's attributes ("color", "radius", "useColorByValue") on the
    /// element the writer has open; call it before writing child elements.
    void saveViewSetting(QXmlStreamWriter* writer) const;
    /// Reads the view setting from `element`; a missing or malformed attribute keeps the
    /// view's current value (its default when nothing was loaded before).
    void loadViewSetting(const QDomElement& element);

    /// The point file at `path`: binary when it opens with the binary file's title (a damaged
    /// one then throws) or reads as binary, else point text. `records`, when given, receives
    /// the point of each record of a binary file in file order; it is emptied for text.
    static tin::core::PointSet readPointFile(const std::string& path,
                                             std::vector<std::shared_ptr<tin::core::Point>>* records);

    /// Replaces the point set whole (null: an empty set).
    void replacePointSet(std::unique_ptr<tin::core::PointSet> pointSet);

private:
    std::unique_ptr<tin::core::PointSet> m_pointSet;
};

} // namespace varnel
