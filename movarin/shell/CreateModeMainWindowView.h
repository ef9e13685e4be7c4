#pragma once

#include "brask/core/View.h"

namespace varnel {

/// The main view of a create-mode project window.
class CreateModeMainWindowView : public mvc::core::View {
    Q_OBJECT
public:
    explicit CreateModeMainWindowView(QWidget* parent);
    ~CreateModeMainWindowView() override;
};

} // namespace varnel
