// links: varnel
//
// A whole survey through the program at the top of its range: the create-mode road from a
// point text file to a reopened project, in an offscreen main window of 1000 x 800 pixels with
// a fresh workspace in the bench home, at 1, 2 and 5 million points.
//
// The survey (written as point text before any timing): n points on a jittered grid of 1 m
// (as near square as n allows) over a sine surface, 2 % of them on 50 breaklines, each a
// gently waving row segment of n / 2500 points.
//
// The road, timed stage by stage:
// 1. import: the points group's "Import" with the file dialog answered (tpo files), until the
//    main view, fitted to the survey, has been painted;
// 2. copy: "Select All Points" and "Copy Selected Points To Points For Tin" on the imported
//    item, then the 50 breaklines given to the points for the TIN through the breakline tool's
//    own call (`CoordinatePointsForTinItemController::addBreakline`), until painted;
// 3. Create TIN: "Create TIN" answered No, until the view is painted with the TIN;
// 4. Save As: a project archive, until the project is no longer modified;
// 5. reopen: the project closed, then the archive opened, until the main view is painted.
// "Until painted": after the action has returned, until a main view has painted and no paint
// is pending (a paint the action drew itself counts).
// Bare baselines in the same run, each on the same input: orlin's point text reader on the
// file (1); a point set filled with the same point objects (2); `convertCleanPointSet` of the
// same points and breaklines (3); the zip tool alone packing the saved work-folder files, run
// as the program runs it (4); the TIN archive reader alone on the saved ".tin" (5).
//
// Every road and every set of baselines runs in a process of its own (forked before any Qt
// object exists), so that each starts from a fresh heap and its peak resident size is its
// own; the road runs twice per size and each stage reports its best. After the road, outside
// the timing, the reopened project must hold as many points, breakline points and triangles as
// before the save, and its TIN's vertex coordinates must be the same set. The run also notes
// whether the wait cursor was up whenever the event loop turned or a view painted while a
// stage's action ran ("yes", "NO", or "-" for an action that did neither: it painted nothing
// before it returned).
//
// Options (before Google Benchmark's own): --sizes=1000000,2000000 runs only those sizes.
// The last line reads "<n> points: end to end <s> s, peak <MB> MB" for the largest size run.
// BenchSupport.h (orlin) comes before any Qt header: Qt's keyword macros would spoil it.
#include "BenchSupport.h"

#include "movarin/shell/CreateModeMainWindow.h"
#include "movarin/shell/CreateModeMainWindowModel.h"
#include "movarin/shell/CreateModeMainWindowModelRootItem.h"
#include "movarin/shell/MainWindow.h"
#include "movarin/shell/Project.h"
#include "movarin/shell/ProjectFile.h"
#include "movarin/survey/BreaklineItem.h"
#include "movarin/survey/CoordinatePointsForTinItem.h"
#include "movarin/survey/CoordinatePointsForTinItemController.h"
#include "movarin/survey/CoordinatePointsGroupItem.h"
#include "movarin/survey/CoordinatePointsGroupItemController.h"
#include "movarin/survey/CoordinatePointsItem.h"
#include "movarin/survey/CoordinatePointsItemController.h"
#include "movarin/survey/ReadOnlyTinItem.h"

#include "brask/core/View.h"
#include "orlin/core/PointFactory.h"
#include "orlin/core/PointSet.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"
#include "orlin/io/TinTinImporter.h"
#include "orlin/io/TpoPointSetImporter.h"
#include "orlin/support/HashMix.h"
#include "orlin/util/PointSetToTin.h"

#include <guimisc/UserDialogScript.h>
#include <guimisc/ZipSupport.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using PointPtr = std::shared_ptr<tin::core::Point>;
using bench::Clock;
using bench::secondsSince;

constexpr int kStages = 5;
constexpr int kBreaklines = 50;
constexpr int kRoadRuns = 2;
constexpr int kBareRuns = 2;
constexpr double kX0 = 120000.0;
constexpr double kY0 = -35000.0;

const char* const kStageNames[kStages] = {"1 import", "2 copy + breaklines", "3 Create TIN",
                                          "4 Save As", "5 close + open"};
