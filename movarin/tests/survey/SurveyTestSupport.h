#pragma once

// Test support of the TIN items and the points for the TIN: a create-mode project with its
// window, projects reopened from their archives, TINs compared as sets of coordinate triples
// or by their objects, and the Python checks beside the tests.

#include "PointSetTestSupport.h"

#include "shell/ProjectTestSupport.h"
#include "support/PythonScript.h"
#include "support/ScratchSettings.h"

#include "brask/core/View.h"
#include "movarin/shell/CreateModeMainWindowModel.h"
#include "movarin/shell/CreateModeMainWindowModelRootItem.h"
#include "orlin/core/Point.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"

#include <QFile>
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

/// The objects of a range of shared pointers (the points of a set, the triangles of a TIN),
/// by address.
template <class Range>
auto identitiesOf(const Range& objects)
{
    std::set<const typename Range::value_type::element_type*> result;
    for (const auto& object : objects) {
        result.insert(object.get());
    }
    return result;
}

/// The point objects at the corners of the TIN's triangles.
inline std::set<const tin::core::Point*> verticesOf(const tin::core::Tin& tin)
{
    std::set<const tin::core::Point*> vertices;
    for (const auto& triangle : tin.allTriangles()) {
        for (int i = 0; i < 3; ++i) {
            vertices.insert(triangle->point(i).get());
        }
    }
    return vertices;
}

/// Whether some triangle of the TIN has both p and q as corners.
inline bool hasEdge(const tin::core::Tin& tin, const std::shared_ptr<tin::core::Point>& p,
                    const std::shared_ptr<tin::core::Point>& q)
{
    for (const auto& triangle : tin.findTriangleFromPoint(p)) {
        if (triangle->point1() == q || triangle->point2() == q || triangle->point3() == q) {
            return true;
        }
    }
    return false;
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

/// Runs a Python script of this folder with python3; the exit code and what it printed.
using ScriptResult = ScriptRun;

inline ScriptResult runSurveyScript(const QString& script, const QStringList& arguments)
{
    return runPython(QStringLiteral(MOVARIN_SOURCE_DIR "/movarin/tests/survey/") + script,
                     arguments);
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

/// A test on a new create-mode project (a `PointScene`: 200 by 200 pixels showing the world
/// square (-2, -2) to (2, 2)), in an empty settings store with the start-up defaults, which
/// the project reads when it is made.
class SurveyProjectTest : public ScratchSettingsTest {
protected:
    void SetUp() override
    {
        ScratchSettings::writeStartupDefaults();
        m_scene = std::make_unique<PointScene>();
        ASSERT_NE(m_scene->window(), nullptr);
    }

    ProjectSession& session() const { return m_scene->session(); }
    Project& project() const { return m_scene->project(); }
    CreateModeMainWindow* window() const { return m_scene->window(); }
    CreateModeMainWindowModelRootItem* root() const { return window()->model()->rootItem(); }
    mvc::core::View* view() const { return m_scene->view(); }
    QUndoStack* undoStack() const { return m_scene->undoStack(); }
    PointScene& scene() const { return *m_scene; }

    /// Saves the project and packs it into `archive`.
    void saveTo(const QString& archive)
    {
        ASSERT_TRUE(project().save());
        ASSERT_TRUE(project().zipTo(archive));
    }

    std::unique_ptr<PointScene> m_scene;
};

} // namespace varnel::test
