#pragma once

#include "movarin/shell/ProjectPropertyEditWidget.h"

namespace varnel {

class EditModeProjectProperty;

/// The property form of an edit-mode project: 400 by 43, the style's margins.
class EditModeProjectPropertyEditWidget : public ProjectPropertyEditWidget {
    Q_OBJECT
public:
    explicit EditModeProjectPropertyEditWidget(EditModeProjectProperty* property);
    ~EditModeProjectPropertyEditWidget() override;
};

} // namespace varnel