const char* const kBareNames[kStages] = {"point text reader", "point set of the points",
                                         "convertCleanPointSet", "zip alone",
                                         "TIN archive reader"};

const bench::ScratchDir scratchDir("movarin_bench_survey_scale_");

// --- the survey ------------------------------------------------------------------------

/// The grid of n points: columns by rows, columns the largest divisor of n not above its
/// square root; each breakline a segment of n / 2500 points of one row.
struct Layout {
    int columns = 0;
    int rows = 0;
    int lineLength = 0;

    explicit Layout(long n)
    {
        for (long c = static_cast<long>(std::sqrt(static_cast<double>(n))); c > 0; --c) {
            if (n % c == 0) {
                columns = static_cast<int>(c);
                break;
            }
        }
        rows = static_cast<int>(n / columns);
        lineLength = static_cast<int>(n / (kBreaklines * 50));
        if (lineLength < 2 || lineLength > columns || rows < 2 * kBreaklines) {
            throw std::runtime_error("no survey layout for this size");
        }
    }

    /// The breakline of row j, or -1.
    int lineOfRow(int j) const
    {
        for (int k = 0; k < kBreaklines; ++k) {
            if (j == rowOfLine(k)) {
                return k;
            }
        }
        return -1;
    }
    int rowOfLine(int k) const { return static_cast<int>((k + 0.5) * rows / kBreaklines); }
    int firstColumn() const { return (columns - lineLength) / 2; }
    bool onLine(int i, int j) const
    {
        return lineOfRow(j) >= 0 && i >= firstColumn() && i < firstColumn() + lineLength;
    }
};

double surface(double x, double y)
{
    return 100.0 + 10.0 * std::sin(x / 50.0) * std::cos(y / 70.0);
}

std::string pointFile(long n)
{
    return scratchDir.file("survey" + std::to_string(n) + ".tpo");
}

std::string archiveFile(long n)
{
    return scratchDir.file("survey" + std::to_string(n) + ".cmvn");
}

/// Calls visit(i, j, line, x, y, z) for every point of the survey in file order, with the
/// coordinates as the file holds them (printed with three decimals and read back).
template <class Visit>
void forEachSurveyPoint(long n, Visit visit)
{
    const Layout layout(n);
    std::mt19937 random(17);
    std::uniform_real_distribution<double> jitter(-0.3, 0.3);
    char text[32];
    auto asWritten = [&](double v) {
        std::snprintf(text, sizeof text, "%.3f", v);
        return std::strtod(text, nullptr);
    };
    for (int j = 0; j < layout.rows; ++j) {
        const int line = layout.lineOfRow(j);
        for (int i = 0; i < layout.columns; ++i) {
            const bool on = line >= 0 && layout.onLine(i, j);
            const double x = kX0 + i + (on ? 0.0 : jitter(random));
            const double y = kY0 + j + (on ? 0.3 * std::sin(i / 40.0) : jitter(random));
            const double z = surface(x, y) + (on ? 0.5 : 0.0);
            visit(i, j, on ? line : -1, asWritten(x), asWritten(y), asWritten(z));
        }
    }
}

