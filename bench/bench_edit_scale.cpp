// links: varnel
//
// The edit-mode road at the top of the survey range: an edit-mode project made from a survey of
// 1, 2 and 5 million points, edited, measured, exported, saved and reopened in an offscreen
// main window of 1000 x 800 pixels with a fresh workspace in the bench home.
//
// The project (made before any timing, in a process of its own whose memory does not count):
// the survey of bench_survey_scale (n points on a jittered grid of 1 m over a sine surface, 2 %
// of them on 50 breaklines) imported, copied for the TIN with its breaklines, "Create TIN",
// then "Save as Edit mode project".
//
// The road, timed step by step, each until the main view is painted with nothing pending:
//  1. open: the edit-mode archive opened;
//  2. "Convex (Add)" along a path of 20 vertices over 200 m at the TIN's centre (the same path
//     at every size: the view shows the same 320 m square around the centre), Return; its
//     undo; its redo;
//  3. the surface's middle vertex dragged 5 m north with "Batch Apply" on, "Apply Edit"; its
//     undo;
//  4. a brush stroke of 100 moves 1 m apart south of the path (each move timed: p50 and p95)
//     and its commit with Return;
//  5. a cross section across the mold surface and the stroke, its window opened until it has
//     painted;
//  6. "Calculate Soil Volume" over the whole surface ("Execute");
//  7. Export > LandXML; Export > Zindral Grid data (the dialogs answered, not timed apart);
//  8. Save; the project closed and the archive opened again.
// Bare baselines in the same run, on the same input, in a process of their own: the bare
// `TinModifier::add` of the same extended TIN into a copy of the edited TIN (Return, the
// vertex-drag apply); unzip of the saved archive plus the TIN archive reader on both saved
// ".tin" files (open, reopen); `calculateDifferences` of the two TINs read (soil volume);
// `snprintf` of every number the LandXML file holds, the points' ids and "y x z" and the faces'
// corner numbers of both surfaces (LandXML export).
//
// The road runs twice per size, each in a process of its own (forked before any Qt object
// exists, so that each starts from a fresh heap and its peak resident size is its own); each
// step reports its best. After the road, outside the timing, the reopened project must hold
// the same surfaces (captions in order), edited TIN (vertex triples as a set, triangle count)
// and section rows (current and base) as before the save. The run also notes whether the wait
// cursor was up whenever the event loop turned or a view painted while a step's action ran
// ("yes", "NO", or "-" for an action that did neither).
//
// Options (before Google Benchmark's own): --sizes=1000000,2000000 runs only those sizes.
// Memory: at 5 million points a road needs about 10 GB.
// The last line reads "<n> points: edit road <s> s, peak <MB> MB" for the largest size run.
// BenchSupport.h (orlin) comes before any Qt header: Qt's keyword macros would spoil it.
#include "BenchSupport.h"

#include "brask/core/Model.h"
#include "brask/core/View.h"
#include "movarin/sections/CalculateSoilVolumeDialog.h"
#include "movarin/sections/CrossSectionDialog.h"
#include "movarin/sections/CrossSectionGroupItem.h"
#include "movarin/sections/CrossSectionGroupItemController.h"
#include "movarin/sections/CrossSectionItem.h"
#include "movarin/sections/CrossSectionItemController.h"
#include "movarin/sections/GeoDataGroupItem.h"
#include "movarin/sections/GeoDataGroupItemController.h"
#include "movarin/sections/GeoDataTopForEditItem.h"
#include "movarin/shell/CreateModeMainWindow.h"
#include "movarin/shell/CreateModeMainWindowModel.h"
#include "movarin/shell/CreateModeMainWindowModelRootItem.h"
#include "movarin/shell/EditModeMainWindow.h"
#include "movarin/shell/EditModeMainWindowModel.h"
#include "movarin/shell/EditModeMainWindowModelRootItem.h"
#include "movarin/shell/MainWindow.h"
#include "movarin/shell/MainWindowActionManager.h"
#include "movarin/shell/Project.h"
#include "movarin/shell/ProjectFile.h"
#include "movarin/surfaces/GeoEditSurfaceGroupItem.h"
#include "movarin/surfaces/GeoEditSurfaceGroupItemController.h"
#include "movarin/surfaces/GeoEditSurfaceItem.h"
#include "movarin/surfaces/GeoEditSurfaceItemController.h"
#include "movarin/surfaces/GeoEditSurfaceItemI.h"
#include "movarin/surfaces/MoldGroupItem.h"
#include "movarin/surfaces/MoldGroupItemWidget.h"
#include "movarin/surfaces/MoldItem.h"
#include "movarin/surfaces/MoldsContainer.h"
#include "movarin/surfaces/MoldsContainerBrowser.h"
#include "movarin/surfaces/MoldsContainerWidget.h"
#include "movarin/survey/BreaklineItem.h"
#include "movarin/survey/CoordinatePointsForTinItem.h"
#include "movarin/survey/CoordinatePointsForTinItemController.h"
#include "movarin/survey/CoordinatePointsGroupItem.h"
#include "movarin/survey/CoordinatePointsGroupItemController.h"
#include "movarin/survey/CoordinatePointsItem.h"
#include "movarin/survey/CoordinatePointsItemController.h"
#include "movarin/survey/ReadOnlyTinItem.h"
#include "movarin/survey/TinItem.h"

#include "orlin/core/PointFactory.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"
#include "orlin/io/TinTinImporter.h"
#include "orlin/support/HashMix.h"
#include "orlin/util/TinModifier.h"

#include <guimisc/UserDialogScript.h>

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QStandardItem>
#include <QTimer>
#include <QUndoStack>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
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

constexpr int kBreaklines = 50;
constexpr int kRoadRuns = 2;
constexpr int kBareRuns = 2;
constexpr double kX0 = 120000.0;
constexpr double kY0 = -35000.0;
constexpr int kPathVertices = 20;
constexpr double kPathLength = 200.0;
constexpr double kShown = 320.0;  // the side of the square the view shows
constexpr int kBrushMoves = 100;

