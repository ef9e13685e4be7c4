#pragma once

#include "movarin/sections/CrossSectionItemPathPropertyDialog.h"
#include "movarin/shell/PathTableItemDelegate.h"

namespace varnel {

/// The cells of the end-point table: the active column on the palette's Midlight brush,
/// numbers edited with 5 decimals (see `PathTableItemDelegate`).
class CrossSectionItemPathPropertyDialog::StyledItemDelegate : public PathTableItemDelegate {
    Q_OBJECT
public:
    explicit StyledItemDelegate(QObject* parent = nullptr);
    ~StyledItemDelegate() override;
};

} // namespace varnel
