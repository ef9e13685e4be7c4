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

#include <QMdiSubWindow>
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

    ProjectSession m_session;
    CreateModeMainWindow* m_window = nullptr;
};

} // namespace varnel::test
