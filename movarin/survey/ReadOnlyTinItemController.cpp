#include "movarin/survey/ReadOnlyTinItemController.h"

#include "movarin/survey/ReadOnlyTinItem.h"
#include "movarin/survey/TinExporter.h"

#include <guimisc/LastIODirectory.h>
#include <guimisc/UserDialogs.h>
#include <guimisc/exception/QStringRuntimeError.h>

#include <QAction>
#include <QDir>
#include <QIcon>
#include <QMainWindow>
#include <QMenu>
#include <QToolBar>

#include <exception>

namespace varnel {

ReadOnlyTinItemController::SetTinCommand::SetTinCommand(const QString& text,
                                                         const tin::core::Tin& tin,
                                                         ReadOnlyTinItem* item)
    : QUndoCommand(text), m_newTin(tin), m_item(item)
{
}

ReadOnlyTinItemController::SetTinCommand::~SetTinCommand() = default;

void ReadOnlyTinItemController::SetTinCommand::redo()
{
    if (!m_item) {
        return;
    }
    if (m_heldTin.empty()) {
        m_item->replaceTin(new tin::core::Tin(m_newTin), m_heldTin);
    } else {
        m_item->setTin(new tin::core::Tin(m_newTin));
    }
}

void ReadOnlyTinItemController::SetTinCommand::undo()
{
    if (m_item) {
        m_item->setTin(new tin::core::Tin(m_heldTin));
    }
}

ReadOnlyTinItemController::ReadOnlyTinItemController(const ReadOnlyTinItem* item)
    : mvc::core::ModelItemControllerT<ReadOnlyTinItem>(item),
      m_exportAction(new QAction(QIcon(QStringLiteral(":/images/iconExport.png")), tr("Export"),
                                 this))
{
    connect(m_exportAction, &QAction::triggered, this, &ReadOnlyTinItemController::exportTin);
}

ReadOnlyTinItemController::~ReadOnlyTinItemController() = default;

void ReadOnlyTinItemController::addCustomMenuItems(QMenu* menu)
{
    menu->addAction(m_exportAction);
    menu->addSeparator();
}

void ReadOnlyTinItemController::addToolBarButtons(QToolBar* toolBar)
{
    toolBar->addAction(m_exportAction);
    toolBar->addSeparator();
}

void ReadOnlyTinItemController::pushSetTinCommand(const tin::core::Tin& tin, const QString& text)
{
    pushUpdateViewCommand(new SetTinCommand(text, tin, item()));
}

QAction* ReadOnlyTinItemController::exportAction() const
{
    return m_exportAction;
}

void ReadOnlyTinItemController::exportTin()
{
    if (!item()->tin()) {
        return;
    }
    const QString name = guimisc::UserDialogs::getSaveFileName(
        mainWindow(), tr("Select file name to export"), guimisc::LastIODirectory::get(),
        TinExporter::filters().join(QStringLiteral(";;")));
    if (name.isEmpty()) {
        return;
    }
    QString error;
    try {
        item()->exportToStl(name);
        guimisc::LastIODirectory::setFromAbsoluteFileName(name);
        return;
    } catch (const guimisc::exception::QStringRuntimeError& e) {
        error = e.message();
    } catch (const std::exception& e) {
        error = QString::fromLocal8Bit(e.what());
    }
    guimisc::UserDialogs::critical(
        mainWindow(), tr("Error"),
        tr("Failed to export %1.\n%2").arg(QDir::toNativeSeparators(name), error));
}

} // namespace varnel
