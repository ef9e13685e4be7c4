#pragma once

#include "movarin/shell/ProjectProperty.h"

namespace varnel {

/// The property of an edit-mode project; edited with an
/// `EditModeProjectPropertyEditWidget`.
class EditModeProjectProperty : public ProjectProperty {
    Q_OBJECT
public:
    explicit EditModeProjectProperty(ProjectFile* parent);
    ~EditModeProjectProperty() override;

    ProjectPropertyEditWidget* buildEditWidget() override;
};

} // namespace varnel
