#include "movarin/sections/CrossSectionGroupItemController.h"

#include "movarin/sections/CrossSectionGroupItemControllerAttachChildAtFrontCommand.h"
#include "movarin/sections/CrossSectionGroupItemControllerAttachChildrenAtFrontCommand.h"
#include "movarin/sections/CrossSectionGroupItemControllerPathSelectionHelper.h"
#include "movarin/sections/CrossSectionGroupItemControllerVoidSelectionHelper.h"
#include "movarin/sections/CrossSectionItem.h"
#include "movarin/sections/CrossSectionItemController.h"

#include "brask/core/Model.h"
#include "brask/util/AutoFitter.h"

#include <common/exception/RuntimeException.h>
#include <guimisc/LastIODirectory.h>
#include <guimisc/UserDialogs.h>

#include <QAction>
#include <QIcon>
#include <QMainWindow>
#include <QMenu>
#include <QToolBar>


namespace varnel {

// Shorthand inside the bodies; each definition names the class in full, since the
// translation tools do not see through an alias to find a text's class.
using Self = CrossSectionGroupItemController;

CrossSectionGroupItemController::CrossSectionGroupItemController(const CrossSectionGroupItem* item)
    : GuardedItemControllerT(item, new VoidSelectionHelper(this)),
      m_addAction(new QAction(tr("Add"), this)),
      m_addMenuAction(new QAction(tr("Cross section"), this)),
      m_importAction(
          new QAction(QIcon(QStringLiteral(":/images/iconImport.png")), tr("Import"), this)),
      m_importMenuAction(new QAction(QIcon(QStringLiteral(":/images/iconImport.png")),
                                     tr("Cross sections"), this)),
      m_deleteAllAction(new QAction(QIcon(QStringLiteral(":/images/iconDeleteItem.png")),
                                    tr("Delete all"), this))
{
    connect(m_addAction, &QAction::triggered, this, &Self::lineSelect);
    connect(m_addMenuAction, &QAction::triggered, this, &Self::lineSelect);
    connect(m_importAction, &QAction::triggered, this, &Self::importCSV);
    connect(m_importMenuAction, &QAction::triggered, this, &Self::importCSV);
    connect(m_deleteAllAction, &QAction::triggered, this, &Self::deleteAllChildItems);
}

CrossSectionGroupItemController::~CrossSectionGroupItemController() = default;

void CrossSectionGroupItemController::addCustomMenuItems(QMenu* menu)
{
    menu->addAction(m_addAction);
    menu->addAction(m_importAction);
    menu->addSeparator();
    menu->addAction(m_deleteAllAction);
}

void CrossSectionGroupItemController::addToolBarButtons(QToolBar* toolBar)
{
    toolBar->addAction(m_importAction);
}

void CrossSectionGroupItemController::appendAddActionToMenu(QMenu* menu) const
{
    menu->addAction(m_addMenuAction);
}

void CrossSectionGroupItemController::addCrossSection(const tin::core::Point& start,
                                                      const tin::core::Point& end)
{
    const QString name =
        tr("Cross section %1").arg(static_cast<int>(item()->childItems().size()) + 1);
    CrossSectionItem* section = item()->buildCrossSection(name, start, end);
    pushAttachChildAtFrontCommand(tr("Add new cross section data"), section);
    item()->expandBrowserItem();
    section->selectBrowserItem();
}

void CrossSectionGroupItemController::lineSelect()
{
    guarded([&] {
        if (mvc::core::Model* model = item()->model()) {
            model->select(item());
        }
        auto current = dynamic_cast<SelectionHelper*>(selectionHelper());
        if (current) {
            updateSelectionHelper(new PathSelectionHelper(*current));
        } else {
            VoidSelectionHelper fresh(this);
            updateSelectionHelper(new PathSelectionHelper(fresh));
        }
    });
}

void CrossSectionGroupItemController::deleteAllChildItemsSilently()
{
    guarded([&] {
        for (CrossSectionItem* section : item()->crossSections()) {
            section->controller()->closeCrossSectionWindow();
        }
        GuardedItemControllerT::deleteAllChildItemsSilently();
    });
}

void CrossSectionGroupItemController::importCSV()
{
    guarded([&] {
        const QString path = guimisc::UserDialogs::getOpenFileName(
            mainWindow(), tr("Import cross sections"), guimisc::LastIODirectory::get(),
            tr("CSV file (*.csv)"));
        if (path.isEmpty()) {
            return;
        }
        try {
            const std::vector<CrossSectionItem*> sections = item()->importCsv(path);
            if (sections.empty()) {
                guimisc::UserDialogs::warning(mainWindow(), tr("Warning"),
                                              tr("No crosss section data is found."));
                return;
            }
            mvc::util::AutoFitter fitter(item()->model());
            pushUpdateViewCommand(
                new AttachChildrenAtFrontCommand(tr("Add new cross sections"), item(), sections));
            item()->expandBrowserItem();
            sections.back()->selectBrowserItem();
            guimisc::LastIODirectory::setFromAbsoluteFileName(path);
        } catch (const common::exception::RuntimeException& e) {
            guimisc::UserDialogs::critical(
                mainWindow(), tr("Error"),
                tr("Error occured while loading %1 : %2")
                    .arg(path, QString::fromLocal8Bit(e.what())));
        }
    });
}

QUndoCommand*
CrossSectionGroupItemController::attachChildAtFrontCommand(const QString& text,
                                                           mvc::core::ModelItem* child)
{
    return new AttachChildAtFrontCommand(text, child, item());
}

} // namespace varnel
