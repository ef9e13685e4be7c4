// links: varnel
//
// GeoEdit surfaces on a large edited TIN. The scene: an edit-mode project tree (a project
// without main window) whose base and edited TIN are a 708 x 708 grid (about a million
// triangles), with 20 brush surfaces of 10,082 triangles each (a 71 x 71 cell window with its
// inner nodes raised), applied one after the other along the diagonal, each overlapping the
// one before on 41 x 41 cells, so that newer surfaces took out triangles of older ones. The
// tree is saved (the TIN archives and the 20 ".geb" archives) and opened again as a project
// opens; then, timed:
// - BM_Rebind: the added triangles read from the 20 archives rebound to the live ones, front
//   to back (`AddedTriangleRebinder`, what opening a project does for each surface);
// - BM_OpenSurfaceGroup: the surface group read from its element as a project opens it (the
//   20 archives read, the surfaces made and rebound), for information;
// - BM_OverlapTests: the overlap rule asked of every surface;
// - BM_RepaintUnchanged: a repaint of a 1000 x 800 view showing everything, nothing changed,
//   and BM_RepaintTerrainOnly: the same with the surfaces unchecked.
// Bare baseline in the same run, BM_BareTripleHash: the sorted vertex triples of the same
// triangles (every surface's added and removed ones) put into one hash set.
// Goals: rebinding under 1 s and linear (a small multiple of the bare hashing); a repaint
// with nothing changed under 100 ms.
// BenchSupport.h (orlin) comes before any Qt header: Qt's keyword macros would spoil it.
#include "BenchSupport.h"

#include "brask/core/View.h"
#include "movarin/shell/EditModeMainWindowModel.h"
#include "movarin/shell/EditModeMainWindowModelRootItem.h"
#include "movarin/shell/EditModeProject.h"
#include "movarin/shell/ProjectFile.h"
#include "movarin/shell/SettingsKeys.h"
#include "movarin/surfaces/AddedTriangleRebinder.h"
#include "movarin/surfaces/GeoEditSurfaceArchive.h"
#include "movarin/surfaces/GeoEditSurfaceByBrushItem.h"
#include "movarin/surfaces/GeoEditSurfaceGroupItem.h"
#include "movarin/survey/ReadOnlyTinItem.h"
#include "movarin/survey/TinItem.h"

#include "orlin/core/Triangle.h"

#include <QApplication>
#include <QDir>
#include <QDomDocument>
#include <QSettings>
#include <QStandardItem>
#include <QTemporaryDir>
#include <QXmlStreamWriter>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <memory>
#include <unordered_set>
#include <vector>

namespace {

constexpr int kCells = 708;
constexpr int kSurfaces = 20;
constexpr int kWindow = 71;
constexpr int kStep = 30;
const QSize kViewSize(1000, 800);

using PointPtr = std::shared_ptr<tin::core::Point>;
using varnel::EditModeMainWindowModel;

PointPtr node(double x, double y, double z)
{
    return tin::core::PointFactory::instance().factory(tin::core::Point(x, y, z), false);
}

// The project tree, made once: built, saved into the work folder and opened again.
class Scene {
public:
    Scene()
    {
        m_project = std::make_unique<varnel::EditModeProject>(m_folder.filePath(QStringLiteral("work")), nullptr);
        EditModeMainWindowModel* built = newModel();
        build(built);
        QString xml;
        QXmlStreamWriter writer(&xml);
        writer.writeStartElement(QStringLiteral("DataModel"));
        built->rootItem()->saveToProjectMainFile(&writer);
        writer.writeEndElement();
        delete built;
        m_document.setContent(xml);
        m_dataModel = m_document.documentElement();
        m_group = m_dataModel.firstChildElement(QStringLiteral("GeoEditSurfaceGroup"));
        m_opened = newModel();
        m_opened->rootItem()->loadFromProjectMainFile(m_dataModel);
        m_view.setModel(m_opened);
        m_view.resize(kViewSize);
        m_view.fit();
    }

    ~Scene()
    {
        m_view.setModel(nullptr);
        delete m_opened;
    }

    EditModeMainWindowModel* newModel()
    {
        return new EditModeMainWindowModel(nullptr, &m_view, nullptr, m_project->projectFile());
    }

