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

class ProjectFile;
class ProjectModelWindow;

/// A project window of either kind in "project.xml": inside its "Window" element the
/// attribute "name" (the window's id prefix, "createMainWindow" or "editMainWindow") and
/// the elements
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
class ProjectModelWindowItem : public mvc::window::ProjectWindowItem {
    Q_OBJECT
public:
    ~ProjectModelWindowItem() override;

    /// The files of the window's model.
    std::vector<std::string> containedFiles() const override;

protected:
    /// `window` may be under construction: it is not used here.
    ProjectModelWindowItem(ProjectModelWindow* window, ProjectFile* projectFile);

    /// The window, null once it went.
    ProjectModelWindow* modelWindow() const;

    void doLoadFromProjectMainFile(const QDomElement& element) override;
    void doSaveToProjectMainFile(QXmlStreamWriter* writer) override;

private:
    guimisc::xml::WindowGeometryContainer* geometryContainer();
    mvc::xml::ViewSettingContainer* viewSettingContainer();

    std::unique_ptr<guimisc::xml::WindowGeometryContainer> m_geometryContainer;
    std::unique_ptr<mvc::xml::ViewSettingContainer> m_viewSettingContainer;
};

} // namespace varnel
