// links: varnel
//
// Projects of many items through the program: an edit-mode project of n cross sections and
// n polylines (in "Reference Information") over a small TIN, opened with "Open", saved with
// "Save" and closed in an offscreen main window of 1000 x 800 pixels, at n = 1,000, 10,000
// and 100,000.
//
// The project (made through the item classes and saved with "Save As" once per size, in a
// process of its own, before any timing): the TIN a grid of 10 m over 1 km square; section i
// from (5 + i * d, 0) to (5 + i * d, 1000) with d = 990 / n, named "S<i>"; polyline i the
// three vertices (0, 5 + i * d), (500, 6 + i * d), (1000, 5 + i * d), named "L<i>". Each
// polyline has its own geometry file, so the archive holds n + 14 members.
//
// The road, timed stage by stage:
// 1. open: "Open" answered with the archive, until it returns and the main window has
//    painted; outside the timing, the project must hold the n sections and n polylines as
//    made (counts, first and last names);
// 2. save: the project marked modified, "Save", until it returns and the project is no
//    longer modified;
// 3. close: the project closed (reported, not a goal).
// Bare baselines beside each stage, in the same process and on the same files: unzip alone
// unpacking the archive into a fresh folder of the workspace, as the program runs it (side by
// side for large members), and the bare DOM read of its "project.xml" (QDomDocument::
// setContent on the file); the zip tool alone packing those members in the archive's order,
// as the program runs it, and the bare write of the same "project.xml" (its document written
// back by QXmlStreamWriter through QSaveFile, as the program writes it). A file system makes
// files slower for a while after many were deleted, so each tool runs right beside the stage
// it is measured against, one road before it and the next after it.
//
// The goals: every size opens within 1.5 times unzip plus the bare read, and saves within
// 1.5 times zip plus the bare write; 100,000 sections open and save in under 5 s each.
//
// Every road runs in a process of its own (forked before any Qt object exists), so that each
// starts from a fresh heap; the road runs 6 times per size below 100,000 and 4 times at
// 100,000, the tools before their stages in every other road, and each stage and baseline
// reports its best.
//
// Options (before Google Benchmark's own): --sizes=1000,10000 runs only those sizes.
// The last line reads "<n> sections: open <s> s, save <s> s" for the largest size run.
// BenchSupport.h (orlin) comes before any Qt header: Qt's keyword macros would spoil it.
#include "BenchSupport.h"

#include "movarin/sections/CrossSectionGroupItem.h"
#include "movarin/sections/CrossSectionItem.h"
#include "movarin/sections/GeoDataGroupItem.h"
#include "movarin/sections/GeoDataPolylineItem.h"
#include "movarin/sections/GeoDataTopForEditItem.h"
#include "movarin/shell/EditModeMainWindow.h"
#include "movarin/shell/EditModeMainWindowModel.h"
#include "movarin/shell/EditModeMainWindowModelRootItem.h"
#include "movarin/shell/MainWindow.h"
#include "movarin/shell/MainWindowActionManager.h"
#include "movarin/shell/Project.h"
#include "movarin/shell/ProjectFile.h"

#include "orlin/core/Point.h"
#include "orlin/core/Point2D.h"
#include "orlin/core/Polyline.h"

#include <guimisc/UserDialogScript.h>
#include <guimisc/ZipDirectory.h>
#include <guimisc/ZipSupport.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QProcess>
#include <QSaveFile>
#include <QThread>
#include <QXmlStreamWriter>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using bench::Clock;
using bench::secondsSince;

// Roads per size: a file system's pauses after mass deletions come and go over seconds, so
// the smaller sizes, whose roads take a second or two, run more of them.
int roadsFor(long n)
{
    return n < 100000 ? 6 : 4;
}

const bench::ScratchDir scratchDir("movarin_bench_project_items_");

std::string archiveFile(int n)
{
    return scratchDir.file("items" + std::to_string(n) + ".emvn");
}

QString workspaceFolder()
{
    return QString::fromStdString(scratchDir.file("home") + "/.movarin_workspace");
}

/// A Qt application for this process (never destroyed: the process ends with the run).
void startApplication()
{
    static int argc = 1;
    static char name[] = "bench_project_items";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("KORV/DASEL"));
    QApplication::setApplicationName(QStringLiteral("Movarin"));
}

void settle()
{
    for (int k = 0; k < 3; ++k) {
        QApplication::processEvents();
    }
}

// --- the bare baselines ------------------------------------------------------------------

void waitFor(QProcess* process, int maxExitCode)
{
    if (!process->waitForFinished(-1) || process->exitStatus() != QProcess::NormalExit
        || process->exitCode() > maxExitCode) {
        throw std::runtime_error("the zip tool failed");
    }
}

