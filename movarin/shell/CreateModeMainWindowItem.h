#pragma once

#include "brask/window/ProjectWindowItem.h"

#include <memory>

namespace guimisc::xml {
class WindowGeometryContainer;
}

namespace mvc::xml {
class ViewSettingContainer;
}

namespace varnel {

class CreateModeMainWindow;
class ProjectFile;

/// A create-mode project window in "project.xml": inside its "Window" element the
/// attribute "name" ("createMainWindow") and the elements
///
///     <WindowGeometry .../>   the frame of the MDI sub-window that holds the window
///     <View centerX=... centerY=... scale=... angle=.../>   the main view
///     <DataModel ...> ... </DataModel>   the item tree
///
/// Loading reads whichever of the three is present and then always fits the main view to
/// the model. The archive holds the files of the item tree.
///
/// Owned by its window; its Qt parent is the project file. The geometry and view
/// containers are made on first use, on the window as it is then.
class CreateModeMainWindowItem : public mvc::window::ProjectWindowItem {
    Q_OBJECT
public:
    /// `window` may be under construction: it is not used here.
    CreateModeMainWindowItem(CreateModeMainWindow* window, ProjectFile* projectFile);
    ~CreateModeMainWindowItem() override;

    std::vector<std::string> containedFiles() const override;

protected:
    void doLoadFromProjectMainFile(const QDomElement& element) override;
    void doSaveToProjectMainFile(QXmlStreamWriter* writer) override;

private:
    CreateModeMainWindow* createModeWindow() const;
    guimisc::xml::WindowGeometryContainer* geometryContainer();
    mvc::xml::ViewSettingContainer* viewSettingContainer();

    std::unique_ptr<guimisc::xml::WindowGeometryContainer> m_geometryContainer;
    std::unique_ptr<mvc::xml::ViewSettingContainer> m_viewSettingContainer;
};

} // namespace varnel
