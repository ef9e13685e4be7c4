#pragma once

#include "brask/core/ModelItemControllerT.h"
#include "brask/util/SelectionHelperT.h"
#include "orlin/core/Rect.h"

#include <QColor>
#include <QPoint>

#include <optional>

class QAction;
class QEventLoop;
class QMenu;
class QToolBar;

namespace varnel {

class CoordinatePointsGroupItem;

/// The controller of "Coordinate point data": imports point files into new point-set items
/// ("Import" in the context menu and on the tool bar, "Coordinate points data" in the Add
/// menu) and deletes all of them ("Delete all").
///
/// An import (`importData`) asks for the file, reads it through the group's
/// `importCoordinatePoints` and attaches the new item at the front of the group with one
/// undo entry, coloured from a palette of twelve by the number of items present. Reading,
/// attaching and the first paint of the new points run under the wait cursor, which is
/// down while a dialog or the region wait asks the user. For JPGIS
/// GML the group calls back here: the main view shows the file's extent
/// (`showDataExtent`), the setting dialog asks for the step (`askStep`), and the user drags
/// the region to import on the main view (`waitForRegion`).
///
/// The region wait. The group is selected and checked (the main view hands its mouse input
/// only to the selected, checked item), and a local event loop runs until the rectangle
/// tool is replaced: by any mouse release on the main view (the region is the rectangle
/// dragged with the left button, none after a release without a drag: the whole file), by
/// Escape, by selecting another item or unchecking the group (both cancel), or by the
/// project closing, which deletes this controller (the import then ends silently). The
/// import actions are disabled from the file choice to the end of the import, so no second
/// import starts inside the first. Nothing leaves `importData`: every failure is shown in
/// the "Error" box.
///
/// Owned by the group; owns its actions (Qt children) and its active tool.
class CoordinatePointsGroupItemController
    : public mvc::core::ModelItemControllerT<CoordinatePointsGroupItem> {
    Q_OBJECT
public:
    /// The state the tools hand on: the last left press (widget pixels), the data extent and
    /// the region (world coordinates; a rectangle is shown while it is valid), and whether
    /// the rectangle tool is active (`isSelecting`) or was left by a cancel. A tool made
    /// from another copies its state.
    class SelectionHelper
        : public mvc::util::SelectionHelperT<CoordinatePointsGroupItemController> {
    public:
        explicit SelectionHelper(CoordinatePointsGroupItemController* controller);
        SelectionHelper(const SelectionHelper& other);
        ~SelectionHelper() override;

        bool isSelecting() const;
        bool isCancelled() const;
        const QPoint& pressPosition() const;
        const tin::core::Rect& dataExtent() const;
        void setDataExtent(const tin::core::Rect& extent);
        const tin::core::Rect& region() const;
        /// Marks the state cancelled and drops the region.
        void cancel();

    protected:
        QPoint m_pressPosition;
        tin::core::Rect m_dataExtent;
        tin::core::Rect m_region;
        bool m_isSelecting = false;
        bool m_isCancelled = false;
    };

    /// Idle: no interaction.
    class VoidSelectionHelper : public SelectionHelper {
    public:
        explicit VoidSelectionHelper(CoordinatePointsGroupItemController* controller);
        explicit VoidSelectionHelper(const SelectionHelper& other);
    };

    /// The region tool: starts with no region and no extent shown, draws both (the extent
    /// black with a black fill of alpha 40, the region black with a magenta fill of alpha 40);
    /// a left press anchors the region, moves with it pressed span it, any release ends the
    /// tool, and Escape ends it cancelled without a region.
    class RectangleSelectionHelper : public SelectionHelper {
    public:
        explicit RectangleSelectionHelper(const SelectionHelper& other);

        guimisc::helper::SelectionHelper* keyPressEvent(QKeyEvent* event,
                                                        mvc::core::View* view) override;
        guimisc::helper::SelectionHelper* mouseMoveEvent(QMouseEvent* event,
                                                         mvc::core::View* view) override;
        guimisc::helper::SelectionHelper* mousePressEvent(QMouseEvent* event,
                                                          mvc::core::View* view) override;
        guimisc::helper::SelectionHelper* mouseReleaseEvent(QMouseEvent* event,
                                                            mvc::core::View* view) override;

    private:
        bool m_isPressed = false;
    };

    /// How the region wait ended.
    enum class RegionWait { Drawn, Cancelled, Closed };

    explicit CoordinatePointsGroupItemController(const CoordinatePointsGroupItem* item);
    ~CoordinatePointsGroupItemController() override;

    /// "Import", a separator, "Delete all".
    void addCustomMenuItems(QMenu* menu) override;
    /// "Import" and "Delete all".
    void addToolBarButtons(QToolBar* toolBar) override;
    /// "Coordinate points data".
    void appendAddActionToMenu(QMenu* menu) const override;
    void handleStandardItemChange() override;
    void keyPressEvent(QKeyEvent* event, mvc::core::View* view) override;
    void mouseReleaseEvent(QMouseEvent* event, mvc::core::View* view) override;

    QAction* importAction() const;
    QAction* addAction() const;
    QAction* deleteAllAction() const;
    SelectionHelper* currentSelectionHelper() const;
    /// True while `waitForRegion` runs.
    bool isWaitingForRegion() const;

    /// The colour of the import made when `index` items are present: cyan, magenta,
    /// yellow, red, green, blue, darkRed, darkGreen, darkBlue, darkCyan, darkMagenta,
    /// darkYellow, then again from cyan.
    static QColor paletteColor(int index);

    /// Steps of a GML import that need the user, called by the group while an import runs.
    /// Shows `extent` on the main view, fitted with a margin (the view shows the extent's
    /// width and height divided by 0.8).
    void showDataExtent(const tin::core::Rect& extent);
    /// The step chosen in the setting dialog; nothing when it was cancelled.
    std::optional<int> askStep();
    /// Waits for the region as described above; after `Closed` this controller and its item
    /// are gone and the caller must touch neither. The region drawn is the current tool's.
    RegionWait waitForRegion();

public slots:
    /// The user command: imports one file into a new item (see the class comment).
    void importData();

protected:
    /// Cancels a running region wait: another item's row was selected.
    void doInformDeselection(mvc::core::View* view) override;

private:
    void setImportEnabled(bool enabled);
    /// Ends a running region wait once the rectangle tool has been replaced.
    void endRegionWaitWhenDone();
    void cancelRegionWait();

    QAction* m_importAction;
    QAction* m_addAction;
    QAction* m_deleteAllAction;
    QEventLoop* m_regionWait = nullptr;
    bool m_isImporting = false;
};

} // namespace varnel
