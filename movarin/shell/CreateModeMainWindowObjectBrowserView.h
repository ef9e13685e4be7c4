#pragma once

#include "brask/core/ObjectBrowserView.h"

namespace varnel {

/// The tree view of a create-mode project window's object browser.
class CreateModeMainWindowObjectBrowserView : public mvc::core::ObjectBrowserView {
    Q_OBJECT
public:
    explicit CreateModeMainWindowObjectBrowserView(QWidget* parent);
    ~CreateModeMainWindowObjectBrowserView() override;
};

} // namespace varnel