// The timed steps, in road order.
enum Step {
    Open,
    MoldReturn,
    MoldUndo,
    MoldRedo,
    DragApply,
    DragUndo,
    BrushMoveP50,
    BrushMoveP95,
    BrushCommit,
    SectionWindow,
    SoilVolume,
    LandXml,
    GridExport,
    Save,
    Reopen,
    kSteps
};

const char* const kStepNames[kSteps] = {
    "1 open",           "2 mold Return",     "2 mold undo",     "2 mold redo",
    "3 drag apply",     "3 drag undo",       "4 brush move p50", "4 brush move p95",
    "4 brush commit",   "5 section window",  "6 soil volume",   "7 LandXML export",
    "7 grid export",    "8 Save",            "8 close + open"};

// The interactive steps: under 0.3 s at 5 M points and at most 1.3 times their time at 1 M.
bool interactive(int k)
{
    return (k >= MoldReturn && k <= BrushCommit && k != BrushMoveP50) || k == SectionWindow;
}

// The baselines, and which one each step is set beside (-1: none).
enum Bare { BareAdd, BareReads, BareDifferences, BareFormat, kBares };
const char* const kBareNames[kBares] = {"TinModifier::add", "unzip + 2 TIN reads",
                                        "calculateDifferences", "snprintf of numbers"};
int bareOf(int step)
{
    switch (step) {
    case Open:
    case Reopen:
        return BareReads;
    case MoldReturn:
    case DragApply:
        return BareAdd;
    case SoilVolume:
        return BareDifferences;
    case LandXml:
        return BareFormat;
    default:
        return -1;
    }
}

const bench::ScratchDir scratchDir("movarin_bench_edit_scale_");

// --- the survey (that of bench_survey_scale) ---------------------------------------------

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
    /// The middle of the survey, where the edits go.
    QPointF centre() const { return {kX0 + columns / 2.0, kY0 + rows / 2.0}; }
};

double surface(double x, double y)
{
    return 100.0 + 10.0 * std::sin(x / 50.0) * std::cos(y / 70.0);
}

std::string pointFile(long n)
{
    return scratchDir.file("survey" + std::to_string(n) + ".tpo");
}
/// The edit-mode archive as "Save as Edit mode project" wrote it.
std::string freshArchive(long n)
{
    return scratchDir.file("fresh" + std::to_string(n) + ".emvn");
}
/// The copy of it a road opens, edits and saves.
std::string roadArchive(long n)
{
    return scratchDir.file("road" + std::to_string(n) + ".emvn");
}

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
            visit(on ? line : -1, asWritten(x), asWritten(y), asWritten(z));
        }
    }
}

void writePointFile(long n)
{
    const std::string path = pointFile(n);
    std::ofstream out(path, std::ios::binary);
    char line[96];
    forEachSurveyPoint(n, [&](int, double x, double y, double z) {
        const int length = std::snprintf(line, sizeof line, "%.3f,%.3f,%.3f\n", x, y, z);
        out.write(line, length);
    });
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

std::vector<std::vector<PointPtr>> breaklinePoints(long n)
{
    std::vector<std::vector<PointPtr>> lines(kBreaklines);
    auto& factory = tin::core::PointFactory::instance();
    forEachSurveyPoint(n, [&](int line, double x, double y, double z) {
        if (line >= 0) {
            lines[static_cast<std::size_t>(line)].push_back(factory.factory(tin::core::Point(x, y, z)));
        }
    });
    return lines;
}

// --- the edits' geometry ------------------------------------------------------------------

/// The mold path: 20 vertices over 200 m west to east through the centre, gently waving.
std::vector<QPointF> moldPath(const QPointF& c)
{
    std::vector<QPointF> path;
    for (int i = 0; i < kPathVertices; ++i) {
        const double t = static_cast<double>(i) / (kPathVertices - 1);
        path.emplace_back(c.x() - kPathLength / 2 + kPathLength * t, c.y() + 4.0 * std::sin(6.0 * t));
    }
    return path;
}
QPointF brushPoint(const QPointF& c, int k)
{
    return {c.x() - 50.0 + k, c.y() - 60.0};
}
QPointF sectionStart(const QPointF& c)
{
    return {c.x() + 10.0, c.y() - 90.0};
}
QPointF sectionEnd(const QPointF& c)
{
    return {c.x() + 10.0, c.y() + 40.0};
}

// --- what the run sees -------------------------------------------------------------------

enum class Cursor { Unseen, Up, Down };

/// The wait cursor as the user sees it over `pointedAt` (the widget under the mouse): the
/// application's override cursor, else the cursor of the nearest of the widget and its
/// ancestors that has one of its own (an export sets the project window's, a dialog its own).
bool waitCursorUp(const QWidget* pointedAt)
{
    if (const QCursor* cursor = QApplication::overrideCursor()) {
        return cursor->shape() == Qt::WaitCursor;
    }
    for (const QWidget* w = pointedAt; w; w = w->parentWidget()) {
        if (w->testAttribute(Qt::WA_SetCursor)) {
            return w->cursor().shape() == Qt::WaitCursor;
        }
    }
    return false;
}

/// The user's own input, which the program sees before it can put any cursor up.
bool isInput(const QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
        return true;
    default:
        return false;
    }
}

