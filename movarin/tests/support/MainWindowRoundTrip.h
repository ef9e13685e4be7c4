#pragma once

// A project taken along the main window's own road of several days: an edit-mode project
// opened from a surface, saved as an archive, closed, and opened again from the archive, so
// that a test can make the same edit on a freshly made item and on that item reopened.

#include "support/ScratchSettings.h"

#include "movarin/shell/MainWindow.h"

#include <guimisc/UserDialogScript.h>

#include <QPoint>
#include <QPointF>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <utility>

class QAction;

namespace mvc::core {
class View;
}
namespace tin::core {
class Tin;
}

namespace varnel {
class EditModeMainWindow;
class EditModeMainWindowModelRootItem;
class Project;
} // namespace varnel

namespace varnel::test {

/// A settings store of the test's own, a folder for its files and the program's main window,
/// 1000 x 700 pixels and shown. Every message box and file dialog goes through `m_script`.
///
/// The road: `openSurface` writes a TIN as a binary STL and opens it through "Open" (an
/// untitled edit-mode project whose base and edited TIN are that surface); `saveAs` saves it
/// through "Save As"; `reopen` closes the project as Exit does (a modified one is not saved:
/// the script answers No) and opens the archive through "Open". After each open the main view
/// is 400 x 300 pixels and shows 4 pixels a metre around the centre of the surface's box, so
/// that world points on whole metres land on whole pixels and a pixel means the same world
/// point before and after a reopen.
///
/// Tear-down closes the project without asking and checks that every scripted answer was used.
class MainWindowRoundTripTest : public ScratchSettingsTest {
protected:
    void SetUp() override;
    void TearDown() override;

    MainWindow& window() const { return *m_window; }
    Project* project() const;
    EditModeMainWindow* editWindow() const;
    EditModeMainWindowModelRootItem* root() const;
    mvc::core::View* view() const;
    /// The main window's action of that text (a failure, and null, when there is none).
    QAction* action(const char* text) const;
    /// Undo of the Edit menu.
    QAction* undoAction() const;
    QString file(const QString& name) const { return m_dir.filePath(name); }

    /// Opens `tin`, written as a binary STL, through "Open".
    void openSurface(const tin::core::Tin& tin);
    /// "Save As" into the test's folder; the archive's path.
    QString saveAs(const QString& name);
    /// Closes the project, its changes dropped, and opens `archive` through "Open".
    void reopen(const QString& archive);
    /// The project saved as `name`; then `edit` on it as it is, the project reopened from the
    /// archive and `edit` on that: both results (the second default-made when the reopen
    /// failed). The message records are cleared before each run.
    template <class Edit>
    auto editSavedAndReopened(const QString& name, Edit edit) -> std::pair<decltype(edit()), decltype(edit())>
    {
        const QString archive = saveAs(name);
        m_script.clearRecords();
        auto fresh = edit();
        reopen(archive);
        if (::testing::Test::HasFatalFailure()) {
            return {fresh, {}};
        }
        m_script.clearRecords();
        return {fresh, edit()};
    }

    /// The main view's pixel of the world point (x, y).
    QPoint px(double x, double y) const;
    QPoint px(const QPointF& p) const { return px(p.x(), p.y()); }

    /// The texts of the message boxes since the records were last cleared.
    QStringList boxes() const;

    QTemporaryDir m_dir;
    guimisc::UserDialogScript m_script;
    std::unique_ptr<MainWindow> m_window;

private:
    void openThroughMenu(const QString& path);
    void placeView() const;
};

} // namespace varnel::test
