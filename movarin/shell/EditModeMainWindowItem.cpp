#include "movarin/shell/EditModeMainWindowItem.h"

#include "movarin/shell/EditModeMainWindow.h"
#include "movarin/surfaces/MoldsContainer.h"

namespace varnel {

EditModeMainWindowItem::EditModeMainWindowItem(EditModeMainWindow* window,
                                               ProjectFile* projectFile)
    : ProjectModelWindowItem(window, projectFile)
{
}

EditModeMainWindowItem::~EditModeMainWindowItem() = default;

std::vector<std::string> EditModeMainWindowItem::containedFiles() const
{
    auto window = static_cast<const EditModeMainWindow*>(modelWindow());
    const MoldsContainer* molds = window ? window->moldsContainer() : nullptr;
    std::vector<std::string> files = molds ? molds->containedFiles() : std::vector<std::string>();
    const std::vector<std::string> modelFiles = ProjectModelWindowItem::containedFiles();
    files.insert(files.end(), modelFiles.begin(), modelFiles.end());
    return files;
}

} // namespace varnel
