#pragma once

// Test support of the survey items: a create-mode project with its window, TINs compared as
// sets of coordinate triples, and the Python checks beside the tests.

#include "shell/ProjectTestSupport.h"
#include "support/ScratchSettings.h"

#include "brask/core/View.h"
#include "movarin/shell/CreateModeMainWindowModel.h"
#include "movarin/shell/CreateModeMainWindowModelRootItem.h"
#include "orlin/core/Point.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QProcess>
#include <QString>
#include <QUndoStack>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <set>

namespace varnel::test {

/// A triangle as its three corners (x, y, elevation), sorted, so that two TINs over other
/// point objects or in another order compare equal.
using Corner = std::array<double, 3>;
using TriangleKey = std::array<Corner, 3>;

inline std::set<TriangleKey> trianglesOf(const tin::core::Tin& tin)
{
    std::set<TriangleKey> keys;
    for (const auto& triangle : tin.allTriangles()) {
        TriangleKey key;
        for (int i = 0; i < 3; ++i) {
            const tin::core::Point& p = *triangle->point(i);
            key[static_cast<std::size_t>(i)] = {p.x(), p.y(), p.elevation()};
        }
        std::sort(key.begin(), key.end());
        keys.insert(key);
    }
    return keys;
}

/// A TIN over an n by n grid of unit cells from (x0, y0), two triangles a cell, with the
/// elevation x + 2 y + z0 at each node.
inline tin::core::Tin gridTin(int n, double x0 = 0.0, double y0 = 0.0, double z0 = 0.0)
{
    std::vector<std::shared_ptr<tin::core::Point>> nodes;
    for (int j = 0; j <= n; ++j) {
        for (int i = 0; i <= n; ++i) {
            nodes.push_back(std::make_shared<tin::core::Point>(x0 + i, y0 + j, i + 2.0 * j + z0));
        }
    }
    auto at = [&](int i, int j) { return nodes[static_cast<std::size_t>(j * (n + 1) + i)]; };
    tin::core::Tin tin;
    for (int j = 0; j < n; ++j) {
        for (int i = 0; i < n; ++i) {
            tin.addTriangle(at(i, j), at(i + 1, j), at(i + 1, j + 1));
            tin.addTriangle(at(i, j), at(i + 1, j + 1), at(i, j + 1));
        }
    }
    return tin;
}

/// Runs a script of tests/survey/tools with python3; the exit code and what it printed.
struct ScriptResult {
    int exitCode = -1;
    QString output;
};

inline ScriptResult runSurveyScript(const QString& script, const QStringList& arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral("python3"),
                  QStringList{QStringLiteral(MOVARIN_SURVEY_TOOLS_DIR "/") + script} + arguments);
    process.waitForFinished(-1);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAll()).trimmed()};
}

/// Unpacks `archive` as a new create-mode project of `session`, not loaded yet (a test may
/// change the work folder first); null, with a failure, when it cannot.
inline Project* unpackCreateProject(ProjectSession& session, const QString& archive)
{
    Project& project = session.newCreateProject();
    if (!project.unzipFrom(archive)) {
        ADD_FAILURE() << "cannot unpack " << archive.toStdString();
        return nullptr;
    }
    return &project;
}

/// The root item of the one create-mode window of `session`; null, with a failure, when
/// there is none.
inline CreateModeMainWindowModelRootItem* createRootOf(const ProjectSession& session)
{
    const std::vector<CreateModeMainWindow*> windows = session.createModeWindows();
    if (windows.size() != 1 || !windows[0]) {
        ADD_FAILURE() << "the project has no create-mode window";
        return nullptr;
    }
    return windows[0]->model()->rootItem();
}

/// Unpacks and loads `archive` in `session`; the root item of its window.
inline CreateModeMainWindowModelRootItem* openCreateProject(ProjectSession& session,
                                                            const QString& archive)
{
    Project* project = unpackCreateProject(session, archive);
    if (!project) {
        return nullptr;
    }
    project->load();
    return createRootOf(session);
}

/// Input as the main view gets it from the user: explicit events sent to the view, which
/// hands them to the selected item's controller.
inline void sendMouse(QWidget* view, QEvent::Type type, const QPoint& pos,
                      Qt::MouseButton button = Qt::LeftButton)
{
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease || type == QEvent::MouseMove ? Qt::NoButton : button;
    QMouseEvent event(type, QPointF(pos), type == QEvent::MouseMove ? Qt::NoButton : button,
                      held, Qt::NoModifier);
    QApplication::sendEvent(view, &event);
}

/// A move to `pos`, then a press and a release of the left button there.
inline void click(QWidget* view, const QPoint& pos)
{
    sendMouse(view, QEvent::MouseMove, pos);
    sendMouse(view, QEvent::MouseButtonPress, pos);
    sendMouse(view, QEvent::MouseButtonRelease, pos);
}

/// What Qt sends for a double click after a first click at `pos`: the second press comes as
/// a double click, then the release.
inline void doubleClick(QWidget* view, const QPoint& pos)
{
    click(view, pos);
    sendMouse(view, QEvent::MouseButtonDblClick, pos);
    sendMouse(view, QEvent::MouseButtonRelease, pos);
}

inline void pressKey(QWidget* view, int key)
{
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(view, &event);
}

/// A test on a new create-mode project with its window shown (800 by 600), in an empty
/// settings store with the start-up defaults.
class CreateProjectTest : public ScratchSettingsTest {
protected:
    void SetUp() override
    {
        ScratchSettings::writeStartupDefaults();
        m_session.newCreateProject();
        m_window = m_session.createWindow();
        ASSERT_NE(m_window, nullptr);
        QMdiSubWindow* sub = ProjectSession::subWindowOf(m_window);
        sub->resize(800, 600);
        sub->show();
    }

    Project& project() { return *m_session.project(); }
    CreateModeMainWindowModelRootItem* root() const { return m_window->model()->rootItem(); }
    mvc::core::View* view() const { return m_window->view(); }
    QUndoStack* undoStack() { return m_session.mainWindow().undoStack(); }

    /// Saves the project and packs it into `archive`.
    void saveTo(const QString& archive)
    {
        ASSERT_TRUE(project().save());
        ASSERT_TRUE(project().zipTo(archive));
    }

    ProjectSession m_session;
    CreateModeMainWindow* m_window = nullptr;
};

} // namespace varnel::test
