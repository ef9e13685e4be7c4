#pragma once

#include "movarin/shell/ProjectModelWindowItem.h"

namespace varnel {

class CreateModeMainWindow;
class ProjectFile;

/// A create-mode project window in "project.xml": the "Window" element with "name"
/// "createMainWindow", written and read as `ProjectModelWindowItem` describes. Owned by
/// its window; its Qt parent is the project file.
class CreateModeMainWindowItem : public ProjectModelWindowItem {
    Q_OBJECT
public:
    /// `window` may be under construction: it is not used here.
    CreateModeMainWindowItem(CreateModeMainWindow* window, ProjectFile* projectFile);
    ~CreateModeMainWindowItem() override;
};

} // namespace varnel