void writePointFile(long n)
{
    const std::string path = pointFile(n);
    std::ofstream out(path, std::ios::binary);
    char line[96];
    forEachSurveyPoint(n, [&](int, int, int, double x, double y, double z) {
        const int length = std::snprintf(line, sizeof line, "%.3f,%.3f,%.3f\n", x, y, z);
        out.write(line, length);
    });
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

/// The breaklines' points as the process holds them: the point factory's live point at each
/// breakline position (the points read from the survey file), in line order.
std::vector<std::vector<PointPtr>> breaklinePoints(long n)
{
    std::vector<std::vector<PointPtr>> lines(kBreaklines);
    auto& factory = tin::core::PointFactory::instance();
    forEachSurveyPoint(n, [&](int, int, int line, double x, double y, double z) {
        if (line >= 0) {
            lines[static_cast<std::size_t>(line)].push_back(factory.factory(tin::core::Point(x, y, z)));
        }
    });
    return lines;
}

// --- what the run sees -------------------------------------------------------------------

/// The wait cursor as a stage's samples saw it.
enum class Cursor { Unseen, Up, Down };

bool waitCursorUp()
{
    const QCursor* cursor = QApplication::overrideCursor();
    return cursor && cursor->shape() == Qt::WaitCursor;
}

/// During a stage: notes every paint of a main view; while the stage's action runs, samples
/// the wait cursor at each paint and at every turn of the event loop (a timer of 50 ms).
class StageWatch : public QObject {
public:
    StageWatch()
    {
        qApp->installEventFilter(this);
        m_timer.setInterval(50);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { sample(); });
        m_timer.start();
    }
    ~StageWatch() override { qApp->removeEventFilter(this); }

    /// What the samples showed: the wait cursor in each, not in one, or no sample taken (the
    /// action neither turned the event loop nor painted).
    Cursor cursor() const { return m_samples == 0 ? Cursor::Unseen : m_cursor ? Cursor::Up : Cursor::Down; }

    /// The action has returned: what follows is drawing what it left.
    void stopSampling()
    {
        m_sampling = false;
        m_timer.stop();
    }

    /// Turns the event loop until a main view has painted and no paint is pending; throws
    /// after a minute.
    void untilPainted()
    {
        const Clock::time_point start = Clock::now();
        while (!m_painted) {
            QApplication::processEvents(QEventLoop::AllEvents, 50);
            if (secondsSince(start) > 60.0) {
                throw std::runtime_error("the main view was not painted");
            }
        }
        QApplication::processEvents();
    }

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && qobject_cast<mvc::core::View*>(object)) {
            m_painted = true;
            sample();
        }
        return false;
    }

private:
    void sample()
    {
        if (m_sampling) {
            m_cursor = m_cursor && waitCursorUp();
            ++m_samples;
        }
    }

    QTimer m_timer;
    bool m_painted = false;
    bool m_sampling = true;
    bool m_cursor = true;
    int m_samples = 0;
};

/// What the road must find again after the reopening.
struct Content {
    std::uint64_t points = 0;
    std::uint64_t breaklinePoints = 0;
    std::uint64_t triangles = 0;
    std::uint64_t vertices = 0;
    std::uint64_t vertexHash = 0;

    bool operator==(const Content& o) const
    {
        return points == o.points && breaklinePoints == o.breaklinePoints
               && triangles == o.triangles && vertices == o.vertices && vertexHash == o.vertexHash;
    }
};

std::uint64_t bitsOf(double v)
{
    std::uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    return bits;
}

std::uint64_t hashOf(const tin::core::Point& p)
{
    return tin::support::mixWords(tin::support::mixWords(bitsOf(p.x()), bitsOf(p.y())),
                                  bitsOf(p.elevation()));
}

/// The TIN's vertex coordinates as a set: their number and a sum, in no order, of a hash
/// of each distinct vertex's x, y and elevation. Vertices are told apart by their ids when
/// these are distinct (the readers and writers number them), which needs a bit per id;
/// otherwise by their addresses, sorted.
void describeVertices(const tin::core::Tin& tin, Content& content)
{
    content.vertexHash = 0;
    content.vertices = 0;
    int top = -1;
    bool numbered = true;
    for (const auto& t : tin.allTriangles()) {
        for (int i = 0; i < 3; ++i) {
            top = std::max(top, t->point(i)->id());
            numbered = numbered && t->point(i)->id() >= 0;
        }
    }
    if (numbered) {
        std::vector<bool> seen(static_cast<std::size_t>(top) + 1);
        for (const auto& t : tin.allTriangles()) {
            for (int i = 0; i < 3; ++i) {
                const tin::core::Point& p = *t->point(i);
                if (!seen[static_cast<std::size_t>(p.id())]) {
                    seen[static_cast<std::size_t>(p.id())] = true;
                    ++content.vertices;
                    content.vertexHash += hashOf(p);
                }
            }
        }
        if (content.vertices == static_cast<std::uint64_t>(tin.pointCount())) {
            return;
        }
    }
    std::vector<const tin::core::Point*> corners;
    corners.reserve(3 * tin.allTriangles().size());
    for (const auto& t : tin.allTriangles()) {
        for (int i = 0; i < 3; ++i) {
            corners.push_back(t->point(i).get());
        }
    }
    std::sort(corners.begin(), corners.end());
    corners.erase(std::unique(corners.begin(), corners.end()), corners.end());
    content.vertices = corners.size();
    content.vertexHash = 0;
    for (const tin::core::Point* p : corners) {
        content.vertexHash += hashOf(*p);
    }
}