    varnel::EditModeMainWindowModelRootItem* opened() const { return m_opened->rootItem(); }
    const QDomElement& groupElement() const { return m_group; }
    const QDomElement& dataModel() const { return m_dataModel; }
    mvc::core::View& view() { return m_view; }
    std::string archive(int index) const
    {
        return QDir(m_project->workFolder())
            .filePath(QStringLiteral("geoEditSurfaceGroupItem/geoedit%1.geb").arg(index))
            .toStdString();
    }

private:
    // A gently rolling grid, then the surfaces, each swapped into the edited TIN.
    static void build(EditModeMainWindowModel* model)
    {
        std::vector<PointPtr> nodes;
        nodes.reserve(static_cast<std::size_t>(kCells + 1) * (kCells + 1));
        for (int j = 0; j <= kCells; ++j) {
            for (int i = 0; i <= kCells; ++i) {
                nodes.push_back(node(i, j, 10.0 * std::sin(i / 50.0) * std::cos(j / 70.0)));
            }
        }
        auto at = [&](int i, int j) -> PointPtr& { return nodes[static_cast<std::size_t>(j) * (kCells + 1) + i]; };
        tin::core::Tin terrain;
        for (int j = 0; j < kCells; ++j) {
            for (int i = 0; i < kCells; ++i) {
                terrain.addTriangle(at(i, j), at(i + 1, j), at(i + 1, j + 1));
                terrain.addTriangle(at(i, j), at(i + 1, j + 1), at(i, j + 1));
            }
        }
        varnel::EditModeMainWindowModelRootItem* root = model->rootItem();
        root->baseTinItem()->setTin(new tin::core::Tin(terrain));
        root->tinItem()->setTin(new tin::core::Tin(terrain));
        tin::core::Tin& edited = *root->tinItem()->tin();
        varnel::GeoEditSurfaceGroupItem* group = root->geoEditSurfaceGroupItem();
        for (int k = 0; k < kSurfaces; ++k) {
            const int i0 = 20 + kStep * k;
            tin::core::Tin removed;
            for (const auto& t : edited.findTrianglesInRect(tin::core::Rect(i0, i0, i0 + kWindow, i0 + kWindow))) {
                removed.addTriangle(t);
            }
            for (int j = i0 + 1; j < i0 + kWindow; ++j) {
                for (int i = i0 + 1; i < i0 + kWindow; ++i) {
                    at(i, j) = node(i, j, at(i, j)->elevation() + 0.5);
                }
            }
            tin::core::Tin added;
            for (int j = i0; j < i0 + kWindow; ++j) {
                for (int i = i0; i < i0 + kWindow; ++i) {
                    added.addTriangle(at(i, j), at(i + 1, j), at(i + 1, j + 1));
                    added.addTriangle(at(i, j), at(i + 1, j + 1), at(i, j + 1));
                }
            }
            auto surface = group->createGeoEditSurfaceByBrushItem(QStringLiteral("BrushEdit %1").arg(k + 1),
                                                                  added, removed);
            group->attachChildAtFront(surface);
            surface->swapTriangles(removed, added);
        }
    }

