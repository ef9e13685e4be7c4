#include "movarin/survey/BackgroundImageGroupItemController.h"

#include "movarin/survey/BackgroundImageItem.h"

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

#include <exception>

namespace varnel {

// Shorthand inside the bodies; each definition names the class in full, since the
// translation tools do not see through an alias to find a text's class.
using Self = BackgroundImageGroupItemController;

BackgroundImageGroupItemController::BackgroundImageGroupItemController(
    const BackgroundImageGroupItem* item)
    : ModelItemControllerT(item),
      m_importAction(
          new QAction(QIcon(QStringLiteral(":/images/iconImport.png")), tr("Import"), this)),
      m_addAction(new QAction(QIcon(QStringLiteral(":/images/iconImport.png")),
                              tr("Background image"), this)),
      m_deleteAllAction(
          new QAction(QIcon(QStringLiteral(":/images/iconDeleteItem.png")), tr("Delete all"), this))
{
    connect(m_importAction, &QAction::triggered, this, &Self::importImage);
    connect(m_addAction, &QAction::triggered, this, &Self::importImage);
    connect(m_deleteAllAction, &QAction::triggered, this, &Self::deleteAllChildItems);
}

BackgroundImageGroupItemController::~BackgroundImageGroupItemController() = default;

void BackgroundImageGroupItemController::addCustomMenuItems(QMenu* menu)
{
    menu->addAction(m_importAction);
    menu->addSeparator();
    menu->addAction(m_deleteAllAction);
}

void BackgroundImageGroupItemController::addToolBarButtons(QToolBar* toolBar)
{
    toolBar->addAction(m_importAction);
    toolBar->addAction(m_deleteAllAction);
}

void BackgroundImageGroupItemController::appendAddActionToMenu(QMenu* menu) const
{
    menu->addAction(m_addAction);
}

void BackgroundImageGroupItemController::importImage()
{
    try {
        const QString path = guimisc::UserDialogs::getOpenFileName(
            mainWindow(), tr("Add background image"), guimisc::LastIODirectory::get(),
            tr("Image files(*.jpg *.jpeg *.png *.tif)"));
        if (path.isEmpty()) {
            return;
        }
        BackgroundImageItem* image = nullptr;
        try {
            image = item()->buildImageItem(path);
        } catch (const common::exception::RuntimeException& e) {
            guimisc::UserDialogs::critical(
                mainWindow(), tr("Error"),
                tr("Error occured while loading %1 : %2").arg(path, QString::fromLocal8Bit(e.what())));
            return;
        }
        {
            mvc::util::AutoFitter fitter(item()->model());
            pushAttachChildAtFrontCommand(tr("Add new background image"), image);
        }
        item()->expandBrowserItem();
        image->selectBrowserItem();
        guimisc::LastIODirectory::setFromAbsoluteFileName(path);
    } catch (const std::exception& e) {
        guimisc::UserDialogs::critical(mainWindow(), tr("Error"), QString::fromLocal8Bit(e.what()));
    }
}

} // namespace varnel