/// Seconds of unzip alone unpacking `archive` into the fresh `folder`, as the program runs it.
double unzipAlone(const QString& archive, const QString& folder)
{
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    const int programs = qBound(1, QThread::idealThreadCount() / 2, 4);
    const Clock::time_point start = Clock::now();
    std::vector<std::unique_ptr<QProcess>> processes;
    for (QProcess* p : guimisc::ZipSupport::createUnzipArchiveProcesses(archive, folder, programs)) {
        processes.emplace_back(p);
    }
    for (const auto& p : processes) {
        waitFor(p.get(), 1);
    }
    return secondsSince(start);
}

/// Seconds of the bare DOM read of the file into `document`.
double readDom(const QString& xml, QDomDocument& document)
{
    const Clock::time_point start = Clock::now();
    QFile file(xml);
    if (!file.open(QIODevice::ReadOnly) || !document.setContent(&file)) {
        throw std::runtime_error("project.xml does not parse");
    }
    return secondsSince(start);
}

// The document written back element by element, as the program's writer writes one.
void writeElement(QXmlStreamWriter& writer, const QDomElement& element)
{
    writer.writeStartElement(element.tagName());
    const QDomNamedNodeMap attributes = element.attributes();
    for (int i = 0; i < attributes.count(); ++i) {
        const QDomAttr attribute = attributes.item(i).toAttr();
        writer.writeAttribute(attribute.name(), attribute.value());
    }
    for (QDomElement child = element.firstChildElement(); !child.isNull();
         child = child.nextSiblingElement()) {
        writeElement(writer, child);
    }
    writer.writeEndElement();
}

/// Seconds of the bare write of `document` to `path`.
double writeDom(const QDomDocument& document, const QString& path)
{
    const Clock::time_point start = Clock::now();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        throw std::runtime_error("cannot write");
    }
    QXmlStreamWriter writer(&file);
    writer.setAutoFormatting(true);
    writer.writeStartDocument(QStringLiteral("1.0"));
    writeElement(writer, document.documentElement());
    writer.writeEndDocument();
    if (!file.commit()) {
        throw std::runtime_error("cannot write");
    }
    return secondsSince(start);
}

/// Seconds of the zip tool alone packing the members of `archive`, unpacked in `folder`.
double zipAlone(const QString& archive, const QString& folder)
{
    QStringList members;
    for (const QString& name : guimisc::ZipDirectory::memberNames(archive)) {
        if (!name.endsWith(QLatin1Char('/'))) {
            members << name;
        }
    }
    const QString packed = QDir(folder).filePath(QStringLiteral("packed.zip"));
    QFile::remove(packed);
    const Clock::time_point start = Clock::now();
    std::unique_ptr<QProcess> zip(guimisc::ZipSupport::createZipArchiveProcess(
        packed, folder, members, varnel::Project::storedSuffixes()));
    waitFor(zip.get(), 0);
    const double s = secondsSince(start);
    QFile::remove(packed);
    return s;
}

// --- the road ----------------------------------------------------------------------------

struct RoadRecord {
    double open = 0;
    double unzip = 0;
    double read = 0;
    double save = 0;
    double zip = 0;
    double write = 0;
    double close = 0;
    bool sameItems = false;
};

/// What a project shows of its items: counts and the first and last names of each kind.
struct Names {
    std::size_t sections = 0;
    std::size_t polylines = 0;
    QString firstSection, lastSection, firstPolyline, lastPolyline;
    bool operator==(const Names& o) const
    {
        return sections == o.sections && polylines == o.polylines && firstSection == o.firstSection
               && lastSection == o.lastSection && firstPolyline == o.firstPolyline
               && lastPolyline == o.lastPolyline;
    }
};

class Program {
public:
    Program()
    {
        m_window = new varnel::MainWindow;  // never destroyed: the process ends with the road
        m_window->resize(1000, 800);
        m_window->show();
        settle();
    }

