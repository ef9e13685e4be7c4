#pragma once

#include "movarin/survey/ReadOnlyTinItem.h"

namespace varnel {

/// The edited TIN of an edit-mode project: a `ReadOnlyTinItem` in every respect but its
/// file, the TIN archive "tin.tin" in the work folder. The editing subsystems replace its TIN
/// through `replaceTin` and `ReadOnlyTinItemController::SetTinCommand`.
class TinItem : public ReadOnlyTinItem {
    Q_OBJECT
public:
    /// The item's file in the work folder.
    static const char FILENAME[];

    explicit TinItem(mvc::core::ModelItem* parent);
    ~TinItem() override;
};

} // namespace varnel
