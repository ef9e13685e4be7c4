#pragma once

#include "brask/core/View.h"

namespace varnel {

/// The main view of an edit-mode project window.
class EditModeMainWindowView : public mvc::core::View {
    Q_OBJECT
public:
    explicit EditModeMainWindowView(QWidget* parent);
    ~EditModeMainWindowView() override;
};

} // namespace varnel
