#pragma once

#include "brask/core/ModelItem.h"

namespace varnel {

/// The LandXML export of an edit-mode project: an item without browser row, view or
/// controller, and without element in the project file.
///
/// For now `exportLandXml` does nothing.
class LandXmlExportItem : public mvc::core::ModelItem {
    Q_OBJECT
public:
    explicit LandXmlExportItem(mvc::core::ModelItem* parent);
    ~LandXmlExportItem() override;

    void exportLandXml();
};

} // namespace varnel
