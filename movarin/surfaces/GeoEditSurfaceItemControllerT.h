#pragma once

#include "movarin/surfaces/GeoEditSurfaceItemControllerDeleteMeCommand.h"
#include "movarin/surfaces/GeoEditSurfaceItemI.h"

#include "movarin/shell/GuardedItemControllerT.h"

#include "brask/core/Model.h"
#include "brask/core/ObjectBrowserView.h"

#include <guimisc/UserDialogs.h>

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QStandardItem>

namespace varnel {

/// What both kinds of GeoEdit surface share in their controllers: the name is edited in the
/// object browser ("Edit name" opens the row's editor; the edited text becomes the name),
/// the surface's place in the stack is fixed (the browser's "Move up" and "Move down" are
/// disabled while its menu is up), and it is deleted only when no newer surface took out one
/// of its added triangles; otherwise a "Warning" box says "%1 is overlapped with %2." and
/// nothing happens. The deletion is one undo entry (`DeleteMeCommand`) that swaps the
/// surface's effect out of the edited TIN and back in. What the main-view tools throw ends
/// in an "Error" box (see `GuardedItemControllerT`).
///
/// `Item` is a `GeoEditSurfaceItemI`. The controller owns its action; the item owns the
/// controller. Texts are those of the surface interface's translation context.
template <class Item>
class GeoEditSurfaceItemControllerT : public GuardedItemControllerT<Item> {
public:
    using DeleteMeCommand = GeoEditSurfaceItemControllerDeleteMeCommand;

    explicit GeoEditSurfaceItemControllerT(const Item* item)
        : GeoEditSurfaceItemControllerT(item, nullptr)
    {
    }

    QAction* editNameAction() const { return m_editNameAction; }

    void addCustomMenuItems(QMenu* menu) override
    {
        menu->addAction(m_editNameAction);
        if (mvc::core::ObjectBrowserView* browser = objectBrowser()) {
            browser->moveUpAction()->setEnabled(false);
            browser->moveDownAction()->setEnabled(false);
        }
    }

    void handleStandardItemChange() override
    {
        if (QStandardItem* row = this->item()->browserItem()) {
            this->item()->setName(row->text());
        }
    }

    void deleteMe() override
    {
        if (verifyEditable()) {
            mvc::core::ModelItemController::deleteMe();
        }
    }

    /// False, after the "Warning" box, when a newer surface took out one of the surface's
    /// added triangles.
    bool verifyEditable()
    {
        GeoEditSurfaceItemI* newer = this->item()->overlappingSibling();
        if (!newer) {
            return true;
        }
        guimisc::UserDialogs::warning(this->mainWindow(), GeoEditSurfaceItemI::tr("Warning"),
                                      GeoEditSurfaceItemI::tr("%1 is overlapped with %2.")
                                          .arg(this->item()->caption(), newer->caption()),
                                      QMessageBox::Ok);
        return false;
    }

protected:
    /// Starts with `selectionHelper` (owned) as the main-view tool.
    GeoEditSurfaceItemControllerT(const Item* item, mvc::util::SelectionHelper* selectionHelper)
        : GuardedItemControllerT<Item>(item, selectionHelper),
          m_editNameAction(new QAction(GeoEditSurfaceItemI::tr("Edit name"), this))
    {
        QObject::connect(m_editNameAction, &QAction::triggered, this, [this] { editName(); });
    }

    QUndoCommand* deleteMeCommand(const QString& text) override
    {
        return new DeleteMeCommand(text, this->item());
    }

private:
    mvc::core::ObjectBrowserView* objectBrowser() const
    {
        mvc::core::Model* model = this->item()->model();
        return model ? model->objectBrowserView() : nullptr;
    }

    void editName()
    {
        QStandardItem* row = this->item()->browserItem();
        mvc::core::ObjectBrowserView* browser = objectBrowser();
        if (row && browser && row->model() == browser->model()) {
            browser->edit(row->index());
        }
    }

    QAction* m_editNameAction;
};

} // namespace varnel
