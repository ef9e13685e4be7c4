// links: varnel
//
// "Soil Volume Calculation" over the whole surface of an edit-mode project whose base TIN has
// 1 million triangles (a 708 x 708 grid of 1 m cells on a gentle wavy ground) and whose edited
// TIN is a copy of it with a mold surface applied on about 1 % of its area: a dike mold 40 m
// wide swept along a bent path of about 130 m, merged in by TinModifier::add as the GeoEdit
// surfaces merge it. Timed through the dialog's `execute()` (the project's TINs looked up,
// the comparison, the table filled):
// - BM_SoilVolumeAfterEdit: straight after the edit, the edited TIN sharing every untouched
//   triangle object with the base;
// - BM_SoilVolumeAfterReopen: after the project is saved and reopened: both TINs written as
//   TIN archives and read back as the project reads them, so that they share their vertex
//   objects (the reader interns points) but no triangle objects.
// Bare baseline in the same run, BM_BarePatchDifferences: `calculateDifferences` of the two
// 1 % patches alone (the base triangles the edit removed against the ones it added).
// Goal: under 5 s in both cases. The ratios to the baseline are printed after the table.
//
// BenchSupport.h (orlin) comes before any Qt header: Qt's keyword macros would spoil it.
#include "BenchSupport.h"
#include "ProgramBenchSupport.h"

#include "movarin/sections/CalculateSoilVolumeDialog.h"
#include "movarin/shell/EditModeMainWindow.h"
#include "movarin/shell/EditModeMainWindowModel.h"
#include "movarin/shell/EditModeMainWindowModelRootItem.h"
#include "movarin/shell/MainWindow.h"
#include "movarin/shell/Project.h"
#include "movarin/survey/ReadOnlyTinItem.h"
#include "movarin/survey/TinItem.h"

#include "mold/core/Mold.h"
#include "orlin/core/Tin.h"
#include "orlin/io/TinTinExporter.h"
#include "orlin/io/TinTinImporter.h"
#include "orlin/util/TinModifier.h"
#include "sedrun/TinFromMoldPathCreator.h"

#include <guimisc/UserDialogScript.h>

#include <QTableWidget>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using tin::core::Tin;

double ground(double x, double y)
{
    return 0.005 * x + 0.002 * y + 0.5 * std::sin(x * 0.03) * std::cos(y * 0.02);
}

// A dike: 3 m high in the middle, down to the path's elevation 20 m to either side.
mold::core::Mold dike()
{
    std::vector<double> l;
    std::vector<double> h;
    for (int i = 0; i <= 16; ++i) {
        const double t = -20.0 + 40.0 * i / 16.0;
        l.push_back(t);
        h.push_back(3.0 - 0.0075 * t * t);
    }
    return mold::core::Mold(mold::core::Mold::Add, l, h, 0.0, 0.0);
}

struct Scene {
    varnel::MainWindow window;
    varnel::EditModeMainWindow* projectWindow = nullptr;
    varnel::CalculateSoilVolumeDialog* dialog = nullptr;
    Tin removedPatch;
    Tin addedPatch;
    std::string baseArchive;
    std::string editedArchive;
    bool reopened = false;
};

std::unique_ptr<Scene> g_scene;

varnel::EditModeMainWindowModelRootItem* root()
{
    return g_scene->projectWindow->model()->rootItem();
}

