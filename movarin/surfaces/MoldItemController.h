#pragma once

#include "brask/proj/ProjectItemController.h"

#include <mold/core/Mold.h>

#include <QMenu>

#include <memory>

class QAction;
class QKeyEvent;
class QMouseEvent;
class QWheelEvent;

namespace guimisc::helper {
class SelectionHelper;
}

namespace varnel {

class DetailView;
class MoldItem;
class MoldItemLhTableModel;

/// The mold editor of one mold item: it shapes the mold with the mouse in the detail view
/// that shows the item, through a chain of tools (nested selection helpers), each built from
/// the one before and handing on its state.
///
/// All edits go to the tools' working copy of the mold; a gesture that ends
/// (`finishSelection`) first announces a defined mold (`handleMoldDefinition`: the actions
/// are enabled and the detail view emits `moldDefined()`), then writes the working copy back
/// into the item. The L-H table edits the working copy directly and calls `update()`.
///
/// Until a dialog loads a mold (`loadMold`) or starts a definition (`startDefinition`) the
/// tool does nothing (`VoidSelectionHelper`): the Mold Browser's preview shows an item whose
/// editor is never started.
///
/// Messages go to warning boxes with the item's detail view as parent; the tools' own
/// exceptions ("Empty MoldItem.") reach the detail view, which shows them. The controller
/// is made by `MoldItem::controller()` and owned by the item; it owns its tool and menu.
class MoldItemController : public mvc::proj::ProjectItemController {
    Q_OBJECT
public:
    class SelectionHelper;
    class VoidSelectionHelper;
    class WaitingSelectionHelper;
    class PointsInRectangleSelectionHelper;
    class TranslationSelectionHelper;
    class AddPointSelectionHelper;
    class LhSelectionHelper;

    explicit MoldItemController(MoldItem* item);
    ~MoldItemController() override;

    /// Whether the first `count` offsets (at least two) run strictly one way: every step
    /// has the sign of the first, and none is zero or not a number.
    static bool isStrictlyMonotonic(const std::vector<double>& l, std::size_t count);

    MoldItem* moldItem() const { return m_item; }

    /// The working copy becomes the points, base point and edit type of `item`; the
    /// selection is emptied and the editor waits for the user, with both actions enabled.
    void loadMold(const MoldItem& item);
    /// The working copy is emptied and takes `type`; the editor defines a new mold point by
    /// point, with both actions disabled until the definition ends.
    void startDefinition(mold::core::Mold::EditType type);
    /// The snapping steps of the tools (metres).
    void setGridWidth(double x, double y);
    /// Lets `model` show and edit the working copy.
    void bindTableModel(MoldItemLhTableModel* model);

    void keyPressEvent(QKeyEvent* event, DetailView* view);
    void mouseDoubleClickEvent(QMouseEvent* event, DetailView* view);
    void mouseMoveEvent(QMouseEvent* event, DetailView* view);
    void mousePressEvent(QMouseEvent* event, DetailView* view);
    void mouseReleaseEvent(QMouseEvent* event, DetailView* view);
    void wheelEvent(QWheelEvent* event, DetailView* view);

    /// Makes `tool` (built from the current one) current: the old tool's overlays leave the
    /// item view's list and the old tool is deleted; the new one's join the list. Nothing
    /// when `tool` is current. Does not repaint.
    void setSelectionHelper(guimisc::helper::SelectionHelper* tool);
    SelectionHelper* selectionHelper() const { return m_selectionHelper.get(); }

    QMenu* contextMenu() { return &m_contextMenu; }
    QAction* addPointAction() const { return m_addPointAction; }
    QAction* deletePointsAction() const { return m_deletePointsAction; }

public slots:
    /// Enables both actions and makes the item's detail view emit `moldDefined()`.
    void handleMoldDefinition();
    /// The working copy was edited from outside (the table): it is written back into the
    /// item and the selection is refreshed.
    void update();
    /// The next click inserts one point (the detail view takes the keyboard focus).
    void addPoint();
    /// Deletes the selected points, leaving at least two.
    void deletePoints();

private:
    DetailView* detailView() const;
    /// The current tool's gesture ends: written back, then the detail view repaints.
    void finishGesture();

    MoldItem* m_item;
    QMenu m_contextMenu;
    QAction* m_addPointAction;
    QAction* m_deletePointsAction;
    std::unique_ptr<SelectionHelper> m_selectionHelper;
};

} // namespace varnel
