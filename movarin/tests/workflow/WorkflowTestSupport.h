#pragma once

// What the end-to-end programs share: the program's main window shown at 1280 x 800 on a
// settings store of the test's own, the widget pixel of a world point, pictures grabbed from
// the screen into the build folder's "screenshots", and (from the shared support) the Python
// checkers run beside the tests.

#include "support/PythonScript.h"
#include "support/ScratchSettings.h"

#include "movarin/shell/MainWindow.h"

#include <guimisc/UserDialogScript.h>

#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace mvc::core {
class View;
}

namespace varnel::test {

/// The widget pixel of the world point `at` on `view` (rounded).
QPoint pixelOf(const mvc::core::View* view, const QPointF& at);

/// The number of distinct colours of a picture; a blank or nearly blank one has few.
int distinctColours(const QImage& picture);

/// A test of a whole road through the program: a settings store with the start-up values,
/// the image loader initialised as the program's main does it, a folder for the test's files
/// and the program's main window at (0, 0), 1280 x 800 pixels, shown. Every message box and
/// file dialog goes through `m_script`. Tear-down closes the open project without asking and
/// checks that every scripted answer was used.
class WorkflowTest : public ScratchSettingsTest {
protected:
    void SetUp() override;
    void TearDown() override;

    MainWindow& window() const { return *m_window; }
    /// A path in the test's folder.
    QString file(const QString& name) const { return m_dir.filePath(name); }

    /// The part `area` (main-window coordinates; the whole window when null) of the main
    /// window as the screen shows it, after pending paints, saved as
    /// "screenshots/<name>.png" in the build folder. A failure when it cannot be saved.
    QImage grabScreen(const QString& name, const QRect& area = QRect()) const;
    /// The same of another top-level window (a dialog of its own).
    QImage grabScreen(QWidget* topLevel, const QString& name) const;

    QTemporaryDir m_dir;
    guimisc::UserDialogScript m_script;
    std::unique_ptr<MainWindow> m_window;
};

} // namespace varnel::test
