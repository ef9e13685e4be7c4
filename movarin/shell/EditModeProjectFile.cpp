#include "movarin/shell/EditModeProjectFile.h"

#include "movarin/shell/EditModeProjectProperty.h"

namespace varnel {

EditModeProjectFile::EditModeProjectFile(Project* project) : ProjectFile(project)
{
    setProperty(new EditModeProjectProperty(this));
}

EditModeProjectFile::~EditModeProjectFile() = default;

} // namespace varnel
