#include "movarin/shell/CreateModeMainWindowView.h"

namespace varnel {

CreateModeMainWindowView::CreateModeMainWindowView(QWidget* parent) : mvc::core::View(parent) {}

CreateModeMainWindowView::~CreateModeMainWindowView() = default;

} // namespace varnel
