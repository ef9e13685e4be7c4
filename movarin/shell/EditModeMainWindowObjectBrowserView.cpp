#include "movarin/shell/EditModeMainWindowObjectBrowserView.h"

namespace varnel {

EditModeMainWindowObjectBrowserView::EditModeMainWindowObjectBrowserView(QWidget* parent)
    : mvc::core::ObjectBrowserView(parent)
{
}

EditModeMainWindowObjectBrowserView::~EditModeMainWindowObjectBrowserView() = default;

} // namespace varnel
