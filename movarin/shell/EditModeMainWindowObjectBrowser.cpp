#include "movarin/shell/EditModeMainWindowObjectBrowser.h"

#include "movarin/shell/EditModeMainWindowObjectBrowserView.h"

namespace varnel {

EditModeMainWindowObjectBrowser::EditModeMainWindowObjectBrowser(QWidget* parent)
    : mvc::core::ObjectBrowser(parent)
{
    setView(new EditModeMainWindowObjectBrowserView(this));
}

EditModeMainWindowObjectBrowser::~EditModeMainWindowObjectBrowser() = default;

} // namespace varnel