/// During a step: notes every paint of a widget that `counts` accepts (by default a main
/// view); while sampling, samples the wait cursor over `pointedAt` at every event the program
/// handles but the user's input (a paint, a signal's queued call, a change of an action's
/// text...) and every turn of the event loop (a timer of 50 ms). The cursor counts as kept up
/// when every sample from 0.1 s after the action began to 0.1 s before it returned saw it,
/// as down when one of them did not; the first and last tenth of a second are the program's
/// to put it up and take it down.
class StepWatch : public QObject {
public:
    explicit StepWatch(const QWidget* pointedAt, std::function<bool(QObject*)> counts = {})
        : m_pointedAt(const_cast<QWidget*>(pointedAt)), m_counts(std::move(counts)), m_start(Clock::now())
    {
        qApp->installEventFilter(this);
        m_timer.setInterval(50);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { sample(); });
        m_timer.start();
    }
    ~StepWatch() override { qApp->removeEventFilter(this); }

    Cursor cursor() const
    {
        bool any = false;
        for (const auto& [at, up] : m_samples) {
            if (at >= m_from + 0.1 && at <= m_end - 0.1) {
                if (!up) {
                    return Cursor::Down;
                }
                any = true;
            }
        }
        return any ? Cursor::Up : Cursor::Unseen;
    }

    void pauseSampling() { m_sampling = false; }
    /// Sampling again, the step's wait counted from now.
    void resumeSampling()
    {
        m_sampling = true;
        m_from = secondsSince(m_start);
    }
    void stopSampling()
    {
        m_sampling = false;
        m_end = secondsSince(m_start);
        m_timer.stop();
    }

    /// Turns the event loop until a counted widget has painted and no paint is pending;
    /// throws after two minutes.
    void untilPainted()
    {
        const Clock::time_point start = Clock::now();
        while (!m_painted) {
            QApplication::processEvents(QEventLoop::AllEvents, 50);
            if (secondsSince(start) > 120.0) {
                throw std::runtime_error("the view was not painted");
            }
        }
        QApplication::processEvents();
    }

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (event->type() == QEvent::Paint
            && (m_counts ? m_counts(object) : qobject_cast<mvc::core::View*>(object) != nullptr)) {
            m_painted = true;
        }
        if (!isInput(event)) {
            sample();
        }
        return false;
    }

private:
    void sample()
    {
        if (m_sampling) {
            m_samples.emplace_back(secondsSince(m_start), waitCursorUp(m_pointedAt));
        }
    }

    QPointer<QWidget> m_pointedAt;  // the step may close its window
    std::function<bool(QObject*)> m_counts;
    Clock::time_point m_start;
    QTimer m_timer;
    bool m_painted = false;
    bool m_sampling = true;
    double m_from = 0.0;
    double m_end = 0.0;
    std::vector<std::pair<double, bool>> m_samples;
};

/// Answers the next modal dialog from inside its event loop: `answer(dialog)` once.
class ModalAnswer : public QObject {
public:
    explicit ModalAnswer(std::function<void(QWidget*)> answer) : m_answer(std::move(answer))
    {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (QWidget* dialog = QApplication::activeModalWidget()) {
                m_timer.stop();
                m_answer(dialog);
                m_answered = true;
            }
        });
        m_timer.start();
    }
    bool answered() const { return m_answered; }

private:
    std::function<void(QWidget*)> m_answer;
    QTimer m_timer;
    bool m_answered = false;
};

void clickOk(QWidget* dialog)
{
    dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
}

/// What the reopened project must hold again.
struct Content {
    std::uint64_t surfaces = 0;
    std::uint64_t captionHash = 0;
    std::uint64_t triangles = 0;
    std::uint64_t vertices = 0;
    std::uint64_t vertexHash = 0;
    std::uint64_t sectionRows = 0;
    std::uint64_t sectionHash = 0;

    bool operator==(const Content& o) const
    {
        return surfaces == o.surfaces && captionHash == o.captionHash && triangles == o.triangles
               && vertices == o.vertices && vertexHash == o.vertexHash
               && sectionRows == o.sectionRows && sectionHash == o.sectionHash;
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

/// The TIN's vertex triples as a set: their number and an order-free sum of a hash of each
/// distinct triple.
void describeVertices(const tin::core::Tin& tin, Content& content)
{
    std::vector<std::uint64_t> hashes;
    hashes.reserve(tin.allTriangles().size() * 3);
    for (const auto& t : tin.allTriangles()) {
        for (int i = 0; i < 3; ++i) {
            hashes.push_back(hashOf(*t->point(i)));
        }
    }
    std::sort(hashes.begin(), hashes.end());
    hashes.erase(std::unique(hashes.begin(), hashes.end()), hashes.end());
    content.vertices = hashes.size();
    content.vertexHash = 0;
    for (std::uint64_t h : hashes) {
        content.vertexHash += h;
    }
}

/// The record a road process hands back (trivially copyable).
struct RoadRecord {
    double seconds[kSteps] = {};
    double peakMb[kSteps] = {};
    Cursor cursor[kSteps] = {};
    double path[kPathVertices][3] = {};  // the landed path of the mold surface
    Content saved;
    Content reopened;
};

/// Turns the event loop a few times: what an earlier step left is done.
void settle()
{
    for (int k = 0; k < 3; ++k) {
        QApplication::processEvents();
    }
}

/// A Qt application for this process (never destroyed: the process ends with the run).
void startApplication()
{
    static int argc = 1;
    static char name[] = "bench_edit_scale";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("KORV/DASEL"));
    QApplication::setApplicationName(QStringLiteral("Movarin"));
}

int runCommand(const std::string& command)
{
    return std::system(command.c_str());
}

void removeWorkspace()
{
    runCommand("rm -rf " + scratchDir.file("home") + "/.movarin_workspace");
}

/// The main window, never destroyed (the process ends with its work).
varnel::MainWindow* makeWindow()
{
    auto* window = new varnel::MainWindow;
    window->resize(1000, 800);
    window->show();
    settle();
    return window;
}

// --- the edit-mode project, made once per size ------------------------------------------

struct MadeRecord {
    std::uint64_t triangles = 0;
};

MadeRecord makeProject(int n)
{
    try {
        startApplication();
        varnel::MainWindow* window = makeWindow();
        window->newCreateProject();
        settle();
        auto* create =
            qobject_cast<varnel::CreateModeMainWindow*>(window->project()->projectWindow());
        varnel::CreateModeMainWindowModelRootItem* root = create->model()->rootItem();
        {
            guimisc::UserDialogScript script;
            script.answerFile(QString::fromStdString(pointFile(n)),
                              varnel::CoordinatePointsGroupItem::fileFilters().at(3));
            root->coordinatePointsGroupItem()->controller()->importData();
        }
        const auto& children = root->coordinatePointsGroupItem()->childItems();
        if (children.size() != 1) {
            throw std::runtime_error("the import did not give one item");
        }
        auto* imported = static_cast<varnel::CoordinatePointsItem*>(children.front());
        auto* points = static_cast<varnel::CoordinatePointsItemController*>(imported->controller());
        points->selectAllAction()->trigger();
        points->copyToPointsForTinAction()->trigger();
        for (const std::vector<PointPtr>& line : breaklinePoints(n)) {
            root->coordinatePointsForTinItem()->controller()->addBreakline(line);
        }
        {
            guimisc::UserDialogScript script;
            script.answer(QMessageBox::No);
            root->coordinatePointsForTinItem()->controller()->createTinAction()->trigger();
        }
        MadeRecord made;
        if (const tin::core::Tin* tin = root->tinItem()->tin()) {
            made.triangles = tin->allTriangles().size();
        }
        if (made.triangles == 0) {
            throw std::runtime_error("no TIN was created");
        }
        guimisc::UserDialogScript script;
        script.answer(QMessageBox::No);
        script.answerFile(QString::fromStdString(freshArchive(n)));
        if (!window->saveProjectAsEdit()
            || !qobject_cast<varnel::EditModeMainWindow*>(window->project()->projectWindow())) {
            throw std::runtime_error("the project was not saved as an edit-mode project");
        }
        return made;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "project of %d points: %s\n", n, e.what());
        throw;
    }
}

