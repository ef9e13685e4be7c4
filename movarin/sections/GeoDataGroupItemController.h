#pragma once

#include "movarin/sections/GeoDataGroupItem.h"
#include "movarin/sections/GeoDataGroupItemControllerAttachChildAtFrontCommand.h"
#include "movarin/sections/GeoDataGroupItemControllerExportTypeSelectDialog.h"

#include "brask/core/ModelItemControllerT.h"

#include <QString>

#include <set>

class QAction;

namespace varnel {

/// What the user does with a geographic-data group from its right-click menu: add a
/// polygon or polyline and define it by clicking, import polygons or polylines from a
/// shapefile, export them to one, delete all children.
///
/// Adding. The new item is named "Polygon<n>" ("Polyline<n>") with the smallest n that no
/// child's caption has, goes to the front of the group as one undo entry ("Add new
/// polygon"), is selected (so its controller waits for the first point) and tells how a
/// definition goes. Groups with values offer no polylines.
///
/// Export. A group without polygons and polylines writes nothing; one with both asks which
/// kind (`ExportTypeSelectDialog`). Polygons of fewer than 3 and polylines of fewer than 2
/// vertices cannot be written; they are skipped and a Warning counts them. The file name
/// must be ASCII-only (else a Warning, and the dialog opens again). The shapefile gets the
/// text field "Name" (the caption) and, for a group with values, "Value" (an integer of
/// width 10, or a real number of width 40 with 6 decimals), one record per item in child
/// order. A file that cannot be made or written gives the Error "File open error" and
/// leaves the earlier files of that name as they were; success goes to the status bar.
///
/// Import. Only polygon and polyline shapefiles, and polylines only into groups without
/// values. The import wizard chooses names (a column, or automatic names as for adding),
/// values (a column, or the group's value editor, whose value is read before the wizard
/// goes) and the records. Records with fewer than 3 (polygons) or 2 (polylines) distinct
/// vertices are skipped; records of several parts are joined into one vertex list; one
/// Warning afterwards counts both. Polygons of a group without values get the value 0. The
/// records are read whole before any item is added; then each goes to the front of the
/// group in record order, so the last record ends up first. An import is no undo command:
/// it clears the undo stack, marks the project modified and repaints. A file that cannot be
/// read gives the Error "File open error" and adds nothing.
///
/// The group announces `geoDataPolylineChanged` whenever polylines join or leave it: the
/// attach command on redo and undo, "Delete all" on redo and undo, and an import of
/// polylines. A failure in any command goes to the "Error" box. Owned by the group; owns
/// its actions.
class GeoDataGroupItemController : public mvc::core::ModelItemControllerT<GeoDataGroupItem> {
    Q_OBJECT
public:
    using AttachChildAtFrontCommand = GeoDataGroupItemControllerAttachChildAtFrontCommand;
    using ExportTypeSelectDialog = GeoDataGroupItemControllerExportTypeSelectDialog;

    explicit GeoDataGroupItemController(const GeoDataGroupItem* item);
    ~GeoDataGroupItemController() override;

    /// "&Import...", "Add &Polygon", "Add &Polyline" (groups without values), "&Export...",
    /// "&Delete all...", with separators between the kinds.
    void addCustomMenuItems(QMenu* menu) override;

    /// The first "Polygon<n>" (n = 1, 2, ...) that no child has as caption.
    QString nextPolygonName() const;
    QString nextPolylineName() const;

    QAction* importAction() const { return m_importAction; }
    QAction* exportAction() const { return m_exportAction; }
    QAction* deleteAllAction() const { return m_deleteAllAction; }
    QAction* addPolygonAction() const { return m_addPolygonAction; }
    QAction* addPolylineAction() const { return m_addPolylineAction; }

public slots:
    void addPolygon();
    void addPolyline();
    void importGeoData();
    void exportGeoData();
    void deleteAllChildItemsSilently() override;

protected:
    QUndoCommand* attachChildAtFrontCommand(const QString& text,
                                            mvc::core::ModelItem* child) override;

private:
    /// Attaches the item that `create` makes at the front (one undo entry), selects it and
    /// tells how a definition goes.
    template <class Create>
    void addShape(Create create, const QString& undoText);
    /// Asks for a file name until it is ASCII-only or the user cancels (empty).
    QString selectFileName(bool forExport);
    void exportShapes(bool polylines);
    void importShapes(const QString& path);
    /// Runs `action`; a failure goes to the "Error" box.
    template <class Action>
    void guarded(Action action);
    void showStatus(const QString& message) const;
    std::set<QString> captions() const;

    QAction* m_importAction;
    QAction* m_exportAction;
    QAction* m_deleteAllAction;
    QAction* m_addPolygonAction;
    QAction* m_addPolylineAction;
};

} // namespace varnel
