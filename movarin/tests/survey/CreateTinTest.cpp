// "Create TIN" of the points for the TIN: the question and its three answers, the TIN over
// the set's own points (plain or refined), empty and degenerate sets, crossing and deleted
// breaklines, a failing triangulation, and the wait cursor around the work and the one
// repaint of the main view.
#include "SurveyTestSupport.h"

#include "support/QtPrinters.h"

#include "movarin/survey/BreaklineItem.h"
#include "movarin/survey/CoordinatePointsForTinItem.h"
#include "movarin/survey/CoordinatePointsForTinItemController.h"
#include "movarin/survey/ReadOnlyTinItem.h"
#include "movarin/shell/ProjectFile.h"
#include "orlin/core/PointSet.h"
#include "orlin/core/Triangle.h"
#include "orlin/util/PointSetToTin.h"

#include <guimisc/UserDialogScript.h>
#include <trianglecui/TriangleProcessError.h>

#include <QAction>
#include <QApplication>
#include <QMdiSubWindow>
#include <QMenu>
#include <QStandardItem>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <set>

namespace varnel::test {
namespace {

using guimisc::UserDialogScript;
using Controller = CoordinatePointsForTinItemController;
using PointPtr = std::shared_ptr<tin::core::Point>;
using Kind = guimisc::UserDialogs::Kind;

/// Puts a triangulation in front of "Create TIN" for the life of the object.
class TriangulationSeam {
public:
    explicit TriangulationSeam(CoordinatePointsForTinItem::Triangulation triangulation)
        : m_previous(CoordinatePointsForTinItem::setTriangulation(std::move(triangulation)))
    {
    }
    ~TriangulationSeam() { CoordinatePointsForTinItem::setTriangulation(m_previous); }

private:
    CoordinatePointsForTinItem::Triangulation m_previous;
};

/// The shape of the override cursor now, or -1 without one.
int overrideCursorShape()
{
    const QCursor* cursor = QApplication::overrideCursor();
    return cursor ? cursor->shape() : -1;
}

/// An answer that closes a box and notes the override cursor's shape while it shows.
std::function<UserDialogScript::Answer(const UserDialogScript::Record&)> notingCursorShape(int* shape)
{
    return [shape](const UserDialogScript::Record&) {
        *shape = overrideCursorShape();
        return UserDialogScript::Answer{};
    };
}

double smallestAngleDegrees(const tin::core::Tin& tin)
{
    double smallest = 360.0;
    for (const auto& t : tin.allTriangles()) {
        for (int i = 0; i < 3; ++i) {
            smallest = std::min(smallest, t->angleRadian(i) * 180.0 / M_PI);
        }
    }
    return smallest;
}

class CreateTinTest : public SurveyProjectTest {
protected:
    CoordinatePointsForTinItem* item() const { return root()->coordinatePointsForTinItem(); }
    Controller* controller() const { return item()->controller(); }
    tin::core::PointSet* set() const { return item()->pointSet(); }
    ReadOnlyTinItem* tinItem() const { return root()->tinItem(); }
    bool modified() const { return project().projectFile()->isModified(); }

