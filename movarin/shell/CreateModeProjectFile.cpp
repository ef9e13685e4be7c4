#include "movarin/shell/CreateModeProjectFile.h"

#include "movarin/shell/CreateModeProjectProperty.h"

namespace varnel {

CreateModeProjectFile::CreateModeProjectFile(Project* project) : ProjectFile(project)
{
    setProperty(new CreateModeProjectProperty(this));
}

CreateModeProjectFile::~CreateModeProjectFile() = default;

} // namespace varnel
