#pragma once

#include "movarin/shell/ProjectFile.h"

namespace varnel {

/// The main file of an edit-mode project, with an `EditModeProjectProperty`.
class EditModeProjectFile : public ProjectFile {
    Q_OBJECT
public:
    explicit EditModeProjectFile(Project* project);
    ~EditModeProjectFile() override;
};

} // namespace varnel