// --- the road ----------------------------------------------------------------------------

class Road {
public:
    explicit Road(long n) : m_n(n), m_centre(Layout(n).centre()), m_window(makeWindow()) {}

    RoadRecord run()
    {
        RoadRecord r;
        step(r, Open, [&] { open(); });
        showEditedPart();

        // 2. the mold surface
        pickConvexAdd();
        surfaceController()->geoEditSurfaceAction()->trigger();
        for (const QPointF& p : moldPath(m_centre)) {
            clickAt(p);
        }
        const int before = undoStack()->count();
        step(r, MoldReturn, [&] { key(Qt::Key_Return); });
        if (undoStack()->count() != before + 1 || surfaces().size() != 1) {
            throw std::runtime_error("Return made no surface");
        }
        auto* mold = qobject_cast<varnel::GeoEditSurfaceItem*>(surfaces().front());
        if (!mold || mold->path().size() != static_cast<std::size_t>(kPathVertices)) {
            throw std::runtime_error("the mold surface is not the path's");
        }
        for (int i = 0; i < kPathVertices; ++i) {
            const tin::core::Point& p = mold->path()[static_cast<std::size_t>(i)];
            r.path[i][0] = p.x();
            r.path[i][1] = p.y();
            r.path[i][2] = p.elevation();
        }
        step(r, MoldUndo, [&] { undoStack()->undo(); });
        if (!surfaces().empty()) {
            throw std::runtime_error("undo left the surface");
        }
        step(r, MoldRedo, [&] { undoStack()->redo(); });
        if (surfaces().size() != 1) {
            throw std::runtime_error("redo did not bring the surface back");
        }

        // 3. the vertex drag
        mold = qobject_cast<varnel::GeoEditSurfaceItem*>(surfaces().front());
        editWindow()->model()->select(mold);
        settle();
        auto* controller = static_cast<varnel::GeoEditSurfaceItemController*>(mold->controller());
        using Action = varnel::GeoEditSurfaceItemController::Action;
        controller->action(Action::BatchApplyAction)->trigger();
        const tin::core::Point& middle = mold->path()[kPathVertices / 2];
        const QPointF from(middle.x(), middle.y());
        const QPointF to = from + QPointF(0.0, 5.0);
        mouse(QEvent::MouseMove, from, Qt::NoButton, Qt::NoButton);
        mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        mouse(QEvent::MouseMove, (from + to) / 2, Qt::NoButton, Qt::LeftButton);
        mouse(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
        if (!controller->isEdited()) {
            throw std::runtime_error("the vertex drag left no pending edit");
        }
        const int entries = undoStack()->count();
        step(r, DragApply, [&] { controller->action(Action::ApplyEditAction)->trigger(); });
        if (undoStack()->count() != entries + 1) {
            throw std::runtime_error("Apply Edit put no command on the stack");
        }
        step(r, DragUndo, [&] { undoStack()->undo(); });
        controller->action(Action::BatchApplyAction)->trigger();

        // 4. the brush stroke
        editWindow()->model()->select(surfaceGroup());
        settle();
        surfaceController()->addByBrushingAction()->trigger();
        mouse(QEvent::MouseMove, brushPoint(m_centre, 0), Qt::NoButton, Qt::NoButton);
        mouse(QEvent::MouseButtonPress, brushPoint(m_centre, 0), Qt::LeftButton, Qt::LeftButton);
        std::vector<double> moves;
        for (int k = 1; k <= kBrushMoves; ++k) {
            settle();
            StepWatch watch(view());
            const Clock::time_point start = Clock::now();
            mouse(QEvent::MouseMove, brushPoint(m_centre, k), Qt::NoButton, Qt::LeftButton);
            watch.stopSampling();
            watch.untilPainted();
            moves.push_back(secondsSince(start));
        }
        mouse(QEvent::MouseButtonRelease, brushPoint(m_centre, kBrushMoves), Qt::LeftButton,
              Qt::NoButton);
        std::sort(moves.begin(), moves.end());
        r.seconds[BrushMoveP50] = moves[moves.size() / 2 - 1];
        r.seconds[BrushMoveP95] = moves[static_cast<std::size_t>(std::ceil(0.95 * moves.size())) - 1];
        r.peakMb[BrushMoveP50] = r.peakMb[BrushMoveP95] = bench::peakResidentMb();
        r.cursor[BrushMoveP50] = r.cursor[BrushMoveP95] = Cursor::Unseen;
        step(r, BrushCommit, [&] { key(Qt::Key_Return); });
        if (surfaces().size() != 2) {
            throw std::runtime_error("the brush commit made no surface");
        }

        // 5. the cross section and its window
        static_cast<varnel::CrossSectionGroupItemController*>(
            root()->crossSectionGroupItem()->controller())
            ->addAction()
            ->trigger();
        clickAt(sectionStart(m_centre));
        clickAt(sectionEnd(m_centre));
        if (!section()) {
            throw std::runtime_error("no cross section");
        }
        step(r, SectionWindow, [&] { section()->controller()->showAction()->trigger(); },
             [](QObject* o) {
                 for (auto* w = qobject_cast<QWidget*>(o); w; w = w->parentWidget()) {
                     if (qobject_cast<varnel::CrossSectionDialog*>(w)) {
                         return true;
                     }
                 }
                 return false;
             });

        // 6. the soil volume
        m_window->actionManager()->action(QStringLiteral("Calculate Soil Volume"))->trigger();
        settle();
        auto* soil = editWindow()->findChild<varnel::CalculateSoilVolumeDialog*>();
        if (!soil) {
            throw std::runtime_error("no soil volume dialog");
        }
        QPushButton* execute = nullptr;
        for (QPushButton* b : soil->findChildren<QPushButton*>()) {
            if (b->text().remove(QLatin1Char('&')) == QLatin1String("Execute")) {
                execute = b;
            }
        }
        if (!execute) {
            throw std::runtime_error("no Execute button");
        }
        step(r, SoilVolume, [&] { execute->click(); },
             [soil](QObject* o) { return o == soil || (o->parent() && o->parent()->parent() == soil); },
             false, execute);
        soil->reject();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        // 7. the exports, the grid model's reference lines drawn first
        addReferenceLines();
        const QString xml = QString::fromStdString(scratchDir.file("road" + std::to_string(m_n) + ".xml"));
        const QString grid = QString::fromStdString(scratchDir.file("grid" + std::to_string(m_n)));
        QDir().mkpath(grid);
        exportStep(r, LandXml, "LandXML", [&](guimisc::UserDialogScript& script, QWidget* dialog) {
            script.answerFile(xml);
            dialog->findChild<QWidget*>(QStringLiteral("filenameWidget"))->findChild<QPushButton*>()->click();
        });
        exportStep(r, GridExport, "Zindral Grid data",
                   [&](guimisc::UserDialogScript& script, QWidget* dialog) {
                       script.answerDirectory(grid);
                       dialog->findChild<QWidget*>(QStringLiteral("folderWidget"))
                           ->findChild<QPushButton*>()
                           ->click();
                       dialog->findChild<QLineEdit*>(QStringLiteral("riverNameEdit"))
                           ->setText(QStringLiteral("Bench"));
                       dialog->findChild<QLineEdit*>(QStringLiteral("surveyDateEdit"))
                           ->setText(QStringLiteral("2026-12-10"));
                   });
        runCommand("rm -rf " + xml.toStdString() + " " + grid.toStdString());

        // 8. Save, close and open again
        r.saved = content();
        step(r, Save, [&] { m_window->actionManager()->action(QStringLiteral("Save"))->trigger(); },
             {}, false);
        if (m_window->project()->projectFile()->isModified()) {
            throw std::runtime_error("the project was not saved");
        }
        step(r, Reopen, [&] {
            if (!m_window->closeProject()) {
                throw std::runtime_error("the project did not close");
            }
            // Close and Open are two commands: the cursor is judged from the second on.
            m_watch->resumeSampling();
            open();
        });
        section()->controller()->showAction()->trigger();
        settle();
        r.reopened = content();
        return r;
    }

private:
    /// Times `action` until a counted widget has painted (`painted`), the user pointing at
    /// `pointedAt` (by default the main view).
    template <class Action>
    void step(RoadRecord& r, int k, Action action, std::function<bool(QObject*)> counts = {},
              bool painted = true, const QWidget* pointedAt = nullptr)
    {
        settle();
        // A project window opened by the step is not there yet: the main window stands in.
        const QWidget* pointed = pointedAt ? pointedAt
                                 : editWindow() && k != Reopen ? static_cast<const QWidget*>(view())
                                                               : m_window;
        StepWatch watch(pointed, std::move(counts));
        m_watch = &watch;
        const Clock::time_point start = Clock::now();
        action();
        m_watch = nullptr;
        watch.stopSampling();
        if (painted) {
            watch.untilPainted();
        } else {
            QApplication::processEvents();
        }
        r.seconds[k] = secondsSince(start);
        r.peakMb[k] = bench::peakResidentMb();
        r.cursor[k] = watch.cursor();
    }

    /// An export through its menu action, its dialog answered by `fill` and OK (the cursor not
    /// sampled until the dialog has gone), its message box by the script.
    template <class Fill>
    void exportStep(RoadRecord& r, int k, const char* name, Fill fill)
    {
        settle();
        guimisc::UserDialogScript script;
        StepWatch watch(view());
        watch.pauseSampling();
        ModalAnswer answer([&](QWidget* dialog) {
            fill(script, dialog);
            // From the dialog gone on: what the user waits for.
            QObject::connect(qobject_cast<QDialog*>(dialog), &QDialog::finished,
                             [&watch] { watch.resumeSampling(); });
            clickOk(dialog);
        });
        const Clock::time_point start = Clock::now();
        m_window->actionManager()->action(QLatin1String(name))->trigger();
        watch.stopSampling();
        QApplication::processEvents();
        r.seconds[k] = secondsSince(start);
        r.peakMb[k] = bench::peakResidentMb();
        r.cursor[k] = watch.cursor();
        const auto boxes = script.messageBoxes();
        if (!answer.answered() || boxes.size() != 1
            || boxes.front().kind != guimisc::UserDialogs::Kind::Information) {
            std::string said;
            for (const auto& box : boxes) {
                said += " \"" + box.text.toStdString() + "\"";
            }
            throw std::runtime_error(std::string(name) + " export failed:" + said);
        }
    }

    /// The five reference lines the grid model needs, each across the section, named in the
    /// object browser as a user names them.
    void addReferenceLines()
    {
        varnel::GeoDataGroupItem* reference =
            root()->geoDataTopItem()->groupItem(QStringLiteral("referenceinformation"));
        const std::pair<const char*, double> lines[] = {
            {"1", -80.0}, {"2", -70.0}, {"C", -20.0}, {"3", 20.0}, {"4", 30.0}};
        for (const auto& [name, dy] : lines) {
            static_cast<varnel::GeoDataGroupItemController*>(reference->controller())
                ->addPolylineAction()
                ->trigger();
            const double y = m_centre.y() + dy;
            for (const double dx : {-10.0, 8.0, 30.0}) {
                clickAt({m_centre.x() + dx, y + (dx == 8.0 ? 0.5 : 0.0)});
            }
            key(Qt::Key_Return);
            reference->childItems().front()->browserItem()->setText(QLatin1String(name));
        }
        settle();
        if (reference->childItems().size() != 5) {
            throw std::runtime_error("the reference lines were not all drawn");
        }
    }

    void open()
    {
        m_window->openProject(QString::fromStdString(roadArchive(m_n)));
        if (!editWindow()) {
            std::string said;
            for (const auto& box : m_hints.messageBoxes()) {
                said += " \"" + box.text.toStdString() + "\"";
            }
            throw std::runtime_error("the archive did not open:" + said);
        }
    }

    /// The view on the square around the centre, the same at every size.
    void showEditedPart()
    {
        view()->fit(QRectF(m_centre.x() - kShown / 2, m_centre.y() - kShown / 2, kShown, kShown));
        view()->updateView();
        settle();
    }

    void pickConvexAdd()
    {
        const auto molds = surfaceGroup()->moldsContainer()->group(mold::core::Mold::Add)->molds();
        for (varnel::MoldItem* m : molds) {
            if (m->name() == QLatin1String("Convex (Add)")) {
                surfaceController()->moldsContainerBrowser()->moldsContainerWidget()
                    ->groupWidget(mold::core::Mold::Add)->handleItemSelection(m);
                return;
            }
        }
        throw std::runtime_error("no mold \"Convex (Add)\"");
    }

    QPoint pixel(const QPointF& world) const { return view()->conv(world).toPoint(); }

    void mouse(QEvent::Type type, const QPointF& world, Qt::MouseButton button,
               Qt::MouseButtons buttons) const
    {
        const QPoint at = pixel(world);
        QMouseEvent event(type, QPointF(at), QPointF(view()->mapToGlobal(at)), button, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(view(), &event);
    }
    void clickAt(const QPointF& world) const
    {
        mouse(QEvent::MouseMove, world, Qt::NoButton, Qt::NoButton);
        mouse(QEvent::MouseButtonPress, world, Qt::LeftButton, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, world, Qt::LeftButton, Qt::NoButton);
    }
    void key(int k) const
    {
        QKeyEvent event(QEvent::KeyPress, k, Qt::NoModifier);
        QApplication::sendEvent(view(), &event);
    }

    varnel::EditModeMainWindow* editWindow() const
    {
        return m_window->project()
                   ? qobject_cast<varnel::EditModeMainWindow*>(m_window->project()->projectWindow())
                   : nullptr;
    }
    varnel::EditModeMainWindowModelRootItem* root() const
    {
        return editWindow()->model()->rootItem();
    }
    mvc::core::View* view() const { return editWindow()->view(); }
    QUndoStack* undoStack() const { return m_window->undoStack(); }
    varnel::GeoEditSurfaceGroupItem* surfaceGroup() const
    {
        return root()->geoEditSurfaceGroupItem();
    }
    varnel::GeoEditSurfaceGroupItemController* surfaceController() const
    {
        return surfaceGroup()->groupController();
    }
    std::vector<varnel::GeoEditSurfaceItemI*> surfaces() const
    {
        std::vector<varnel::GeoEditSurfaceItemI*> found;
        for (mvc::core::ModelItem* child : surfaceGroup()->childItems()) {
            if (auto* s = qobject_cast<varnel::GeoEditSurfaceItemI*>(child)) {
                found.push_back(s);
            }
        }
        return found;
    }
    varnel::CrossSectionItem* section() const
    {
        const auto sections = root()->crossSectionGroupItem()->crossSections();
        return sections.size() == 1 ? sections.front() : nullptr;
    }

    Content content() const
    {
        Content c;
        for (varnel::GeoEditSurfaceItemI* s : surfaces()) {
            ++c.surfaces;
            c.captionHash = tin::support::mixWords(c.captionHash, qHash(s->caption()));
        }
        if (const tin::core::Tin* tin = root()->tinItem()->tin()) {
            c.triangles = tin->allTriangles().size();
            describeVertices(*tin, c);
        }
        if (varnel::CrossSectionItem* s = section()) {
            for (const auto& rows : {s->currentLhTable(false), s->baseLhTable(false)}) {
                for (const auto& row : rows) {
                    ++c.sectionRows;
                    c.sectionHash = tin::support::mixWords(
                        c.sectionHash, tin::support::mixWords(bitsOf(row.L), bitsOf(row.H)));
                }
            }
        }
        return c;
    }

    long m_n;
    QPointF m_centre;
    varnel::MainWindow* m_window;
    // Every message box of the road (a tool's hint, say) answered by its default button.
    guimisc::UserDialogScript m_hints;
    StepWatch* m_watch = nullptr;  // the running step's
};

RoadRecord runRoad(int n)
{
    alarm(1800);  // a road that hangs ends its process
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
    double seconds[kBares] = {};
    double unzipSeconds = 0;
    double readSeconds = 0;
    double peakMb = 0;
};

/// The landed mold path of the road, handed to the baselines.
double (&landedPath())[kPathVertices][3]
{
    static double path[kPathVertices][3];
    return path;
}

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

/// The numbers of a TIN's `Surface` in a LandXML file formatted with snprintf: each distinct
/// corner's id and "y x z" with three decimals, each face's three corner ids; the seconds the
/// formatting alone took.
double formatNumbers(const tin::core::Tin& tin, std::vector<char>& buffer)
{
    std::unordered_map<const tin::core::Point*, int> ids;
    ids.reserve(tin.allTriangles().size());
    for (const auto& t : tin.allTriangles()) {
        for (int i = 0; i < 3; ++i) {
            ids.emplace(t->point(i).get(), static_cast<int>(ids.size()) + 1);
        }
    }
    std::vector<const tin::core::Point*> points(ids.size());
    for (const auto& [p, id] : ids) {
        points[static_cast<std::size_t>(id - 1)] = p;
    }
    std::vector<std::array<int, 3>> faces;
    faces.reserve(tin.allTriangles().size());
    for (const auto& t : tin.allTriangles()) {
        faces.push_back({ids[t->point(0).get()], ids[t->point(1).get()], ids[t->point(2).get()]});
    }
    // Only the formatting is timed.
    const Clock::time_point start = Clock::now();
    std::size_t bytes = 0;
    char* out = buffer.data();
    const auto flush = [&] {
        if (out - buffer.data() > static_cast<std::ptrdiff_t>(buffer.size() - 256)) {
            bytes += static_cast<std::size_t>(out - buffer.data());
            out = buffer.data();
        }
    };
    for (std::size_t i = 0; i < points.size(); ++i) {
        out += std::snprintf(out, 128, "%d %.3f %.3f %.3f", static_cast<int>(i + 1), points[i]->y(),
                             points[i]->x(), points[i]->elevation());
        flush();
    }
    for (const auto& f : faces) {
        out += std::snprintf(out, 64, "%d %d %d", f[0], f[1], f[2]);
        flush();
    }
    bytes += static_cast<std::size_t>(out - buffer.data());
    benchmark::DoNotOptimize(bytes);
    return secondsSince(start);
}

BareRecord runBare(int n)
{
    try {
        startApplication();
        BareRecord r;
        {
            // The fresh project, the road's mold surface made from its landed path and
            // merged into a copy of the edited TIN.
            varnel::MainWindow* window = makeWindow();
            window->openProject(QString::fromStdString(freshArchive(n)));
            auto* edit = qobject_cast<varnel::EditModeMainWindow*>(window->project()->projectWindow());
            if (!edit) {
                throw std::runtime_error("the fresh archive did not open");
            }
            varnel::EditModeMainWindowModelRootItem* root = edit->model()->rootItem();
            varnel::GeoEditSurfaceGroupItem* group = root->geoEditSurfaceGroupItem();
            const varnel::MoldItem* mold = nullptr;
            for (varnel::MoldItem* m : group->moldsContainer()->group(mold::core::Mold::Add)->molds()) {
                if (m->name() == QLatin1String("Convex (Add)")) {
                    mold = m;
                }
            }
            std::vector<tin::core::Point> path;
            for (const auto& p : landedPath()) {
                path.emplace_back(p[0], p[1], p[2]);
            }
            std::unique_ptr<varnel::GeoEditSurfaceItem> surface(
                group->createGeoEditSurfaceItem(QStringLiteral("bare"), path, *mold));
            if (!surface) {
                throw std::runtime_error("the mold does not fit the path");
            }
            const std::vector<const geos::geom::Polygon*> outline = surface->tin()->geosPolygons();
            tin::core::Tin& edited = *root->tinItem()->tin();
            edited.findTrianglesIntersectRect(tin::core::Rect(0, 0, 1, 1));
            // The merge alone is timed, into a fresh copy each time.
            double best = 0;
            for (int k = 0; k < kBareRuns; ++k) {
                const tin::core::Tin copy(edited);
                copy.findTrianglesIntersectRect(tin::core::Rect(0, 0, 1, 1));
                bool ok = false;
                tin::core::Tin in;
                tin::core::Tin out;
                const Clock::time_point start = Clock::now();
                tin::core::Tin merged = tin::util::TinModifier::add(copy, *surface->extendedTin(),
                                                                    outline, &ok, nullptr, &in, &out);
                const double s = secondsSince(start);
                best = k == 0 ? s : std::min(best, s);
                benchmark::DoNotOptimize(&merged);
            }
            r.seconds[BareAdd] = best;
            surface.reset();
            window->project()->projectFile()->setModified(false);
            window->closeProject();
        }

        // The saved road archive: unzip and the two TIN reads, best of two; then the
        // differences and the numbers of the two TINs read.
        const std::string folder = scratchDir.file("bare" + std::to_string(n));
        const std::string archive = roadArchive(n);
        double unzip = 0;
        double read = 0;
        for (int k = 0; k < kBareRuns; ++k) {
            runCommand("rm -rf " + folder + " && mkdir -p " + folder);
            Clock::time_point start = Clock::now();
            if (runCommand("unzip -q -o " + archive + " -d " + folder) != 0) {
                throw std::runtime_error("cannot unpack " + archive);
            }
            const double u = secondsSince(start);
            start = Clock::now();
            {
                tin::core::Tin base = tin::io::TinTinImporter().importTin((folder + "/readOnlyTin.tin").c_str());
                tin::core::Tin edited = tin::io::TinTinImporter().importTin((folder + "/tin.tin").c_str());
                benchmark::DoNotOptimize(&base);
                benchmark::DoNotOptimize(&edited);
            }
            const double t = secondsSince(start);
            if (k == 0 || u + t < unzip + read) {
                unzip = u;
                read = t;
            }
        }
        r.unzipSeconds = unzip;
        r.readSeconds = read;
        r.seconds[BareReads] = unzip + read;

        const tin::core::Tin base = tin::io::TinTinImporter().importTin((folder + "/readOnlyTin.tin").c_str());
        const tin::core::Tin edited = tin::io::TinTinImporter().importTin((folder + "/tin.tin").c_str());
        r.seconds[BareDifferences] = bestOf([&] {
            bool ok = false;
            double plus = 0;
            double minus = 0;
            tin::util::TinModifier::calculateDifferences(base, edited, &ok, &plus, &minus);
            if (!ok) {
                throw std::runtime_error("the bare differences failed");
            }
            return plus - minus;
        });
        std::vector<char> buffer(1 << 20);
        double best = 0;
        for (int k = 0; k < kBareRuns; ++k) {
            const double s = formatNumbers(base, buffer) + formatNumbers(edited, buffer);
            best = k == 0 ? s : std::min(best, s);
        }
        r.seconds[BareFormat] = best;
        r.peakMb = bench::peakResidentMb();
        runCommand("rm -rf " + folder);
        return r;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "baselines of %d points: %s\n", n, e.what());
        throw;
    }
}

// --- runs and report ---------------------------------------------------------------------

struct SizeResult {
    MadeRecord made;
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
    /// The quickest road's total (the brush moves counted as 100 moves at their p50).
    double total() const
    {
        double b = 0;
        for (const RoadRecord& r : roads) {
            double sum = 0;
            for (int k = 0; k < kSteps; ++k) {
                sum += k == BrushMoveP50 ? kBrushMoves * r.seconds[k] : k == BrushMoveP95 ? 0.0 : r.seconds[k];
            }
            b = b > 0 ? std::min(b, sum) : sum;
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

void BM_Road(benchmark::State& state)
{
    const long n = state.range(0);
    SizeResult& result = results()[n];
    for (auto _ : state) {
        if (result.made.triangles == 0) {
            result.made = bench::inChild(makeProject, static_cast<int>(n), [](MadeRecord&) {});
            removeWorkspace();
        }
        runCommand("cp " + freshArchive(n) + " " + roadArchive(n));
        if (availableGb() < 12.0) {
            std::fprintf(stderr, "warning: %.1f GB available\n", availableGb());
        }
        const RoadRecord r = bench::inChild(runRoad, static_cast<int>(n), [](RoadRecord&) {});
        removeWorkspace();
        result.roads.push_back(r);
        std::memcpy(landedPath(), r.path, sizeof r.path);
        double total = 0;
        for (double s : r.seconds) {
            total += s;
        }
        state.SetIterationTime(total);
        state.counters["peak_MB"] = r.peakMb[kSteps - 1];
    }
}

void BM_Bare(benchmark::State& state)
{
    const long n = state.range(0);
    SizeResult& result = results()[n];
    for (auto _ : state) {
        if (result.roads.empty()) {
            state.SkipWithError("no road ran");
            return;
        }
        result.bare = bench::inChild(runBare, static_cast<int>(n), [](BareRecord&) {});
        removeWorkspace();
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

/// The goal of a step at this size, as a short text ("" when it has none).
std::string goalOf(int k, long n)
{
    if (interactive(k)) {
        return k == MoldReturn && n == 1000000 ? "< 0.2 s" : "< 0.3 s";
    }
    if (n < 5000000) {
        return "";
    }
    switch (k) {
    case SoilVolume:
    case Reopen:
        return "< 1.5x bare";
    case LandXml:
        return "< 8 s";
    case GridExport:
        return "< 1 s";
    case Save:
        return "< 4 s";
    default:
        return "";
    }
}

void printSize(long n, const SizeResult& s)
{
    if (s.roads.empty()) {
        return;
    }
    std::printf("\n%ld points, %llu triangles (best of %zu roads; load average %s)\n", n,
                static_cast<unsigned long long>(s.made.triangles), s.roads.size(),
                loadAverage().c_str());
    std::printf("  %-18s %9s  %-22s %9s %7s %9s %7s  %s\n", "step", "time s", "bare baseline",
                "bare s", "ratio", "peak MB", "cursor", "goal");
    for (int k = 0; k < kSteps; ++k) {
        const int b = bareOf(k);
        const double bare = s.hasBare && b >= 0 ? s.bare.seconds[b] : 0.0;
        std::printf("  %-18s %9.3f  %-22s %9.3f %7.2f %9.0f %7s  %s\n", kStepNames[k], s.best(k),
                    b >= 0 ? kBareNames[b] : "-", bare, bare > 0 ? s.best(k) / bare : 0.0,
                    s.peak(k), s.cursor(k), goalOf(k, n).c_str());
    }
    std::printf("  %-18s %9.3f  (the brush moves counted 100 times at their p50)\n", "edit road",
                s.total());
    if (s.hasBare) {
        std::printf("  bare: unzip %.3f s, two TIN reads %.3f s, peak of the baselines %.0f MB\n",
                    s.bare.unzipSeconds, s.bare.readSeconds, s.bare.peakMb);
    }
    const RoadRecord& r = s.roads.back();
    std::printf("  reopened: surfaces %llu/%llu, triangles %llu/%llu, vertices %llu/%llu, "
                "section rows %llu/%llu; %s\n",
                static_cast<unsigned long long>(r.reopened.surfaces),
                static_cast<unsigned long long>(r.saved.surfaces),
                static_cast<unsigned long long>(r.reopened.triangles),
                static_cast<unsigned long long>(r.saved.triangles),
                static_cast<unsigned long long>(r.reopened.vertices),
                static_cast<unsigned long long>(r.saved.vertices),
                static_cast<unsigned long long>(r.reopened.sectionRows),
                static_cast<unsigned long long>(r.saved.sectionRows),
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
    std::printf("\n%ld against %ld points: time and peak per point, and the time's ratio "
                "(interactive steps: at most 1.3)\n",
                large, small);
    std::printf("  %-18s %9s %9s %9s\n", "step", "per point", "peak", "ratio");
    for (int k = 0; k < kSteps; ++k) {
        std::printf("  %-18s %9.2f %9.2f %9.2f%s\n", kStepNames[k], b.best(k) / a.best(k) / scale,
                    b.peak(k) / a.peak(k) / scale, b.best(k) / a.best(k),
                    interactive(k) ? "  interactive" : "");
    }
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
        double peak = 0;
        for (int k = 0; k < kSteps; ++k) {
            peak = std::max(peak, s.peak(k));
        }
        std::printf("%ld points: edit road %.3f s, peak %.0f MB\n", n, s.total(), peak);
    }
    return 0;
}