/// The record a road process hands back.
struct RoadRecord {
    double seconds[kStages] = {};
    double peakMb[kStages] = {};
    Cursor cursor[kStages] = {};
    double startMb = 0;
    Content saved;
    Content reopened;
};

// --- the road ----------------------------------------------------------------------------

class Road {
public:
    explicit Road(long n) : m_n(n)
    {
        m_window = new varnel::MainWindow;  // never destroyed: the process ends with the road
        m_window->resize(1000, 800);
        m_window->show();
        m_window->newCreateProject();
        settle();
    }

    RoadRecord run()
    {
        RoadRecord r;
        r.startMb = bench::peakResidentMb();
        stage(r, 0, [&] { importSurvey(); });
        // Found as the breakline tool would pick them, outside the timing.
        m_lines = breaklinePoints(m_n);
        stage(r, 1, [&] { copyForTheTin(); });
        stage(r, 2, [&] { createTin(); });
        r.saved = content();
        stage(r, 3, [&] { saveAs(); });
        stage(r, 4, [&] { reopen(); });
        r.reopened = content();
        return r;
    }

private:
    template <class Step>
    void stage(RoadRecord& r, int k, Step step)
    {
        settle();
        StageWatch watch;
        const Clock::time_point start = Clock::now();
        step();
        watch.stopSampling();
        if (k != 3) {
            watch.untilPainted();
        }
        r.seconds[k] = secondsSince(start);
        r.peakMb[k] = bench::peakResidentMb();
        r.cursor[k] = watch.cursor();
    }

    static void settle()
    {
        for (int k = 0; k < 3; ++k) {
            QApplication::processEvents();
        }
    }

    varnel::CreateModeMainWindowModelRootItem* root() const
    {
        auto* window =
            qobject_cast<varnel::CreateModeMainWindow*>(m_window->project()->projectWindow());
        if (!window) {
            throw std::runtime_error("no create-mode project window");
        }
        return window->model()->rootItem();
    }
    varnel::CoordinatePointsForTinItem* pointsForTin() const
    {
        return root()->coordinatePointsForTinItem();
    }

    void importSurvey()
    {
        guimisc::UserDialogScript script;
        script.answerFile(QString::fromStdString(pointFile(m_n)),
                          varnel::CoordinatePointsGroupItem::fileFilters().at(3));
        root()->coordinatePointsGroupItem()->controller()->importData();
        const auto& children = root()->coordinatePointsGroupItem()->childItems();
        if (!script.messageBoxes().empty() || children.size() != 1) {
            throw std::runtime_error("the import did not give one item");
        }
        m_imported = static_cast<varnel::CoordinatePointsItem*>(children.front());
    }

    void copyForTheTin()
    {
        auto* controller = static_cast<varnel::CoordinatePointsItemController*>(m_imported->controller());
        controller->selectAllAction()->trigger();
        controller->copyToPointsForTinAction()->trigger();
        for (const std::vector<PointPtr>& line : m_lines) {
            pointsForTin()->controller()->addBreakline(line);
        }
        m_lines.clear();
        if (pointsForTin()->breaklineItems().size() != static_cast<std::size_t>(kBreaklines)) {
            throw std::runtime_error("the breaklines were not all added");
        }
    }

    void createTin()
    {
        guimisc::UserDialogScript script;
        script.answer(QMessageBox::No);
        pointsForTin()->controller()->createTinAction()->trigger();
        if (!root()->tinItem()->tin() || root()->tinItem()->tin()->empty()) {
            throw std::runtime_error("no TIN was created");
        }
    }

