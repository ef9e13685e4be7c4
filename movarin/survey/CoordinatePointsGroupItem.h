#pragma once

#include "brask/core/ModelItem.h"

#include <QString>
#include <QStringList>

namespace varnel {

class CoordinatePointsGroupItemController;
class CoordinatePointsItem;

/// The folder of a create-mode project's imported point sets, "Coordinate point data": one
/// `CoordinatePointsItem` per imported file, newest first. Its files lie in the sub-folder
/// "coordinatePointsGroup"; it has no data of its own.
///
/// Persistence: one element "CoordinatePoints" per child in browser order, the k-th child
/// (from 1) keeping its points in "coordinatePoints<k>.tpobin"; the names are given anew
/// before every save and load, so an import at the front shifts the numbers of the others
/// at the next save.
///
/// Import (`importCoordinatePoints`, run by the controller's `importData`): comma-separated
/// point text (".tpo") or JPGIS GML elevation models (".xml", or ".zip" archives of
/// them), chosen by the file dialog's filter; under "All files" by the name's extension in
/// any case. Point text needs no coordinate system; GML is converted into the project's
/// and is thinned by a step and limited to a region the user draws. An ASCII path is read
/// in place; a path with other characters through an ASCII-named copy in the work folder.
class CoordinatePointsGroupItem : public mvc::core::ModelItem {
    Q_OBJECT
public:
    explicit CoordinatePointsGroupItem(mvc::core::ModelItem* parent);
    ~CoordinatePointsGroupItem() override;

    /// "coordinate point data".
    QString itemTypeName() const override;
    CoordinatePointsGroupItemController* controller() const;

    /// The file dialog's four filters, translated once per run: "All files", "JPGIS ZIP
    /// files", "JPGIS XML files" and "tpo files", each with its extensions in lower and
    /// upper case.
    static const QStringList& fileFilters();
    /// The filters joined for the file dialog.
    static QString fileFilterString();

    /// Reads `path` as `filter` (one of `fileFilters()`; any other counts as "All files")
    /// into a new item that is not attached: its Qt parent is the group, its row is not in
    /// the group's row. Null when nothing was read: no project, a GML file without the
    /// project's coordinate system (after the warning box), a cancelled setting dialog or
    /// region, an empty result, or the project closed during the region wait (then this
    /// group is gone). Reader failures throw (`common::exception::RuntimeException` and
    /// its kin; a GML file whose extent cannot be read counts as one).
    CoordinatePointsItem* importCoordinatePoints(const QString& path, const QString& filter);

protected:
    void doLoadFromProjectMainFile(const QDomElement& element) override;
    void doSaveToProjectMainFile(QXmlStreamWriter* writer) override;
    mvc::core::ModelItemController* buildController() const override;
};

} // namespace varnel
