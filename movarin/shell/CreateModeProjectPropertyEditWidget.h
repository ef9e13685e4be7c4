#pragma once

#include "movarin/shell/ProjectPropertyEditWidget.h"

namespace varnel {

class CreateModeProjectProperty;

/// The property form of a create-mode project: 281 by 25, no margins around its grid.
class CreateModeProjectPropertyEditWidget : public ProjectPropertyEditWidget {
    Q_OBJECT
public:
    explicit CreateModeProjectPropertyEditWidget(CreateModeProjectProperty* property);
    ~CreateModeProjectPropertyEditWidget() override;
};

} // namespace varnel
