#pragma once

#include "movarin/shell/ProjectModelWindow.h"

namespace varnel {

class BackgroundImageGroupItem;
class CreateModeMainWindowModel;
class ProjectFile;
class ReadOnlyTinItem;

/// The project window of a create-mode project, "Main Window": the main view in the centre
/// and the object browser docked on the left, both showing the window's item tree (its
/// model, a `CreateModeMainWindowModel`). The window kind's id prefix is
/// "createMainWindow". Closing, first showing and ownership are those of
/// `ProjectModelWindow`.
class CreateModeMainWindow : public ProjectModelWindow {
    Q_OBJECT
public:
    /// `parent` is the MDI area; the window is then added to it as a sub-window.
    CreateModeMainWindow(QWidget* parent, ProjectFile* projectFile);
    ~CreateModeMainWindow() override;

    std::string windowIdPrefix() const override;

    /// Null once the project's tree went.
    CreateModeMainWindowModel* model() const;
    /// The created TIN's item.
    ReadOnlyTinItem* tinItem() const override;
    BackgroundImageGroupItem* backgroundImageGroupItem() const override;
};

} // namespace varnel
