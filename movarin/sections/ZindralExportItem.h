#pragma once

#include "movarin/sections/ZindralExportSetting.h"

#include "brask/core/ModelItem.h"

namespace varnel {

/// The grid-model export of an edit-mode project (entry 6 of the edit-mode root): an item
/// without browser row, view or controller that keeps the setting of the last export. The
/// root writes and reads the setting as the element "ZindralExportSetting".
///
/// `exportGrid` shows `ZindralExportDialog` on the setting, keeps what the user accepted,
/// runs `ZindralGridExporter` and reports "Grid data is successfully exported to %1." when the
/// three files were written (the exporter has said why otherwise); Cancel does nothing.
class ZindralExportItem : public mvc::core::ModelItem {
    Q_OBJECT
public:
    explicit ZindralExportItem(mvc::core::ModelItem* parent);
    ~ZindralExportItem() override;

    void exportGrid();

    const ZindralExportSetting& setting() const;

protected:
    void doLoadFromProjectMainFile(const QDomElement& element) override;
    void doSaveToProjectMainFile(QXmlStreamWriter* writer) override;

private:
    ZindralExportSetting m_setting;
};

} // namespace varnel