    void saveAs()
    {
        guimisc::UserDialogScript script;
        script.answerFile(QString::fromStdString(archiveFile(m_n)));
        if (!m_window->saveProjectAs() || m_window->project()->projectFile()->isModified()) {
            throw std::runtime_error("the project was not saved");
        }
    }

    void reopen()
    {
        if (!m_window->closeProject()) {
            throw std::runtime_error("the project did not close");
        }
        m_window->openProject(QString::fromStdString(archiveFile(m_n)));
        if (!m_window->project()) {
            throw std::runtime_error("the archive did not open");
        }
    }

    Content content() const
    {
        Content c;
        varnel::CoordinatePointsForTinItem* points = pointsForTin();
        c.points = points->pointSet()->size();
        for (const varnel::BreaklineItem* line : points->breaklineItems()) {
            c.breaklinePoints += line->points().size();
        }
        if (const tin::core::Tin* tin = root()->tinItem()->tin()) {
            c.triangles = tin->allTriangles().size();
            describeVertices(*tin, c);
        }
        return c;
    }

    long m_n;
    varnel::MainWindow* m_window = nullptr;
    varnel::CoordinatePointsItem* m_imported = nullptr;
    std::vector<std::vector<PointPtr>> m_lines;
};

/// A Qt application for this process (never destroyed: the process ends with the run).
void startApplication()
{
    static int argc = 1;
    static char name[] = "bench_survey_scale";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("KORV/DASEL"));
    QApplication::setApplicationName(QStringLiteral("Movarin"));
}

RoadRecord runRoad(int n)
{
    try {
        startApplication();
        Road road(n);
        return road.run();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "road of %d points: %s\n", n, e.what());
        throw;
    }
}

// --- the bare baselines ------------------------------------------------------------------

struct BareRecord {
    double seconds[kStages] = {};
};

/// Best of kBareRuns of make(), each result dropped outside the timing.
template <class Make>
double bestOf(Make make)
{
    double best = 0;
    for (int k = 0; k < kBareRuns; ++k) {
        const Clock::time_point start = Clock::now();
        {
            auto result = make();
            const double s = secondsSince(start);
            best = k == 0 ? s : std::min(best, s);
            benchmark::DoNotOptimize(&result);
        }
    }
    return best;
}

int runCommand(const std::string& command)
{
    return std::system(command.c_str());
}

BareRecord runBare(int n)
{
    try {
        startApplication();
        BareRecord r;
        const std::string text = pointFile(n);
        r.seconds[0] = bestOf([&] { return tin::io::TpoPointSetImporter().importPointSet(text.c_str()); });

        tin::core::PointSet survey = tin::io::TpoPointSetImporter().importPointSet(text.c_str());
        const std::vector<PointPtr> all = survey.allPoints();
        r.seconds[1] = bestOf([&] {
            tin::core::PointSet copy;
            copy.addPoints(tin::core::PointSet::PointList(all.begin(), all.end()));
            if (copy.empty()) {
                throw std::runtime_error("empty copy");
            }
            return copy;
        });

        for (const std::vector<PointPtr>& line : breaklinePoints(n)) {
            for (std::size_t k = 1; k < line.size(); ++k) {
                survey.addBreakline(line[k - 1], line[k], false);
            }
        }
        r.seconds[2] = bestOf([&] {
            return tin::util::PointSetToTin::convertCleanPointSet(survey, false, false);
        });

        // The saved work-folder files, unpacked outside the timing, packed again in the
        // archive's own member order.
        const std::string folder = scratchDir.file("bare" + std::to_string(n));
        const std::string archive = archiveFile(n);
        runCommand("rm -rf " + folder + " && mkdir -p " + folder);
        if (runCommand("unzip -q -o " + archive + " -d " + folder) != 0) {
            throw std::runtime_error("cannot unpack " + archive);
        }
        QStringList members;
        {
            const std::string list = folder + ".members";
            runCommand("unzip -Z1 " + archive + " > " + list);
            std::ifstream in(list);
            for (std::string line; std::getline(in, line);) {
                if (!line.empty() && line.back() != '/') {
                    members << QString::fromStdString(line);
                }
            }
        }
        const QString packed = QString::fromStdString(folder + ".zip");
        r.seconds[3] = bestOf([&] {
            QFile::remove(packed);
            std::unique_ptr<QProcess> zip(guimisc::ZipSupport::createZipArchiveProcess(
                packed, QString::fromStdString(folder), members,
                varnel::Project::storedSuffixes()));
            if (!zip->waitForFinished(-1) || zip->exitCode() != 0) {
                throw std::runtime_error("zip failed");
            }
            return 0;
        });

        const std::string tinFile = folder + "/readOnlyTin.tin";
        survey = tin::core::PointSet();
        r.seconds[4] = bestOf([&] { return tin::io::TinTinImporter().importTin(tinFile.c_str()); });
        runCommand("rm -rf " + folder + " " + folder + ".zip " + folder + ".members");
        return r;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "baselines of %d points: %s\n", n, e.what());
        throw;
    }
}

