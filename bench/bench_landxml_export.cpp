// links: varnel
//
// The LandXML export of large surfaces: TINs of 1,000 x 1,000 nodes (1,000,000 points,
// 1,998,002 faces) on a gentle wavy ground, map coordinates of a Japanese plane system.
// - BM_WriteSurface: `LandXmlExportItem::writeSurface` of one TIN into a file, through the
//   safe writer and the XML writer as the export writes it (points numbered, "y x z" and the
//   faces' corner numbers).
// - BM_ExportProject: the whole file of an edit-mode project whose base and edited TINs are
//   two such TINs (no common point), two cross sections and both banks, without the dialog.
//   Its first iteration also builds both TINs' triangle indexes for the profile queries (about
//   1.5 s of its time); later ones spend about 0.5 s in those queries and 0.6 s on the two
//   surfaces.
// Bare baseline in the same run, BM_BareFormat: the same numbers (three per point, three per
// face) formatted into memory with `std::to_chars`, nothing written.
// Goals: a surface under 2 s, the project under 4 s. The ratios to the baseline are printed
// after the table.
//
// BenchSupport.h (orlin) comes before any Qt header: Qt's keyword macros would spoil it.
#include "BenchSupport.h"
#include "ProgramBenchSupport.h"

#include "movarin/sections/CrossSectionGroupItem.h"
#include "movarin/sections/CrossSectionItem.h"
#include "movarin/sections/GeoDataGroupItem.h"
#include "movarin/sections/GeoDataPolylineItem.h"
#include "movarin/sections/GeoDataTopForEditItem.h"
#include "movarin/sections/LandXmlExportItem.h"
#include "movarin/shell/EditModeMainWindow.h"
#include "movarin/shell/EditModeMainWindowModel.h"
#include "movarin/shell/EditModeMainWindowModelRootItem.h"
#include "movarin/shell/MainWindow.h"
#include "movarin/survey/ReadOnlyTinItem.h"
#include "movarin/survey/TinItem.h"

#include "orlin/core/Polyline.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"

#include <common/io/SafeFileWriter.h>
#include <guimisc/OstreamDevice.h>

#include <QXmlStreamWriter>

#include <benchmark/benchmark.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

using tin::core::Tin;

constexpr int NODES = 1000;
constexpr double X0 = -32000.0;
constexpr double Y0 = 14000.0;

double ground(double x, double y)
{
    return 12.0 + 0.004 * (x - X0) + 0.5 * std::sin((x - X0) * 0.03) * std::cos((y - Y0) * 0.02);
}

struct Scene {
    varnel::MainWindow window;
    varnel::EditModeMainWindow* projectWindow = nullptr;
    std::string surfaceFile;
    std::string projectFile;
};

std::unique_ptr<Scene> g_scene;

varnel::EditModeMainWindowModelRootItem* root()
{
    return g_scene->projectWindow->model()->rootItem();
}

const Tin& editedTin()
{
    return *root()->tinItem()->tin();
}

void setUpScene(const bench::ScratchDir& scratch)
{
    g_scene = std::make_unique<Scene>();
    Scene& s = *g_scene;
    s.window.newEditProject();
    s.projectWindow = s.window.findChild<varnel::EditModeMainWindow*>();
    if (!s.projectWindow) {
        throw std::runtime_error("no edit-mode project window");
    }
    s.surfaceFile = scratch.file("surface.xml");
    s.projectFile = scratch.file("project.xml");

    // Half a metre apart in height, so that the two TINs share no point.
    root()->baseTinItem()->setTin(new Tin(bench::regularGridTin(
        X0, Y0, 1.0, NODES, [](double x, double y) { return ground(x, y) - 0.5; })));
    root()->tinItem()->setTin(new Tin(bench::regularGridTin(X0, Y0, 1.0, NODES, ground)));

    varnel::CrossSectionGroupItem* group = root()->crossSectionGroupItem();
    for (const double x : {X0 + 300.0, X0 + 700.0}) {
        group->attachChildAtBack(group->buildCrossSection(QStringLiteral("No.%1").arg(x - X0),
                                                          tin::core::Point(x, Y0 + 50.0),
                                                          tin::core::Point(x + 20.0, Y0 + 950.0)));
    }
    varnel::GeoDataGroupItem* reference =
        root()->geoDataTopItem()->groupItem(QStringLiteral("referenceinformation"));
    for (const auto& [caption, x] :
         {std::pair{QStringLiteral("1"), X0 + 100.0}, {QStringLiteral("4"), X0 + 900.0}}) {
        varnel::GeoDataPolylineItem* bank = reference->createPolylineItem(caption);
        bank->setPolyline(new tin::core::Polyline({tin::core::Point2D(x, Y0 + 10.0),
                                                   tin::core::Point2D(x + 30.0, Y0 + 500.0),
                                                   tin::core::Point2D(x - 10.0, Y0 + 990.0)}));
        reference->attachChildAtBack(bank);
    }
    std::printf("TINs of %zu faces and %d points each\n", editedTin().allTriangles().size(),
                editedTin().pointCount());
}

