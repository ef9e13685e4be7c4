#include "movarin/survey/BackgroundImageItemController.h"

#include "movarin/survey/BackgroundImageItemControllerAddGcpSelectionHelper.h"
#include "movarin/survey/BackgroundImageItemControllerSetSettingCommand.h"
#include "movarin/survey/BackgroundImageItemControllerSourceOperationWaitingSelectionHelper.h"
#include "movarin/survey/BackgroundImageItemControllerWaitingSelectionHelper.h"
#include "movarin/survey/BackgroundImageItemGeoreferenceDialog.h"
#include "movarin/survey/GcpTableModel.h"

#include "brask/core/Model.h"
#include "brask/core/ObjectBrowserView.h"
#include "pelkas/GdalImage.h"
#include "pelkas/GdalImageEditSettingDialog.h"

#include <guimisc/UserDialogs.h>

#include <QAction>
#include <QMainWindow>
#include <QMenu>


namespace varnel {

// Shorthand inside the bodies; each definition names the class in full, since the
// translation tools do not see through an alias to find a text's class.
using Self = BackgroundImageItemController;

BackgroundImageItemController::BackgroundImageItemController(const BackgroundImageItem* item)
    : GuardedItemControllerT(item, new WaitingSelectionHelper(this)),
      m_georeferenceAction(new QAction(tr("Georeference"), this))
{
    connect(m_georeferenceAction, &QAction::triggered, this, &Self::showGeoreferenceDialog);
}

BackgroundImageItemController::~BackgroundImageItemController()
{
    // Only while the tree goes with the dialog open (a project closed): the dialog must
    // not outlive the item it places.
    delete m_dialog.data();
}

BackgroundImageItemController::SelectionHelper* BackgroundImageItemController::activeHelper() const
{
    return dynamic_cast<SelectionHelper*>(selectionHelper());
}

template <class Helper>
void BackgroundImageItemController::switchToHelperBuiltFromActive()
{
    SelectionHelper* active = activeHelper();
    if (active) {
        updateSelectionHelper(new Helper(*active));
    } else {
        WaitingSelectionHelper fresh(this);
        updateSelectionHelper(new Helper(fresh));
    }
}

void BackgroundImageItemController::addCustomMenuItems(QMenu* menu)
{
    menu->addAction(m_georeferenceAction);
}

QDialog* BackgroundImageItemController::propertyDialog(QWidget* parent)
{
    const gdalimg::GdalImage* image = item()->image();
    if (!image) {
        return nullptr;
    }
    auto dialog = new gdalimg::GdalImageEditSettingDialog(parent);
    dialog->setSetting(image->setting());
    dialog->setWidth(image->image().width());
    dialog->setHeight(image->image().height());
    return dialog;
}

void BackgroundImageItemController::handlePropertyDialogAccepted(QDialog* dialog)
{
    guarded([&] {
        if (auto positionDialog = qobject_cast<gdalimg::GdalImageEditSettingDialog*>(dialog)) {
            setSetting(positionDialog->setting());
        }
    });
}

void BackgroundImageItemController::setSetting(const gdalimg::GdalImageSetting& setting)
{
    gdalimg::GdalImage* image = item()->image();
    if (!image) {
        return;
    }
    pushUpdateViewCommand(new SetSettingCommand(setting, image));
}

BackgroundImageItemGeoreferenceDialog* BackgroundImageItemController::georeferenceDialog() const
{
    return m_dialog;
}

const GcpTable* BackgroundImageItemController::gcpTable() const
{
    return m_dialog ? m_dialog->gcpTable() : nullptr;
}

void BackgroundImageItemController::selectPoints(const GcpRowIndices& indices)
{
    guarded([&] {
        if (SelectionHelper* active = activeHelper()) {
            active->selectPoints(indices);
        }
    });
}

void BackgroundImageItemController::startGcpSelect()
{
    guarded([&] {
        if (!m_dialog) {
            return;
        }
        guimisc::UserDialogs::information(mainWindow(), tr("Information"),
                                          tr("Select a corresponding point on Main Window."));
        switchToHelperBuiltFromActive<AddGcpSelectionHelper>();
    });
}

void BackgroundImageItemController::showGeoreferenceDialog()
{
    guarded([&] {
        if (!m_dialog) {
            auto dialog = new BackgroundImageItemGeoreferenceDialog(item(), mainWindow());
            m_dialog = dialog;
            connect(dialog, &QDialog::accepted, this, &Self::pushFittedSetting);
            connect(dialog, &BackgroundImageItemGeoreferenceDialog::appliedSettingKept, this,
                    [this](const gdalimg::GdalImageSetting& setting) {
                        guarded([&] { setSetting(setting); });
                    });
            // Queued: the dialog is still inside its own handlers when it says so.
            connect(dialog, &BackgroundImageItemGeoreferenceDialog::georeferenceModeEnded, this,
                    &Self::endGeoreferenceMode, Qt::QueuedConnection);
            GcpTableModel* model = dialog->gcpTableModel();
            connect(model, &QAbstractItemModel::modelReset, this, &Self::handleTableChanged);
            connect(model, &QAbstractItemModel::dataChanged, this, &Self::handleTableChanged);
            connect(model, &QAbstractItemModel::rowsInserted, this, &Self::handleTableChanged);
            connect(model, &QAbstractItemModel::rowsRemoved, this, &Self::handleTableChanged);
            switchToHelperBuiltFromActive<SourceOperationWaitingSelectionHelper>();
        }
        m_dialog->show();
        m_dialog->raise();
        m_dialog->activateWindow();
        setGeoreferenceControlsEnabled(false);
    });
}

void BackgroundImageItemController::endGeoreferenceMode()
{
    guarded([&] {
        if (!m_dialog) {
            return;
        }
        switchToHelperBuiltFromActive<WaitingSelectionHelper>();
        setGeoreferenceControlsEnabled(true);
        m_dialog->disconnect(this);
        m_dialog->gcpTableModel()->disconnect(this);
        m_dialog->deleteLater();
        m_dialog = nullptr;
    });
}

void BackgroundImageItemController::pushFittedSetting()
{
    guarded([&] {
        if (m_dialog) {
            setSetting(m_dialog->setting());
        }
    });
}

void BackgroundImageItemController::setGeoreferenceControlsEnabled(bool enabled)
{
    m_georeferenceAction->setEnabled(enabled);
    if (mvc::core::Model* model = item()->model()) {
        if (mvc::core::ObjectBrowserView* browser = model->objectBrowserView()) {
            browser->setEnabled(enabled);
        }
    }
}

void BackgroundImageItemController::handleTableChanged()
{
    guarded([&] {
        if (SelectionHelper* active = activeHelper()) {
            active->tableChanged();
        }
    });
}

} // namespace varnel
