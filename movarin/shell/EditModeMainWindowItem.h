#pragma once

#include "movarin/shell/ProjectModelWindowItem.h"

namespace varnel {

class EditModeMainWindow;
class ProjectFile;

/// An edit-mode project window in "project.xml": the "Window" element with "name"
/// "editMainWindow", written and read as `ProjectModelWindowItem` describes. The archive
/// holds the molds container's files first, then those of the item tree. Owned by its
/// window; its Qt parent is the project file.
class EditModeMainWindowItem : public ProjectModelWindowItem {
    Q_OBJECT
public:
    /// `window` may be under construction: it is not used here.
    EditModeMainWindowItem(EditModeMainWindow* window, ProjectFile* projectFile);
    ~EditModeMainWindowItem() override;

    std::vector<std::string> containedFiles() const override;
};

} // namespace varnel
