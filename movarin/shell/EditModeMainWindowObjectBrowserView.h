#pragma once

#include "brask/core/ObjectBrowserView.h"

namespace varnel {

/// The tree view of an edit-mode project window's object browser.
class EditModeMainWindowObjectBrowserView : public mvc::core::ObjectBrowserView {
    Q_OBJECT
public:
    explicit EditModeMainWindowObjectBrowserView(QWidget* parent);
    ~EditModeMainWindowObjectBrowserView() override;
};

} // namespace varnel
