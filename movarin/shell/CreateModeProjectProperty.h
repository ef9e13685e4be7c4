#pragma once

#include "movarin/shell/ProjectProperty.h"

namespace varnel {

/// The property of a create-mode project; edited with a
/// `CreateModeProjectPropertyEditWidget`.
class CreateModeProjectProperty : public ProjectProperty {
    Q_OBJECT
public:
    explicit CreateModeProjectProperty(ProjectFile* parent);
    ~CreateModeProjectProperty() override;

    ProjectPropertyEditWidget* buildEditWidget() override;
};

} // namespace varnel
