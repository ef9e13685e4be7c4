#pragma once

#include "brask/core/ModelItem.h"

namespace varnel {

/// The "Cross sections" folder of an edit-mode project (folder icon; the row's caption is
/// fixed and the row is neither deletable nor movable). The edit-mode root writes it inside
/// "CrossSectionTop" > "CrossSectionGroup".
///
/// For now it holds no sections and writes and reads nothing but its row's state.
class CrossSectionGroupItem : public mvc::core::ModelItem {
    Q_OBJECT
public:
    explicit CrossSectionGroupItem(mvc::core::ModelItem* parent);
    ~CrossSectionGroupItem() override;

    QString itemTypeName() const override;
};

} // namespace varnel