    /// The project of n sections and n polylines, made through the item classes and saved
    /// with "Save As" as the archive of its size.
    void makeArchive(int n)
    {
        m_window->newEditProject();
        settle();
        auto* window = qobject_cast<varnel::EditModeMainWindow*>(m_window->project()->projectWindow());
        window->setTin(bench::regularGridTin(0.0, 0.0, 10.0, 101, [](double x, double y) {
            return 20.0 + 0.01 * x + 0.002 * y;
        }));
        const double d = 990.0 / n;
        varnel::CrossSectionGroupItem* group = root()->crossSectionGroupItem();
        for (int i = 0; i < n; ++i) {
            group->attachChildAtBack(group->buildCrossSection(QStringLiteral("S%1").arg(i),
                                                              tin::core::Point(5 + i * d, 0.0),
                                                              tin::core::Point(5 + i * d, 1000.0)));
        }
        varnel::GeoDataGroupItem* lines = references();
        for (int i = 0; i < n; ++i) {
            varnel::GeoDataPolylineItem* item = lines->createPolylineItem(QStringLiteral("L%1").arg(i));
            item->setPolyline(new tin::core::Polyline({tin::core::Point2D(0.0, 5 + i * d),
                                                       tin::core::Point2D(500.0, 6 + i * d),
                                                       tin::core::Point2D(1000.0, 5 + i * d)}));
            lines->attachChildAtBack(item);
        }
        m_window->project()->projectFile()->setModified(true);
        settle();
        guimisc::UserDialogScript script;
        script.answerFile(QString::fromStdString(archiveFile(n)));
        action("Save As")->trigger();
        if (m_window->project()->projectFile()->isModified() || !script.messageBoxes().empty()) {
            throw std::runtime_error("the project was not saved");
        }
        if (!m_window->closeProject()) {
            throw std::runtime_error("the project did not close");
        }
        settle();
    }

    /// The road with its baselines beside it; `baseFirst` runs each tool before its stage.
    RoadRecord run(int n, bool baseFirst)
    {
        RoadRecord r;
        const QString archive = QString::fromStdString(archiveFile(n));
        const QString bare = QDir(workspaceFolder()).filePath(QStringLiteral("bare"));
        if (baseFirst) {
            r.unzip = unzipAlone(archive, bare);
        }
        Clock::time_point start = Clock::now();
        {
            guimisc::UserDialogScript script;
            script.answerFile(archive);
            action("Open")->trigger();
            settle();
            if (!m_window->project() || !script.messageBoxes().empty()) {
                throw std::runtime_error("the archive did not open");
            }
        }
        r.open = secondsSince(start);
        if (!baseFirst) {
            r.unzip = unzipAlone(archive, bare);
        }
        r.sameItems = names() == made(n);
        QDomDocument document;
        r.read = readDom(QDir(bare).filePath(QStringLiteral("project.xml")), document);

        if (baseFirst) {
            r.zip = zipAlone(archive, bare);
        }
        start = Clock::now();
        {
            guimisc::UserDialogScript script;
            m_window->project()->projectFile()->setModified(true);
            action("Save")->trigger();
            if (m_window->project()->projectFile()->isModified() || !script.records().empty()) {
                throw std::runtime_error("the project was not saved");
            }
        }
        r.save = secondsSince(start);
        if (!baseFirst) {
            r.zip = zipAlone(archive, bare);
        }
        r.write = writeDom(document, QDir(bare).filePath(QStringLiteral("written.xml")));

        start = Clock::now();
        if (!m_window->closeProject()) {
            throw std::runtime_error("the project did not close");
        }
        settle();
        r.close = secondsSince(start);
        QDir(bare).removeRecursively();
        return r;
    }

private:
    varnel::EditModeMainWindowModelRootItem* root() const
    {
        auto* window = qobject_cast<varnel::EditModeMainWindow*>(m_window->project()->projectWindow());
        if (!window) {
            throw std::runtime_error("no edit-mode project window");
        }
        return window->model()->rootItem();
    }
    varnel::GeoDataGroupItem* references() const
    {
        varnel::GeoDataGroupItem* group =
            root()->geoDataTopItem()->groupItem(QStringLiteral("referenceinformation"));
        if (!group) {
            throw std::runtime_error("no reference information group");
        }
        return group;
    }
    Names names() const
    {
        Names s;
        const auto& sections = root()->crossSectionGroupItem()->childItems();
        const auto& polylines = references()->childItems();
        s.sections = sections.size();
        s.polylines = polylines.size();
        if (!sections.empty()) {
            s.firstSection = sections.front()->caption();
            s.lastSection = sections.back()->caption();
        }
        if (!polylines.empty()) {
            s.firstPolyline = polylines.front()->caption();
            s.lastPolyline = polylines.back()->caption();
        }
        return s;
    }
    /// What `makeArchive(n)` made.
    static Names made(int n)
    {
        Names s;
        s.sections = s.polylines = static_cast<std::size_t>(n);
        s.firstSection = QStringLiteral("S0");
        s.lastSection = QStringLiteral("S%1").arg(n - 1);
        s.firstPolyline = QStringLiteral("L0");
        s.lastPolyline = QStringLiteral("L%1").arg(n - 1);
        return s;
    }
    QAction* action(const char* name) const
    {
        QAction* a = m_window->actionManager()->action(QLatin1String(name));
        if (!a) {
            throw std::runtime_error(std::string("no action ") + name);
        }
        return a;
    }

