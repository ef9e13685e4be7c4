#pragma once

#include "brask/core/ObjectBrowser.h"

namespace varnel {

/// The object browser dock of an edit-mode project window; it makes and owns its tree
/// view, an `EditModeMainWindowObjectBrowserView`.
class EditModeMainWindowObjectBrowser : public mvc::core::ObjectBrowser {
    Q_OBJECT
public:
    explicit EditModeMainWindowObjectBrowser(QWidget* parent);
    ~EditModeMainWindowObjectBrowser() override;
};

} // namespace varnel
