#include "movarin/shell/CreateModeProject.h"

#include "movarin/shell/CreateModeProjectFile.h"

namespace varnel {

const char CreateModeProject::WINDOW_ID_PREFIX[] = "createMainWindow";
const char CreateModeProject::FILE_EXTENSION[] = "cmvn";

CreateModeProject::CreateModeProject(const QString& workFolder,
                                     mvc::proj::ProjectMainWindowI* mainWindow)
    : Project(WINDOW_ID_PREFIX, new CreateModeProjectFile(this), workFolder, mainWindow)
{
}

CreateModeProject::~CreateModeProject() = default;

std::string CreateModeProject::fileExtension() const
{
    return FILE_EXTENSION;
}

} // namespace varnel
