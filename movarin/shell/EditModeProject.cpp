#include "movarin/shell/EditModeProject.h"

#include "movarin/shell/EditModeProjectFile.h"

namespace varnel {

const char EditModeProject::WINDOW_ID_PREFIX[] = "editMainWindow";
const char EditModeProject::FILE_EXTENSION[] = "emvn";

EditModeProject::EditModeProject(const QString& workFolder,
                                 mvc::proj::ProjectMainWindowI* mainWindow)
    : Project(WINDOW_ID_PREFIX, new EditModeProjectFile(this), workFolder, mainWindow)
{
}

EditModeProject::~EditModeProject() = default;

std::string EditModeProject::fileExtension() const
{
    return FILE_EXTENSION;
}

} // namespace varnel
