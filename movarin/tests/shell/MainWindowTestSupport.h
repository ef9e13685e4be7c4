#pragma once

// Test support for the main window: a shown main window on a settings store of its own,
// fake zip tools first on PATH, a canceller of the zip tool's wait dialog, and readers of
// what the window shows.

#include "movarin/shell/MainWindow.h"

#include "support/ScratchSettings.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

class QAction;
class QMenu;

namespace varnel {
class CreateModeMainWindow;
class ProjectModelWindow;
}

namespace varnel::test {

/// A settings store of the test's own, a folder for the test's files, and a shown main
/// window made on that store (the first start's preference pass included).
class MainWindowTest : public ScratchSettingsTest {
protected:
    void SetUp() override;
    void TearDown() override;

    MainWindow& window() { return *m_window; }
    /// A path in the test's folder.
    QString file(const QString& name) const;
    /// The create-mode window of the open project, or null.
    CreateModeMainWindow* createModeWindow() const;
    /// Saves the open project as `name` in the test's folder through the save dialog.
    QString saveAs(const QString& name);
    /// Makes a new create-mode project, saves it as `name` and closes it; returns the path.
    QString makeArchive(const QString& name);
    /// "general/recentprojects" as stored.
    static QStringList recentProjects();

    QTemporaryDir m_files;
    std::unique_ptr<MainWindow> m_window;
};

/// A program of that name, first on PATH while the object lives: a shell script with
/// `body` (its arguments are "$@"). Not copyable.
class FakeTool {
public:
    FakeTool(const QString& name, const QString& body);
    ~FakeTool();
    FakeTool(const FakeTool&) = delete;
    FakeTool& operator=(const FakeTool&) = delete;

private:
    QTemporaryDir m_folder;
    QByteArray m_previousPath;
};

/// Waits for the zip tool's wait dialog (shown after three seconds), runs `whileWaiting`
/// once it is there and then cancels it, as the user would.
class WaitDialogCanceller : public QObject {
    Q_OBJECT
public:
    explicit WaitDialogCanceller(std::function<void()> whileWaiting);
    ~WaitDialogCanceller() override;

    bool cancelled() const { return m_cancelled; }

private:
    void poll();

    std::function<void()> m_whileWaiting;
    QTimer m_timer;
    bool m_cancelled = false;
};

/// The member names of a zip archive in stored order, as `unzip -l` lists them.
QStringList unzipListing(const QString& archive);

/// The object browser's top rows: caption and check state.
std::vector<std::pair<QString, Qt::CheckState>> browserRows(const ProjectModelWindow* window);

/// The texts of the visible entries of a menu ("" for a separator), accelerators kept.
QStringList menuTexts(const QMenu* menu);

/// Every file and folder name in `folder`, sorted.
QStringList folderEntries(const QString& folder);

} // namespace varnel::test
