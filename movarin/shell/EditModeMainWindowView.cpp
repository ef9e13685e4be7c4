#include "movarin/shell/EditModeMainWindowView.h"

namespace varnel {

EditModeMainWindowView::EditModeMainWindowView(QWidget* parent) : mvc::core::View(parent) {}

EditModeMainWindowView::~EditModeMainWindowView() = default;

} // namespace varnel