    varnel::MainWindow* m_window = nullptr;
};

struct Made {
    bool ok = false;
};

Made makeArchive(int n)
{
    try {
        startApplication();
        Program().makeArchive(n);
        return Made{true};
    } catch (const std::exception& e) {
        std::fprintf(stderr, "project of %d items: %s\n", n, e.what());
        throw;
    }
}

// The road's size and whether its tools run before their stages, in one int for inChild.
RoadRecord runRoad(int code)
{
    const int n = code / 2;
    try {
        startApplication();
        return Program().run(n, code % 2 == 1);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "road of %d items: %s\n", n, e.what());
        throw;
    }
}

// --- runs and report ---------------------------------------------------------------------

struct SizeResult {
    std::vector<RoadRecord> roads;

    template <class Field>
    double best(Field field) const
    {
        double b = roads.front().*field;
        for (const RoadRecord& r : roads) {
            b = std::min(b, r.*field);
        }
        return b;
    }
    bool sameItems() const
    {
        return std::all_of(roads.begin(), roads.end(), [](const RoadRecord& r) { return r.sameItems; });
    }
};

std::map<long, SizeResult>& results()
{
    static std::map<long, SizeResult> bySize;
    return bySize;
}

std::string loadAverage()
{
    std::ifstream in("/proc/loadavg");
    std::string a, b, c;
    in >> a >> b >> c;
    return a + " " + b + " " + c;
}

void removeWorkspace()
{
    QDir(workspaceFolder()).removeRecursively();
}

void BM_Road(benchmark::State& state)
{
    const long n = state.range(0);
    SizeResult& result = results()[n];
    std::remove(archiveFile(static_cast<int>(n)).c_str());
    bench::inChild(makeArchive, static_cast<int>(n), [](Made&) {});
    removeWorkspace();
    int round = 0;
    for (auto _ : state) {
        const int code = static_cast<int>(2 * n + (round++ % 2));
        const RoadRecord r = bench::inChild(runRoad, code, [](RoadRecord&) {});
        removeWorkspace();
        result.roads.push_back(r);
        state.SetIterationTime(r.save + r.open);
    }
}

void printTable()
{
    std::printf("\nbest of the roads of each size, stages and baselines; load average %s\n",
                loadAverage().c_str());
    std::printf("%8s %8s %8s %8s %8s %7s   %8s %8s %8s %8s %7s   %8s %5s  %s\n", "sections",
                "open s", "unzip s", "read s", "bare s", "ratio", "save s", "zip s", "write s",
                "bare s", "ratio", "close s", "roads", "opened");
    for (const auto& [n, s] : results()) {
        if (s.roads.empty()) {
            continue;
        }
        const double open = s.best(&RoadRecord::open);
        const double save = s.best(&RoadRecord::save);
        const double unzip = s.best(&RoadRecord::unzip);
        const double read = s.best(&RoadRecord::read);
        const double zip = s.best(&RoadRecord::zip);
        const double write = s.best(&RoadRecord::write);
        std::printf(
            "%8ld %8.3f %8.3f %8.3f %8.3f %7.2f   %8.3f %8.3f %8.3f %8.3f %7.2f   %8.3f %5zu  %s\n", n,
            open, unzip, read, unzip + read, open / (unzip + read), save, zip, write, zip + write,
            save / (zip + write), s.best(&RoadRecord::close), s.roads.size(),
            s.sameItems() ? "as made" : "DIFFERENT");
    }
    std::printf("(goals: both ratios at most 1.50; 100000 sections open and save in under 5 s)\n");
}


} // namespace

int main(int argc, char** argv)
{
    const std::vector<long> sizes = bench::takeSizes(argc, argv, {1000, 10000, 100000});
    benchmark::Initialize(&argc, argv);
    bench::useOffscreenScratchHome(scratchDir.file("home"));
    for (long n : sizes) {
        benchmark::RegisterBenchmark("BM_Road", BM_Road)
            ->Arg(n)
            ->Iterations(roadsFor(n))
            ->UseManualTime()
            ->Unit(benchmark::kSecond);
    }
    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    printTable();
    benchmark::Shutdown();
    scratchDir.remove();
    if (!results().empty() && !results().rbegin()->second.roads.empty()) {
        const auto& [n, s] = *results().rbegin();
        std::printf("%ld sections: open %.3f s, save %.3f s\n", n, s.best(&RoadRecord::open),
                    s.best(&RoadRecord::save));
    }
    return 0;
}
