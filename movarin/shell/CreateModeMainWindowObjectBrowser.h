#pragma once

#include "brask/core/ObjectBrowser.h"

namespace varnel {

/// The object browser dock of a create-mode project window; it makes and owns its tree
/// view, a `CreateModeMainWindowObjectBrowserView`.
class CreateModeMainWindowObjectBrowser : public mvc::core::ObjectBrowser {
    Q_OBJECT
public:
    explicit CreateModeMainWindowObjectBrowser(QWidget* parent);
    ~CreateModeMainWindowObjectBrowser() override;
};

} // namespace varnel
