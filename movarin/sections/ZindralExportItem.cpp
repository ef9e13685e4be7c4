#include "movarin/sections/ZindralExportItem.h"

#include "movarin/sections/ZindralExportDialog.h"
#include "movarin/sections/ZindralGridExporter.h"
#include "movarin/shell/EditModeMainWindowModel.h"

#include <guimisc/UserDialogs.h>

#include <QDir>
#include <QMainWindow>

namespace varnel {

ZindralExportItem::ZindralExportItem(mvc::core::ModelItem* parent) : mvc::core::ModelItem(parent)
{
}

ZindralExportItem::~ZindralExportItem() = default;

void ZindralExportItem::exportGrid()
{
    auto editModel = qobject_cast<EditModeMainWindowModel*>(model());
    if (!editModel) {
        return;
    }
    QWidget* parent = mainWindow();
    ZindralExportDialog dialog(parent);
    dialog.setSetting(m_setting);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    m_setting = dialog.setting();
    if (ZindralGridExporter::exportGrid(m_setting, editModel)) {
        guimisc::UserDialogs::information(parent, tr("Information"),
                                          tr("Grid data is successfully exported to %1.")
                                              .arg(QDir::toNativeSeparators(m_setting.folderName)));
    }
}

const ZindralExportSetting& ZindralExportItem::setting() const
{
    return m_setting;
}

void ZindralExportItem::doLoadFromProjectMainFile(const QDomElement& element)
{
    m_setting.load(element);
}

void ZindralExportItem::doSaveToProjectMainFile(QXmlStreamWriter* writer)
{
    m_setting.save(writer);
}

} // namespace varnel