std::uintmax_t fileSize(const std::string& path)
{
    std::error_code ignored;
    return std::filesystem::file_size(path, ignored);
}

void BM_BareFormat(benchmark::State& state)
{
    // The numbers the surface holds, gathered before the clock runs: "y x z" of each distinct
    // point, the corner numbers of each face.
    std::vector<double> coordinates;
    std::vector<int> corners;
    std::unordered_map<const tin::core::Point*, int> numbers;
    for (const auto& triangle : editedTin().allTriangles()) {
        for (int i = 0; i < 3; ++i) {
            const tin::core::Point* p = triangle->point(i).get();
            const auto [it, added] = numbers.emplace(p, static_cast<int>(numbers.size()) + 1);
            if (added) {
                coordinates.insert(coordinates.end(), {p->y(), p->x(), p->elevation()});
            }
            corners.push_back(it->second);
        }
    }
    std::vector<char> buffer(1 << 16);
    std::size_t bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        char* out = buffer.data();
        const auto spill = [&] {
            if (out > buffer.data() + buffer.size() - 128) {
                bytes += static_cast<std::size_t>(out - buffer.data());
                benchmark::DoNotOptimize(buffer.data());
                out = buffer.data();
            }
        };
        for (const double v : coordinates) {
            out = std::to_chars(out, out + 64, v, std::chars_format::fixed, 3).ptr;
            *out++ = ' ';
            spill();
        }
        for (const int c : corners) {
            out = std::to_chars(out, out + 12, c).ptr;
            *out++ = ' ';
            spill();
        }
        bytes += static_cast<std::size_t>(out - buffer.data());
    }
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}

void BM_WriteSurface(benchmark::State& state)
{
    const Tin& tin = editedTin();
    for (auto _ : state) {
        common::io::SafeFileWriter::writeBinary(g_scene->surfaceFile, [&](std::ostream& out) {
            guimisc::OstreamDevice device(out);
            QXmlStreamWriter writer(&device);
            writer.setAutoFormatting(true);
            writer.writeStartDocument();
            varnel::LandXmlExportItem::writeSurface(&writer, QStringLiteral("designed"),
                                                    QStringLiteral("Designed"), &tin);
            writer.writeEndDocument();
        });
    }
    state.counters["MB"] = static_cast<double>(fileSize(g_scene->surfaceFile)) / 1e6;
}

void BM_ExportProject(benchmark::State& state)
{
    varnel::LandXmlExportItem* item = root()->landXmlExportItem();
    varnel::LandXmlExportSetting setting;
    setting.filename = QString::fromStdString(g_scene->projectFile);
    item->setSetting(setting);
    for (auto _ : state) {
        item->writeFile();
    }
    state.counters["MB"] = static_cast<double>(fileSize(g_scene->projectFile)) / 1e6;
}

} // namespace

BENCHMARK(BM_BareFormat)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WriteSurface)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ExportProject)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv)
{
    return bench::runInProgram(
        argc, argv, "movarin_bench_landxml_export_", setUpScene,
        [](const bench::RatioReporter& reporter) {
            reporter.printRatio("BM_WriteSurface", "BM_BareFormat", "goal: under 2 s");
            reporter.printRatio("BM_ExportProject", "BM_BareFormat",
                                "goal: under 4 s (two surfaces)");
            std::printf("peak resident %.0f MB\n", bench::peakResidentMb());
        },
        [] { g_scene.reset(); });
}