    PointPtr add(double x, double y, double z = 0.0)
    {
        return set()->addPoint(tin::core::Point(x, y, z));
    }
    /// An 8 by 8 grid at unit spacing, the inner points shifted by a fixed pattern of up to
    /// a fifth of the spacing: no thin triangle anywhere.
    void addGrid()
    {
        for (int i = 0; i < 8; ++i) {
            for (int j = 0; j < 8; ++j) {
                const bool inner = i > 0 && i < 7 && j > 0 && j < 7;
                const double dx = inner ? 0.2 * std::sin(3.0 * i + j) : 0.0;
                const double dy = inner ? 0.2 * std::cos(i - 2.0 * j) : 0.0;
                add(i + dx, j + dy, i + 2.0 * j);
            }
        }
    }
    /// "Create TIN" answered with `answer`; the boxes it showed.
    std::vector<UserDialogScript::Record> create(QMessageBox::StandardButton answer)
    {
        UserDialogScript script;
        script.answer(answer);
        controller()->createTin();
        EXPECT_EQ(overrideCursorShape(), -1) << "a wait cursor was left behind";
        return script.records();
    }
};

TEST_F(CreateTinTest, NoGivesThePlainTinOverTheSetsOwnPointsAsOneUndoEntry)
{
    addGrid();
    // The entry ends the context menu, after a separator.
    QMenu menu;
    controller()->addCustomMenuItems(&menu);
    const QList<QAction*> entries = menu.actions();
    ASSERT_GE(entries.size(), 2);
    EXPECT_TRUE(entries[entries.size() - 2]->isSeparator());
    QAction* action = entries.last();
    EXPECT_EQ(action, controller()->createTinAction());
    EXPECT_EQ(action->text(), "Create TIN");
    EXPECT_FALSE(action->icon().isNull());

    UserDialogScript script;
    script.answer(QMessageBox::No);
    action->trigger();
    ASSERT_EQ(script.records().size(), 1u);
    const UserDialogScript::Record& question = script.records()[0];
    EXPECT_EQ(question.kind, Kind::Information);
    EXPECT_EQ(question.title, "Information");
    EXPECT_TRUE(question.text.startsWith("Do you want to create refined TIN?\n"));
    EXPECT_EQ(question.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(question.defaultButton, QMessageBox::No);

    const tin::core::Tin* tin = tinItem()->tin();
    ASSERT_NE(tin, nullptr);
    EXPECT_EQ(verticesOf(*tin), identitiesOf(set()->allPoints()));
    // 64 points, 28 of them on the hull: 2 * 64 - 28 - 2 triangles.
    EXPECT_EQ(tin->allTriangles().size(), 98u);
    for (const auto& t : tin->allTriangles()) {
        EXPECT_GT(t->area(), 0.0);
        EXPECT_LT(t->angleRadian(0), M_PI); // counter-clockwise
    }
    EXPECT_EQ(tinItem()->browserItem()->text(), "TIN");
    ASSERT_EQ(undoStack()->count(), 1);
    EXPECT_EQ(undoStack()->text(0), "Create TIN");
    EXPECT_TRUE(modified());

    undoStack()->undo();
    EXPECT_TRUE(tinItem()->tin()->empty());
    EXPECT_FALSE(modified());
}

TEST_F(CreateTinTest, YesRefinesAndCancelKeepsWhatIsThere)
{
    // A long thin strip: its plain triangles are needles of a few degrees.
    for (double x : {0.0, 5.0, 10.0, 15.0, 20.0}) {
        add(x, 0.0, x);
        add(x, 1.0, x + 1.0);
    }
    const std::set<const tin::core::Point*> points = identitiesOf(set()->allPoints());

    create(QMessageBox::No);
    const std::set<TriangleKey> plain = trianglesOf(*tinItem()->tin());
    EXPECT_EQ(verticesOf(*tinItem()->tin()), points);
    const double plainAngle = smallestAngleDegrees(*tinItem()->tin());

    create(QMessageBox::Yes);
    const tin::core::Tin* refined = tinItem()->tin();
    const std::set<const tin::core::Point*> vertices = verticesOf(*refined);
    EXPECT_GT(vertices.size(), points.size());
    EXPECT_TRUE(std::includes(vertices.begin(), vertices.end(), points.begin(), points.end()));
    EXPECT_GT(smallestAngleDegrees(*refined), plainAngle + 10.0);
    ASSERT_EQ(undoStack()->count(), 2);

    const std::vector<UserDialogScript::Record> boxes = create(QMessageBox::Cancel);
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(tinItem()->tin(), refined);
    EXPECT_EQ(undoStack()->count(), 2);

    undoStack()->undo();
    EXPECT_EQ(trianglesOf(*tinItem()->tin()), plain);
}

TEST_F(CreateTinTest, EmptyAndCollinearSetsStoreAnEmptyTin)
{
    int triangulations = 0;
    TriangulationSeam seam([&](const tin::core::PointSet& points, bool refined) {
        ++triangulations;
        return tin::util::PointSetToTin::convertCleanPointSet(points, false, refined);
    });

    // An empty set: the warning, without the wait cursor, then an empty TIN.
    UserDialogScript script;
    int cursorAtWarning = 0;
    script.answer(QMessageBox::No).answerBy(notingCursorShape(&cursorAtWarning));
    controller()->createTin();
    ASSERT_EQ(script.records().size(), 2u);
    EXPECT_EQ(script.records()[1].kind, Kind::Warning);
    EXPECT_EQ(script.records()[1].title, "Warning");
    EXPECT_EQ(script.records()[1].text, "No point is found for creating TIN.");
    EXPECT_EQ(cursorAtWarning, -1);
    ASSERT_NE(tinItem()->tin(), nullptr);
    EXPECT_TRUE(tinItem()->tin()->empty());
    EXPECT_EQ(tinItem()->browserItem()->text(), "TIN (no data)");
    EXPECT_EQ(undoStack()->count(), 1);
    EXPECT_EQ(triangulations, 0);

    // Three collinear points: no triangle, no message beyond the question.
    add(0.0, 0.0);
    add(1.0, 1.0);
    add(2.0, 2.0);
    EXPECT_EQ(create(QMessageBox::No).size(), 1u);
    EXPECT_EQ(triangulations, 1);
    ASSERT_NE(tinItem()->tin(), nullptr);
    EXPECT_TRUE(tinItem()->tin()->empty());
    EXPECT_EQ(tinItem()->browserItem()->text(), "TIN (no data)");
    EXPECT_EQ(undoStack()->count(), 2);
    EXPECT_EQ(undoStack()->text(1), "Create TIN");
}

TEST_F(CreateTinTest, BreaklinesAreRebuiltFromTheItemsAtEveryCreation)
{
    // A rhombus whose Delaunay diagonal is the short one, top to bottom.
    const PointPtr left = add(0.0, 0.0, 1.0), right = add(10.0, 0.0, 2.0);
    const PointPtr top = add(5.0, 3.0, 3.0), bottom = add(5.0, -3.0, 4.0);
    create(QMessageBox::No);
    EXPECT_TRUE(hasEdge(*tinItem()->tin(), top, bottom));

    // Two crossing breaklines: the later child (the older line, left to right) stays.
    controller()->addBreakline({left, right});
    controller()->addBreakline({top, bottom});
    ASSERT_EQ(item()->breaklineItems().size(), 2u);
    ASSERT_EQ(item()->breaklineItems()[1]->points(), std::vector<PointPtr>({left, right}));
    create(QMessageBox::No);
    EXPECT_TRUE(hasEdge(*tinItem()->tin(), left, right));
    EXPECT_FALSE(hasEdge(*tinItem()->tin(), top, bottom));
    EXPECT_EQ(set()->allBreaklines().size(), 1u);

    // Without the left-to-right line the next creation is free of it again.
    item()->breaklineItems()[1]->controller()->deleteMeSilently();
    create(QMessageBox::No);
    EXPECT_TRUE(hasEdge(*tinItem()->tin(), top, bottom));
    EXPECT_FALSE(hasEdge(*tinItem()->tin(), left, right));
    item()->breaklineItems()[0]->controller()->deleteMeSilently();
    create(QMessageBox::No);
    EXPECT_TRUE(set()->allBreaklines().empty());
}

TEST_F(CreateTinTest, FailingTriangulationShowsTheErrorAndChangesNothing)
{
    addGrid();
    create(QMessageBox::No);
    const tin::core::Tin* before = tinItem()->tin();
    const std::set<TriangleKey> triangles = trianglesOf(*before);
    undoStack()->setClean();
    project().projectFile()->setModified(false);

    int cursorInTriangulation = -1;
    TriangulationSeam seam([&](const tin::core::PointSet&, bool) -> tin::core::Tin {
        cursorInTriangulation = overrideCursorShape();
        throw trianglecui::TriangleProcessError("Refinement exceeded its vertex budget.");
    });
    UserDialogScript script;
    int cursorAtError = 0;
    script.answer(QMessageBox::Yes).answerBy(notingCursorShape(&cursorAtError));
    controller()->createTin();

    EXPECT_EQ(cursorInTriangulation, Qt::WaitCursor);
    ASSERT_EQ(script.records().size(), 2u);
    EXPECT_EQ(script.records()[1].kind, Kind::Critical);
    EXPECT_EQ(script.records()[1].title, "Error");
    EXPECT_EQ(script.records()[1].text, "Refinement exceeded its vertex budget.");
    EXPECT_EQ(cursorAtError, -1);
    EXPECT_EQ(overrideCursorShape(), -1);
    EXPECT_EQ(tinItem()->tin(), before);
    EXPECT_EQ(trianglesOf(*before), triangles);
    EXPECT_EQ(undoStack()->count(), 1);
    EXPECT_TRUE(undoStack()->isClean());
    EXPECT_FALSE(modified());
}

/// Counts the paint events of a widget and notes the cursor at the last one.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int paints = 0;
    int cursorAtPaint = -1;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            ++paints;
            cursorAtPaint = overrideCursorShape();
        }
        return false;
    }
};

TEST_F(CreateTinTest, MainViewIsPaintedOnceUnderTheWaitCursor)
{
    addGrid();
    ProjectSession::subWindowOf(window())->show();
    view()->fit(QRectF(0.0, 0.0, 7.0, 7.0));
    QApplication::processEvents();
    ASSERT_TRUE(view()->isVisible());

    PaintCounter counter(view());
    create(QMessageBox::No);
    for (int i = 0; i < 5; ++i) {
        QApplication::processEvents();
    }
    EXPECT_EQ(counter.paints, 1);
    EXPECT_EQ(counter.cursorAtPaint, Qt::WaitCursor);
    // The picture shows the TIN: its middle is no longer the empty view's background.
    EXPECT_NE(scene().grab().pixelColor(view()->conv(QPointF(3.5, 3.5)).toPoint()),
              QColor(Qt::darkGray));
}

} // namespace
} // namespace varnel::test
