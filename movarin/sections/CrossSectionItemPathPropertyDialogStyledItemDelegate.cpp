#include "movarin/sections/CrossSectionItemPathPropertyDialogStyledItemDelegate.h"

namespace varnel {

using Self = CrossSectionItemPathPropertyDialog::StyledItemDelegate;

Self::StyledItemDelegate(QObject* parent) : PathTableItemDelegate(parent) {}

Self::~StyledItemDelegate() = default;

} // namespace varnel
