#include "movarin/shell/CreateModeMainWindowObjectBrowser.h"

#include "movarin/shell/CreateModeMainWindowObjectBrowserView.h"

namespace varnel {

CreateModeMainWindowObjectBrowser::CreateModeMainWindowObjectBrowser(QWidget* parent)
    : mvc::core::ObjectBrowser(parent)
{
    setView(new CreateModeMainWindowObjectBrowserView(this));
}

CreateModeMainWindowObjectBrowser::~CreateModeMainWindowObjectBrowser() = default;

} // namespace varnel
