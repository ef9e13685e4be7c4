#pragma once

#include "movarin/shell/ProjectFile.h"

namespace varnel {

/// The main file of a create-mode project, with a `CreateModeProjectProperty`.
class CreateModeProjectFile : public ProjectFile {
    Q_OBJECT
public:
    explicit CreateModeProjectFile(Project* project);
    ~CreateModeProjectFile() override;
};

} // namespace varnel
