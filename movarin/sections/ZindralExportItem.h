#pragma once

#include "brask/core/ModelItem.h"

namespace varnel {

/// The grid-model export of an edit-mode project: an item without browser row, view or
/// controller, written and read by the edit-mode root as "ZindralExportSetting".
///
/// For now it keeps no setting, and `exportGrid` does nothing.
class ZindralExportItem : public mvc::core::ModelItem {
    Q_OBJECT
public:
    explicit ZindralExportItem(mvc::core::ModelItem* parent);
    ~ZindralExportItem() override;

    void exportGrid();
};

} // namespace varnel