void setUpScene(const bench::ScratchDir& scratch)
{
    g_scene = std::make_unique<Scene>();
    Scene& s = *g_scene;
    s.window.resize(1000, 800);
    s.window.show();
    s.window.newEditProject();
    s.projectWindow = s.window.findChild<varnel::EditModeMainWindow*>();
    if (!s.projectWindow) {
        throw std::runtime_error("no edit-mode project window");
    }

    auto base = std::make_unique<Tin>(bench::regularGridTin(0.0, 0.0, 1.0, 708, ground));
    const mold::core::Mold mold = dike();
    std::vector<tin::core::Point> path;
    for (const auto& [x, y] : {std::pair{300.0, 320.0}, {360.0, 350.0}, {420.0, 340.0}}) {
        path.emplace_back(x, y, ground(x, y));
    }
    tincreator::util::TinFromMoldPathCreator creator(mold, path);
    const Tin surface = creator.createTin(false, {}, tincreator::util::TinFromMoldPathCreator::None);
    bool ok = false;
    auto edited = std::make_unique<Tin>(tin::util::TinModifier::add(
        *base, surface, surface.geosPolygons(), &ok, nullptr, &s.addedPatch, &s.removedPatch));
    if (!ok || s.addedPatch.empty()) {
        throw std::runtime_error("the mold surface was not applied");
    }
    std::printf("base %zu triangles, mold surface %zu, edit: %zu removed, %zu added (%.2f %% of the area)\n",
                base->allTriangles().size(), surface.allTriangles().size(),
                s.removedPatch.allTriangles().size(), s.addedPatch.allTriangles().size(),
                100.0 * s.removedPatch.allTriangles().size() / base->allTriangles().size());

    s.baseArchive = scratch.file("base.tin");
    s.editedArchive = scratch.file("edited.tin");
    tin::io::TinTinExporter().exportTin(s.baseArchive.c_str(), *base);
    tin::io::TinTinExporter().exportTin(s.editedArchive.c_str(), *edited);

    root()->baseTinItem()->setTin(base.release());
    root()->tinItem()->setTin(edited.release());
    s.dialog = new varnel::CalculateSoilVolumeDialog(s.projectWindow);
}

// The project's TINs as a reopened project holds them: read from the archives, the ones in
// memory gone first.
void reopen()
{
    Scene& s = *g_scene;
    if (s.reopened) {
        return;
    }
    root()->tinItem()->setTin(nullptr);
    root()->baseTinItem()->setTin(nullptr);
    root()->baseTinItem()->setTin(new Tin(tin::io::TinTinImporter().importTin(s.baseArchive.c_str())));
    root()->tinItem()->setTin(new Tin(tin::io::TinTinImporter().importTin(s.editedArchive.c_str())));
    s.reopened = true;
}

void shownVolumes(benchmark::State& state)
{
    auto table = g_scene->dialog->findChild<QTableWidget*>();
    state.counters["cut"] = table->item(0, 1)->text().toDouble();
    state.counters["fill"] = table->item(1, 1)->text().toDouble();
}

void execute(benchmark::State& state)
{
    guimisc::UserDialogScript script;
    bool ok = false;
    for (auto _ : state) {
        ok = g_scene->dialog->execute();
    }
    state.counters["ok"] = ok && script.records().empty() ? 1 : 0;
    shownVolumes(state);
}

void BM_BarePatchDifferences(benchmark::State& state)
{
    bool ok = false;
    double plus = 0.0;
    double minus = 0.0;
    for (auto _ : state) {
        tin::util::TinModifier::calculateDifferences(g_scene->removedPatch, g_scene->addedPatch, &ok, &plus,
                                                     &minus);
    }
    state.counters["ok"] = ok ? 1 : 0;
    state.counters["cut"] = -minus;
    state.counters["fill"] = plus;
}

void BM_SoilVolumeAfterEdit(benchmark::State& state)
{
    if (g_scene->reopened) {
        state.SkipWithError("run before the reopen");
        return;
    }
    execute(state);
}

void BM_SoilVolumeAfterReopen(benchmark::State& state)
{
    reopen();
    execute(state);
}

} // namespace

BENCHMARK(BM_BarePatchDifferences)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SoilVolumeAfterEdit)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SoilVolumeAfterReopen)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv)
{
    return bench::runInProgram(
        argc, argv, "movarin_bench_soil_volume_", setUpScene,
        [](const bench::RatioReporter& reporter) {
            reporter.printRatio("BM_SoilVolumeAfterEdit", "BM_BarePatchDifferences", "goal: under 5 s");
            reporter.printRatio("BM_SoilVolumeAfterReopen", "BM_BarePatchDifferences", "goal: under 5 s");
            std::printf("peak resident %.0f MB\n", bench::peakResidentMb());
        },
        [] { g_scene.reset(); });
}
