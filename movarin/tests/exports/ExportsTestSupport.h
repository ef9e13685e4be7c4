#pragma once

// Test support of the exports: an edit-mode project whose TINs are planes over the grid of
// the section tests, the main window's export actions, and the Python checkers beside the
// tests.

#include "sections/SectionsTestSupport.h"
#include "support/PythonScript.h"

#include "orlin/core/Tin.h"

#include <guimisc/UserDialogScript.h>

#include <QString>
#include <QStringList>
#include <QPointF>
#include <QTemporaryDir>

#include <memory>

class QAction;

namespace varnel {
class CrossSectionItem;
class EditModeMainWindow;
class EditModeMainWindowModelRootItem;
class GeoDataGroupItem;
class MainWindow;
} // namespace varnel

namespace varnel::test {

/// The plane z = a + b·x + c·y.
struct Plane {
    double a = 0.0;
    double b = 0.0;
    double c = 0.0;

    double at(double x, double y) const { return a + b * x + c * y; }
    /// "a,b,c", as the checkers take it.
    QString argument() const;
};

/// The grid TIN of the section tests (over [0, 100]², nodes 10 apart) on the plane.
tin::core::Tin planeTin(const Plane& plane);

using CheckerRun = ScriptRun;

/// Runs `python3` on the script of this folder with the arguments.
CheckerRun runChecker(const QString& script, const QStringList& arguments);

/// A shown main window with a new edit-mode project (so that the Export menu reaches it), in
/// an empty settings store with the start-up defaults, every message box and file dialog
/// answered by `m_script` (its fallback accepts), and a scratch folder for the exported files.
class ExportsTest : public ScratchSettingsTest {
protected:
    ExportsTest();
    ~ExportsTest() override;

    MainWindow& mainWindow() const { return *m_window; }
    EditModeMainWindowModelRootItem* root() const;
    /// A section attached at the back of the group, not through the undo stack.
    CrossSectionItem* addSection(const QString& name, const QPointF& start,
                                 const QPointF& end) const;
    /// The geographic-data group of that internal name.
    GeoDataGroupItem* geoGroup(const char* name) const;
    /// Gives the base and the edited TIN item a copy of the TIN (null: none).
    void setTins(const tin::core::Tin* base, const tin::core::Tin* edited) const;
    /// The main window's action of the Export menu named `text`.
    QAction* exportAction(const QString& text) const;
    /// Saves the project into its work folder and returns the folder.
    QString saveProject() const;
    /// A path in the scratch folder.
    QString scratch(const QString& name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    guimisc::UserDialogScript m_script;

private:
    std::unique_ptr<MainWindow> m_window;
    EditModeMainWindow* m_projectWindow = nullptr;
};

} // namespace varnel::test