// --- runs and report ---------------------------------------------------------------------

struct SizeResult {
    std::vector<RoadRecord> roads;
    BareRecord bare;
    bool hasBare = false;

    double best(int k) const
    {
        double b = roads.front().seconds[k];
        for (const RoadRecord& r : roads) {
            b = std::min(b, r.seconds[k]);
        }
        return b;
    }
    /// The quickest road's total.
    double endToEnd() const
    {
        double b = 0;
        for (const RoadRecord& r : roads) {
            double total = 0;
            for (double s : r.seconds) {
                total += s;
            }
            b = b > 0 ? std::min(b, total) : total;
        }
        return b;
    }
    double peak(int k) const
    {
        double p = 0;
        for (const RoadRecord& r : roads) {
            p = std::max(p, r.peakMb[k]);
        }
        return p;
    }
    const char* cursor(int k) const
    {
        const auto seen = [k](Cursor c) {
            return [k, c](const RoadRecord& r) { return r.cursor[k] == c; };
        };
        if (std::any_of(roads.begin(), roads.end(), seen(Cursor::Down))) {
            return "NO";
        }
        return std::any_of(roads.begin(), roads.end(), seen(Cursor::Up)) ? "yes" : "-";
    }
};

std::map<long, SizeResult>& results()
{
    static std::map<long, SizeResult> byPoints;
    return byPoints;
}

double availableGb()
{
    std::ifstream in("/proc/meminfo");
    std::string key;
    double kb = 0;
    while (in >> key >> kb) {
        if (key == "MemAvailable:") {
            return kb / 1024.0 / 1024.0;
        }
        in.ignore(1 << 10, '\n');
    }
    return 0;
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
    runCommand("rm -rf " + scratchDir.file("home") + "/.movarin_workspace");
}

void BM_Road(benchmark::State& state)
{
    const long n = state.range(0);
    SizeResult& result = results()[n];
    for (auto _ : state) {
        std::remove(archiveFile(n).c_str());
        if (availableGb() < 8.0) {
            std::fprintf(stderr, "warning: %.1f GB available\n", availableGb());
        }
        const RoadRecord r = bench::inChild(runRoad, static_cast<int>(n), [](RoadRecord&) {});
        removeWorkspace();
        result.roads.push_back(r);
        double total = 0;
        for (double s : r.seconds) {
            total += s;
        }
        state.SetIterationTime(total);
        state.counters["peak_MB"] = r.peakMb[kStages - 1];
    }
}

void BM_Bare(benchmark::State& state)
{
    const long n = state.range(0);
    SizeResult& result = results()[n];
    for (auto _ : state) {
        result.bare = bench::inChild(runBare, static_cast<int>(n), [](BareRecord&) {});
        result.hasBare = true;
        double total = 0;
        for (double s : result.bare.seconds) {
            total += s;
        }
        state.SetIterationTime(total);
    }
}

bool sameContent(const SizeResult& s)
{
    return std::all_of(s.roads.begin(), s.roads.end(),
                       [](const RoadRecord& r) { return r.saved == r.reopened; });
}

