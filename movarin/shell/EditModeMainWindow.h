#pragma once

#include "movarin/shell/ProjectModelWindow.h"
#include "movarin/surfaces/MoldsContainerBrowser.h"
#include "movarin/survey/TinItem.h"

#include <QImage>
#include <QString>

#include <vector>

class QMdiArea;

namespace gdalimg {
class GdalImageSetting;
}

namespace tin::core {
class Tin;
}

namespace varnel {

class EditModeMainWindowModel;
class MoldsContainer;
class ProjectFile;

/// The project window of an edit-mode project, "Main Window": as the create-mode window
/// (main view in the centre, object browser docked on the left, see `ProjectModelWindow`),
/// over an `EditModeMainWindowModel`, with one more dock, the "Mold Browser" on the right.
/// The window kind's id prefix is "editMainWindow".
///
/// The Mold Browser belongs to the controller of the GeoEdit surface group (root entry 1),
/// which makes and docks it; the window builds that controller with itself, so the dock is
/// there before the window is first shown, and looks the dock up anew at every request.
/// When the window is first shown the dock is widened to `MOLD_BROWSER_WIDTH` pixels if it
/// is narrower, so that it opens usable rather than squeezed to its title.
///
/// A new edit-mode project gets its content from an STL surface or from a create-mode
/// project through `setTin` and `setBackgroundImages`.
class EditModeMainWindow : public ProjectModelWindow, public WindowWithMoldsContainerBrowserI {
    Q_OBJECT
    Q_INTERFACES(varnel::WindowWithMoldsContainerBrowserI)
public:
    static constexpr int MOLD_BROWSER_WIDTH = 200;

    /// `parent` is the MDI area; the window is then added to it as a sub-window.
    EditModeMainWindow(QWidget* parent, ProjectFile* projectFile);
    ~EditModeMainWindow() override;

    std::string windowIdPrefix() const override;

    /// Null once the project's tree went.
    EditModeMainWindowModel* model() const;
    /// The edited TIN's item (root entry 2).
    TinItem* tinItem() const override;
    /// Root entry 5.
    BackgroundImageGroupItem* backgroundImageGroupItem() const override;
    /// The molds container of the GeoEdit surface group; null once the tree went.
    MoldsContainer* moldsContainer() const;
    /// The MDI area that holds the window (through its sub-window); null outside one.
    QMdiArea* mdiArea() const;

    /// Gives the base TIN item and then the edited TIN item each a copy of `tin` (copies
    /// share the points and triangles, see `tin::core::Tin`), replacing what they held.
    void setTin(const tin::core::Tin& tin);
    /// Appends one background image per index i to the background images, in the order of
    /// the sequences (the first on top): captioned `filenames[i]`, showing `images[i]`
    /// placed by `settings[i]`, stored as "background<i + 1>.png". Throws
    /// `common::exception::RuntimeException` "The sizes of filenames and images are not
    /// equal." and adds nothing when the three lengths differ.
    void setBackgroundImages(const std::vector<QString>& filenames,
                             const std::vector<QImage>& images,
                             const std::vector<gdalimg::GdalImageSetting>& settings);

    /// The model's grid-model export.
    void exportZindralGrid();
    /// The model's LandXML export.
    void exportLandXml();

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool m_moldBrowserSized = false;
};

} // namespace varnel
