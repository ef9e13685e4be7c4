// links: varnel
//
// A point text file of 1,000,000 lines ("x,y,z", a jittered 1000 x 1000 grid of 1 m at survey
// coordinates near 1e5 m) imported through the points group of a create-mode project, as the
// user's "Import" does: from the file chosen in the (scripted) file dialog to the new
// coordinate-points item attached at the front of the group, its spatial index built and the
// main view (1000 x 800, offscreen) fitted to it. Painting is not included; the point-set
// benchmark measures it. Bare baseline in the same run: orlin's point text reader alone over
// the same file. Goal: the import under 1 s.
//
// Each import is undone and its command dropped after the iteration (timed apart), so every
// iteration starts from an empty group, as the first import of a project does.
// BenchSupport.h (orlin) comes before any Qt header: Qt's keyword macros would spoil it.
#include "BenchSupport.h"

#include "movarin/shell/CreateModeMainWindow.h"
#include "movarin/shell/CreateModeMainWindowModel.h"
#include "movarin/shell/CreateModeMainWindowModelRootItem.h"
#include "movarin/shell/CreateModeProject.h"
#include "movarin/shell/MainWindow.h"
#include "movarin/shell/ProjectFile.h"
#include "movarin/shell/ProjectWindowFactory.h"
#include "movarin/shell/ProjectWorkspace.h"
#include "movarin/survey/CoordinatePointsGroupItem.h"
#include "movarin/survey/CoordinatePointsGroupItemController.h"
#include "movarin/survey/CoordinatePointsItem.h"

#include "brask/window/ProjectMdiArea.h"
#include "orlin/io/TpoPointSetImporter.h"

#include <guimisc/UserDialogScript.h>

#include <QApplication>
#include <QMdiSubWindow>
#include <QUndoStack>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>

namespace {

constexpr int kSide = 1000;
constexpr std::size_t kLines = static_cast<std::size_t>(kSide) * kSide;
constexpr int kIterations = 3;

const bench::ScratchDir scratchDir("movarin_bench_point_import_");

const std::string& pointFile()
{
    static const std::string path = [] {
        const std::string file = scratchDir.file("points.tpo");
        std::ofstream out(file);
        std::mt19937 random(5);
        std::uniform_real_distribution<double> jitter(-0.3, 0.3);
        char line[96];
        for (int i = 0; i < kSide; ++i) {
            for (int j = 0; j < kSide; ++j) {
                const double x = 120000.0 + i + jitter(random);
                const double y = -35000.0 + j + jitter(random);
                const int n = std::snprintf(line, sizeof line, "%.3f,%.3f,%.3f\n", x, y,
                                            40.0 + 0.01 * i + 0.02 * j + jitter(random));
                out.write(line, n);
            }
        }
        if (!out) {
            throw std::runtime_error("cannot write the point file");
        }
        return file;
    }();
    return path;
}

// A main window with one create-mode project and its window shown.
class Scene {
public:
    Scene()
    {
        m_mainWindow.resize(1200, 1000);
        m_mainWindow.show();
        const QString folder = mvc::proj::Project::newWorkfolderName(
            m_mainWindow.workspace()->workspace().absolutePath());
        m_project = std::make_unique<varnel::CreateModeProject>(folder, &m_mainWindow);
        QMdiSubWindow* sub = varnel::createProjectWindow(
            QStringLiteral("createMainWindow"), m_mainWindow.mdiArea(), m_project->projectFile());
        m_window = qobject_cast<varnel::CreateModeMainWindow*>(sub->widget());
        sub->resize(1000, 800);
        sub->show();
    }

    ~Scene()
    {
        m_mainWindow.undoStack()->clear();
        m_mainWindow.mdiArea()->closeAllSubWindows();
        m_project.reset();
    }

    varnel::CoordinatePointsGroupItem* group() const
    {
        return m_window->model()->rootItem()->coordinatePointsGroupItem();
    }
    QUndoStack* undoStack() { return m_mainWindow.undoStack(); }

private:
    varnel::MainWindow m_mainWindow;
    std::unique_ptr<varnel::CreateModeProject> m_project;
    varnel::CreateModeMainWindow* m_window = nullptr;
};

void BM_ImportIntoItem(benchmark::State& state)
{
    const QString path = QString::fromStdString(pointFile());
    const QString tpoFilter = varnel::CoordinatePointsGroupItem::fileFilters().at(3);
    Scene scene;
    double destroyed = 0.0;
    for (auto _ : state) {
        guimisc::UserDialogScript script;
        script.answerFile(path, tpoFilter);
        const bench::Clock::time_point start = bench::Clock::now();
        scene.group()->controller()->importData();
        state.SetIterationTime(bench::secondsSince(start));

        const auto& children = scene.group()->childItems();
        if (!script.messageBoxes().empty() || children.size() != 1
            || static_cast<varnel::CoordinatePointsItem*>(children[0])->pointSet()->allPoints().size()
                   != kLines) {
            throw std::runtime_error("the import did not give one item of every line");
        }
        const bench::Clock::time_point made = bench::Clock::now();
        scene.undoStack()->undo();
        scene.undoStack()->clear();
        destroyed += bench::secondsSince(made);
    }
    const double mean = destroyed / static_cast<double>(state.iterations());
    state.counters["destroy_s"] = mean;
    bench::destructionSeconds()["BM_ImportIntoItem"] = mean;
}

void BM_BareTpoReader(benchmark::State& state)
{
    const std::string& path = pointFile();
    bench::timeApart(state, "BM_BareTpoReader", [&] {
        tin::core::PointSet points = tin::io::TpoPointSetImporter().importPointSet(path.c_str());
        if (points.allPoints().size() != kLines) {
            throw std::runtime_error("unexpected point count");
        }
        return points;
    });
}

BENCHMARK(BM_BareTpoReader)->Unit(benchmark::kMillisecond)->Iterations(kIterations)->UseManualTime();
BENCHMARK(BM_ImportIntoItem)->Unit(benchmark::kMillisecond)->Iterations(kIterations)->UseManualTime();

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    bench::useOffscreenScratchHome(scratchDir.file("home"));
    {
        QApplication application(argc, argv);
        pointFile();
        bench::RatioReporter reporter;
        benchmark::RunSpecifiedBenchmarks(&reporter);
        reporter.printRatio("BM_ImportIntoItem", "BM_BareTpoReader", "(goal: import < 1 s)",
                            "/iterations:3/manual_time");
        for (const auto& [name, seconds] : bench::destructionSeconds()) {
            std::printf("%-20s destruction of the result %8.3f s (not in the time above)\n",
                        name.c_str(), seconds);
        }
        std::printf("peak resident size %.0f MB\n", bench::peakResidentMb());
    }
    scratchDir.remove();
    return 0;
}
