#include "movarin/shell/CreateModeMainWindowObjectBrowserView.h"

namespace varnel {

CreateModeMainWindowObjectBrowserView::CreateModeMainWindowObjectBrowserView(QWidget* parent)
    : mvc::core::ObjectBrowserView(parent)
{
}

CreateModeMainWindowObjectBrowserView::~CreateModeMainWindowObjectBrowserView() = default;

} // namespace varnel