    QTemporaryDir m_folder;
    mvc::core::View m_view;
    std::unique_ptr<varnel::EditModeProject> m_project;
    EditModeMainWindowModel* m_opened = nullptr;
    QDomDocument m_document;
    QDomElement m_dataModel;
    QDomElement m_group;
};

// Made on first use, dropped by main while the application object still exists.
bench::MadeOnFirstUse<Scene> theScene;

Scene& scene()
{
    return theScene.get();
}

// The archives as read when the project opens, front first.
const std::vector<varnel::GeoEditSurfaceArchive::BrushSurface>& readSurfaces()
{
    static const std::vector<varnel::GeoEditSurfaceArchive::BrushSurface> read = [] {
        std::vector<varnel::GeoEditSurfaceArchive::BrushSurface> surfaces;
        for (int k = 1; k <= kSurfaces; ++k) {
            surfaces.push_back(varnel::GeoEditSurfaceArchive::readBrushSurface(scene().archive(k)));
        }
        return surfaces;
    }();
    return read;
}

void BM_Rebind(benchmark::State& state)
{
    const auto& read = readSurfaces();
    const tin::core::Tin* edited = scene().opened()->tinItem()->tin();
    std::size_t triangles = 0;
    for (auto _ : state) {
        std::vector<tin::core::Tin> live;
        live.reserve(read.size());
        std::vector<varnel::AddedTriangleRebinder::Surface> newer;
        for (const auto& surface : read) {
            live.push_back(varnel::AddedTriangleRebinder::rebind(surface.addedTin, edited, newer));
            newer.push_back({&live.back(), &surface.removedTin});
        }
        triangles = 0;
        for (const tin::core::Tin& t : live) {
            triangles += t.allTriangles().size();
        }
        benchmark::DoNotOptimize(live);
    }
    state.counters["rebound"] = static_cast<double>(triangles);
}

void BM_BareTripleHash(benchmark::State& state)
{
    const auto& read = readSurfaces();
    using Triple = std::array<const tin::core::Point*, 3>;
    struct Hash {
        std::size_t operator()(const Triple& t) const
        {
            return std::hash<const void*>()(t[0]) ^ (std::hash<const void*>()(t[1]) << 1) ^
                   (std::hash<const void*>()(t[2]) << 2);
        }
    };
    for (auto _ : state) {
        std::unordered_set<Triple, Hash> triples;
        for (const auto& surface : read) {
            for (const tin::core::Tin* tin : {&surface.addedTin, &surface.removedTin}) {
                for (const auto& t : tin->allTriangles()) {
                    Triple key{t->point1().get(), t->point2().get(), t->point3().get()};
                    std::sort(key.begin(), key.end());
                    triples.insert(key);
                }
            }
        }
        benchmark::DoNotOptimize(triples);
    }
}

void BM_OpenSurfaceGroup(benchmark::State& state)
{
    Scene& s = scene();
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<EditModeMainWindowModel> model(s.newModel());
        varnel::EditModeMainWindowModelRootItem* root = model->rootItem();
        root->tinItem()->loadFromProjectMainFile(s.dataModel().firstChildElement(QStringLiteral("Tin")));
        state.ResumeTiming();
        root->geoEditSurfaceGroupItem()->loadFromProjectMainFile(s.groupElement());
        state.PauseTiming();
        model.reset();
        state.ResumeTiming();
    }
}

void BM_OverlapTests(benchmark::State& state)
{
    const std::vector<mvc::core::ModelItem*>& surfaces = scene().opened()->geoEditSurfaceGroupItem()->childItems();
    int overlapped = 0;
    for (auto _ : state) {
        overlapped = 0;
        for (mvc::core::ModelItem* item : surfaces) {
            overlapped += static_cast<varnel::GeoEditSurfaceItemI*>(item)->overlappingSibling() ? 1 : 0;
        }
    }
    state.counters["overlapped"] = overlapped;
}

void repaint(benchmark::State& state, bool surfaces)
{
    Scene& s = scene();
    for (mvc::core::ModelItem* item : s.opened()->geoEditSurfaceGroupItem()->childItems()) {
        item->browserItem()->setCheckState(surfaces ? Qt::Checked : Qt::Unchecked);
    }
    s.view().updateView();
    s.view().grab();
    for (auto _ : state) {
        benchmark::DoNotOptimize(s.view().grab());
    }
}

void BM_RepaintUnchanged(benchmark::State& state)
{
    repaint(state, true);
}

void BM_RepaintTerrainOnly(benchmark::State& state)
{
    repaint(state, false);
}

BENCHMARK(BM_BareTripleHash)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Rebind)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_OpenSurfaceGroup)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_OverlapTests)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_RepaintUnchanged)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_RepaintTerrainOnly)->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    QTemporaryDir home;
    bench::useOffscreenScratchHome(home.path().toStdString());
    QApplication application(argc, argv);
    QSettings().setValue(varnel::settings::graphicsShowTinEdges, true);

    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatio("BM_Rebind", "BM_BareTripleHash", "(goal: under 1 s, a small multiple)");
    reporter.printRatio("BM_OpenSurfaceGroup", "BM_BareTripleHash", "(archives read too)");
    reporter.printRatio("BM_OverlapTests", "BM_BareTripleHash", "(every surface asked)");
    reporter.printTime("BM_RepaintUnchanged", "(goal: under 100 ms)");
    reporter.printTime("BM_RepaintTerrainOnly", "(the terrain alone)");
    theScene.drop();
    benchmark::Shutdown();
    return 0;
}