void printSize(long n, const SizeResult& s)
{
    if (s.roads.empty()) {
        return;
    }
    std::printf("\n%ld points (best of %zu roads; load average %s)\n", n, s.roads.size(),
                loadAverage().c_str());
    std::printf("  %-22s %9s  %-24s %9s %7s %9s %7s\n", "stage", "time s", "bare baseline", "bare s",
                "ratio", "peak MB", "cursor");
    for (int k = 0; k < kStages; ++k) {
        const double bare = s.hasBare ? s.bare.seconds[k] : 0.0;
        std::printf("  %-22s %9.3f  %-24s %9.3f %7.2f %9.0f %7s\n", kStageNames[k], s.best(k),
                    kBareNames[k], bare, bare > 0 ? s.best(k) / bare : 0.0, s.peak(k),
                    s.cursor(k));
    }
    std::printf("  %-22s %9.3f  (goal: under 30 s; peak under 5000 MB)\n", "end to end",
                s.endToEnd());
    const RoadRecord& r = s.roads.back();
    std::printf("  reopened: points %llu/%llu, breakline points %llu/%llu, triangles %llu/%llu, "
                "vertices %llu/%llu, vertex set %s\n",
                static_cast<unsigned long long>(r.reopened.points),
                static_cast<unsigned long long>(r.saved.points),
                static_cast<unsigned long long>(r.reopened.breaklinePoints),
                static_cast<unsigned long long>(r.saved.breaklinePoints),
                static_cast<unsigned long long>(r.reopened.triangles),
                static_cast<unsigned long long>(r.saved.triangles),
                static_cast<unsigned long long>(r.reopened.vertices),
                static_cast<unsigned long long>(r.saved.vertices),
                sameContent(s) ? "the same" : "DIFFERENT");
}

void printGrowth()
{
    const auto& all = results();
    if (all.size() < 2) {
        return;
    }
    const auto& [small, a] = *all.begin();
    const auto& [large, b] = *all.rbegin();
    if (a.roads.empty() || b.roads.empty()) {
        return;
    }
    const double scale = static_cast<double>(large) / static_cast<double>(small);
    std::printf("\nper point, %ld against %ld points (goal: at most 1.3):\n", large, small);
    std::printf("  %-22s %7s %7s\n", "stage", "time", "peak");
    for (int k = 0; k < kStages; ++k) {
        std::printf("  %-22s %7.2f %7.2f\n", kStageNames[k], b.best(k) / a.best(k) / scale,
                    b.peak(k) / a.peak(k) / scale);
    }
    std::printf("  %-22s %7.2f %7.2f\n", "end to end", b.endToEnd() / a.endToEnd() / scale,
                b.peak(kStages - 1) / a.peak(kStages - 1) / scale);
}


} // namespace

int main(int argc, char** argv)
{
    const std::vector<long> sizes = bench::takeSizes(argc, argv, {1000000, 2000000, 5000000});
    benchmark::Initialize(&argc, argv);
    bench::useOffscreenScratchHome(scratchDir.file("home"));
    std::printf("load average at the start: %s\n", loadAverage().c_str());
    for (long n : sizes) {
        writePointFile(n);
        benchmark::RegisterBenchmark("BM_Road", BM_Road)
            ->Arg(n)
            ->Iterations(kRoadRuns)
            ->UseManualTime()
            ->Unit(benchmark::kSecond);
        benchmark::RegisterBenchmark("BM_Bare", BM_Bare)
            ->Arg(n)
            ->Iterations(1)
            ->UseManualTime()
            ->Unit(benchmark::kSecond);
    }
    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const auto& [n, s] : results()) {
        printSize(n, s);
    }
    printGrowth();
    benchmark::Shutdown();
    scratchDir.remove();
    if (!results().empty() && !results().rbegin()->second.roads.empty()) {
        const auto& [n, s] = *results().rbegin();
        std::printf("%ld points: end to end %.3f s, peak %.0f MB\n", n, s.endToEnd(),
                    s.peak(kStages - 1));
    }
    return 0;
}
