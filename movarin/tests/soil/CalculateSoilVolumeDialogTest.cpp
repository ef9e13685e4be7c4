// The soil volume as the user gets it: the Tool menu's action opens the dialog, "Execute"
// fills the table, regions are drawn on the main view. Volumes are checked against closed
// forms and against an integration of the two surfaces written here with GEOS.
#include "SoilTestSupport.h"

#include "movarin/sections/CalculateSoilVolumeDialog.h"
#include "movarin/shell/MainWindowActionManager.h"
#include "orlin/core/Triangle.h"
#include "orlin/util/TinModifier.h"

#include "support/QtPrinters.h"

#include <guimisc/UserDialogScript.h>

#include <geos/geom/Coordinate.h>
#include <geos/geom/CoordinateSequence.h>
#include <geos/geom/Geometry.h>
#include <geos/geom/Polygon.h>
#include <geos/geom/LineString.h>

#include <QAction>
#include <QCoreApplication>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace varnel::test {
namespace {

using tin::core::Tin;
using Script = guimisc::UserDialogScript;

class SoilVolumeTest : public EditModeWindowTest {
protected:
    /// Opens the dialog through the Tool menu's action.
    CalculateSoilVolumeDialog* open()
    {
        QAction* action = window().actionManager()->action(QStringLiteral("Calculate Soil Volume"));
        EXPECT_TRUE(action && action->isEnabled());
        action->trigger();
        const auto dialogs = editWindow()->findChildren<CalculateSoilVolumeDialog*>();
        EXPECT_EQ(dialogs.size(), 1);
        return dialogs.isEmpty() ? nullptr : dialogs.back();
    }

    static QPushButton* button(QWidget* dialog, const QString& text)
    {
        for (QPushButton* b : dialog->findChildren<QPushButton*>()) {
            if (b->text().remove(QLatin1Char('&')) == text) {
                return b;
            }
        }
        ADD_FAILURE() << "no button " << text.toStdString();
        return nullptr;
    }
    static QRadioButton* radio(QWidget* dialog, const QString& text)
    {
        for (QRadioButton* b : dialog->findChildren<QRadioButton*>()) {
            if (b->text() == text) {
                return b;
            }
        }
        ADD_FAILURE() << "no radio button " << text.toStdString();
        return nullptr;
    }
    static void click(QPushButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
    /// On the indicator: a radio button reacts only there and on its text.
    static void click(QRadioButton* b)
    {
        QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, QPoint(8, b->height() / 2));
    }

    /// "Cut" and "Fill" as the table shows them, after its row names were checked.
    static std::pair<QString, QString> shown(QWidget* dialog)
    {
        auto table = dialog->findChild<QTableWidget*>();
        EXPECT_EQ(table->item(0, 0)->text(), "Cut");
        EXPECT_EQ(table->item(1, 0)->text(), "Fill");
        for (int row = 0; row < 2; ++row) {
            EXPECT_TRUE(table->item(row, 1)->textAlignment() & Qt::AlignRight);
        }
        return {table->item(0, 1)->text(), table->item(1, 1)->text()};
    }

    /// Sets the project's TINs and executes the whole-surface comparison; {cut, fill} as shown.
    std::pair<QString, QString> wholeVolumes(const Tin& base, const Tin& edited)
    {
        setTins(base, edited);
        return wholeVolumes();
    }
    /// The whole-surface comparison of the project's TINs as they are.
    std::pair<QString, QString> wholeVolumes()
    {
        CalculateSoilVolumeDialog* dialog = open();
        Script script;
        click(button(dialog, "Execute"));
        EXPECT_TRUE(script.records().empty());
        const auto result = shown(dialog);
        dialog->reject();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return result;
    }

    using Volumes = std::pair<QString, QString>;
    static Volumes volumes(const char* cut, const char* fill) { return {cut, fill}; }
};

double raise2(double, double) { return 2.0; }

TEST_F(SoilVolumeTest, WholeSurfacesAgreeWithClosedForms)
{
    // Cut is where the edited surface lies below the base, Fill where above.
    EXPECT_EQ(wholeVolumes(levelSquare(0, 3), levelSquare(2, 4)), volumes("0.000", "200.000"));
    EXPECT_EQ(wholeVolumes(levelSquare(2, 4), levelSquare(0, 3)), volumes("200.000", "0.000"));
    const Tin same = levelSquare(1, 2);
    EXPECT_EQ(wholeVolumes(same, same), volumes("0.000", "0.000"));
    EXPECT_EQ(wholeVolumes(levelSquare(1, 5), levelSquare(1, 3)), volumes("0.000", "0.000"));

    // z = x - 5 over the flat ground: half below, half above, with and without vertices on
    // the line where the two cross.
    auto tilt = [](double x, double) { return x - 5; };
    EXPECT_EQ(wholeVolumes(levelSquare(0, 3), gridTin(0, 0, 10, 10, 4, 3, tilt)),
              volumes("125.000", "125.000"));
    EXPECT_EQ(wholeVolumes(levelSquare(0, 2), gridTin(0, 0, 10, 10, 3, 3, tilt)),
              volumes("125.000", "125.000"));

    // A pyramid of height 3 on the square: 100 h / 3.
    Tin pyramid;
    const tin::core::Point apex(5.0, 5.0, 3.0), corners[] = {{0.0, 0.0}, {10.0, 0.0}, {10.0, 10.0}, {0.0, 10.0}};
    for (int k = 0; k < 4; ++k) {
        pyramid.addTriangle(corners[k], corners[(k + 1) % 4], apex);
    }
    EXPECT_EQ(wholeVolumes(levelSquare(0, 1), pyramid), volumes("0.000", "100.000"));

    // Two parallel planes 1 m apart, their cells split along opposite diagonals.
    auto plane = [](double x, double y) { return 0.5 * x + 0.25 * y; };
    EXPECT_EQ(wholeVolumes(gridTin(0, 0, 10, 10, 2, 2, plane, [](int, int) { return true; }),
                           gridTin(0, 0, 10, 10, 2, 2, [&](double x, double y) { return plane(x, y) + 1; },
                                   [](int, int) { return false; })),
              volumes("0.000", "100.000"));

    // Only the area both cover counts.
    EXPECT_EQ(wholeVolumes(levelSquare(0, 2), gridTin(5, 0, 15, 10, 3, 3, [](double, double) { return 1.0; })),
              volumes("0.000", "50.000"));
}

TEST_F(SoilVolumeTest, MissingTinsCountAsEmptyAndAFreshDialogShowsZero)
{
    CalculateSoilVolumeDialog* dialog = open();
    EXPECT_EQ(shown(dialog), volumes("0.000", "0.000"));
    Script script;
    click(button(dialog, "Execute"));
    EXPECT_TRUE(script.records().empty());
    EXPECT_EQ(shown(dialog), volumes("0.000", "0.000"));
    dialog->reject();
}

// A 2 m raise over the square, the dialog open on "Selected region".
class RegionTest : public SoilVolumeTest {
protected:
    void SetUp() override
    {
        SoilVolumeTest::SetUp();
        setTins(levelSquare(0, 3), gridTin(0, 0, 10, 10, 5, 5, raise2));
        alignView();
        m_dialog = open();
        QPushButton* select = button(m_dialog, "Select region");
        EXPECT_FALSE(select->isEnabled());
        click(radio(m_dialog, "Selected region"));
        EXPECT_TRUE(select->isEnabled());
        click(radio(m_dialog, "Whole"));
        EXPECT_FALSE(select->isEnabled());
        click(radio(m_dialog, "Selected region"));
    }
    void TearDown() override
    {
        if (m_dialog) {
            m_dialog->reject();
        }
        SoilVolumeTest::TearDown();
    }

    /// "Select region", `draw` on the main view, Return.
    void drawRegion(const std::function<void()>& draw)
    {
        click(button(m_dialog, "Select region"));
        EXPECT_FALSE(m_dialog->isVisible());
        draw();
        key(Qt::Key_Return);
        EXPECT_TRUE(m_dialog->isVisible());
    }
    void drawRegion(const std::vector<QPointF>& corners)
    {
        drawRegion([&] {
            for (const QPointF& p : corners) {
                moveAndClick(p.x(), p.y());
            }
            moveTo(5, 5);
        });
    }
    /// "Execute"; the one message box it shows as {title, text}, or empty ones.
    std::pair<QString, QString> execute()
    {
        Script script;
        click(button(m_dialog, "Execute"));
        EXPECT_LE(script.messageBoxes().size(), 1u);
        for (const auto& box : script.records()) {
            EXPECT_EQ(box.kind, box.title == "Error" ? guimisc::UserDialogs::Kind::Critical
                                                     : guimisc::UserDialogs::Kind::Warning);
        }
        return script.records().empty()
                   ? std::pair<QString, QString>()
                   : std::pair<QString, QString>(script.records()[0].title, script.records()[0].text);
    }

    QPointer<CalculateSoilVolumeDialog> m_dialog;
};

using Box = std::pair<QString, QString>;

TEST_F(RegionTest, RegionsCountTheirInsideOnly)
{
    const struct {
        const char* name;
        std::vector<QPointF> corners;
        const char* fill;
    } regions[] = {
        {"square", {{2, 2}, {4, 2}, {4, 4}, {2, 4}}, "8.000"},
        {"triangle", {{1, 1}, {9, 1}, {1, 9}}, "64.000"},
        {"half outside", {{8, 2}, {12, 2}, {12, 4}, {8, 4}}, "8.000"},
    };
    for (const auto& region : regions) {
        SCOPED_TRACE(region.name);
        drawRegion(region.corners);
        EXPECT_EQ(execute(), Box());
        EXPECT_EQ(shown(m_dialog), volumes("0.000", region.fill));
    }
}

TEST_F(RegionTest, RegionsThatEncloseNothingAreRefusedAndKeepTheValues)
{
    EXPECT_EQ(execute(), Box("Warning", "No region is selected."));
    click(radio(m_dialog, "Whole"));
    ASSERT_EQ(execute(), Box());
    click(radio(m_dialog, "Selected region"));
    const std::vector<std::vector<QPointF>> degenerate = {
        {{2, 2}, {4, 4}},         // two points
        {{2, 2}, {4, 4}, {4, 4}}, // two distinct points
        {{1, 1}, {3, 3}, {5, 5}}, // nothing inside
    };
    for (const auto& corners : degenerate) {
        SCOPED_TRACE(corners.size());
        drawRegion(corners);
        EXPECT_EQ(execute(), Box("Error", "Calculation failed."));
        EXPECT_EQ(shown(m_dialog), volumes("0.000", "200.000"));
    }
}

TEST_F(RegionTest, DrawingFixesTakesBackAndReplacesVertices)
{
    // The fill over the region is twice its area: the drawn polygon read back from the volume.
    // Escape takes back the vertex last fixed, the rubber band with it: the square remains.
    drawRegion([&] {
        for (const QPointF& p : {QPointF(2, 2), QPointF(6, 2), QPointF(6, 6), QPointF(9, 9)}) {
            moveAndClick(p.x(), p.y());
        }
        moveTo(8, 3);
        key(Qt::Key_Escape);
        moveAndClick(2, 6);
    });
    execute();
    EXPECT_EQ(shown(m_dialog).second, "32.000");
    // A second press without a move replaces the vertex the first one fixed.
    drawRegion([&] {
        moveAndClick(2, 2);
        moveAndClick(9, 9);
        clickAt(4, 2);
        moveAndClick(4, 4);
        moveAndClick(2, 4);
    });
    execute();
    EXPECT_EQ(shown(m_dialog).second, "8.000");
    // A double click ends the drawing at its vertex.
    click(button(m_dialog, "Select region"));
    moveAndClick(1, 1);
    moveAndClick(3, 1);
    moveAndClick(3, 3);
    sendMouse(QEvent::MouseButtonDblClick, 3, 3);
    EXPECT_TRUE(m_dialog->isVisible());
    execute();
    EXPECT_EQ(shown(m_dialog).second, "4.000");
}

TEST_F(SoilVolumeTest, DialogSurvivesTheDrawingAndTakesItsToolAlongWhenClosed)
{
    setTins(levelSquare(0, 1), levelSquare(2, 1));
    alignView();
    for (const bool closeWhileDrawing : {false, true}) {
        SCOPED_TRACE(closeWhileDrawing ? "closed while drawing" : "closed after drawing");
        QPointer<CalculateSoilVolumeDialog> dialog = open();
        click(radio(dialog, "Selected region"));
        click(button(dialog, "Select region"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ASSERT_FALSE(dialog.isNull()) << "hidden, not finished";
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_NE(view()->selectionHelper(), nullptr);
        moveAndClick(2, 2);
        moveAndClick(4, 2);
        moveAndClick(4, 4);
        if (closeWhileDrawing) {
            dialog->reject();
        } else {
            key(Qt::Key_Return);
            EXPECT_TRUE(dialog->isVisible());
            EXPECT_TRUE(dialog->isModal());
            click(button(dialog, "Close"));
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(dialog.isNull());
        EXPECT_EQ(view()->selectionHelper(), nullptr);
        // The view paints and takes input as before.
        viewImage();
        moveAndClick(5, 5);
    }
}

TEST_F(SoilVolumeTest, ClosingTheProjectWhileARegionIsDrawnLeavesNothingBehind)
{
    setTins(levelSquare(0, 1), levelSquare(2, 1));
    alignView();
    QPointer<CalculateSoilVolumeDialog> dialog = open();
    click(radio(dialog, "Selected region"));
    click(button(dialog, "Select region"));
    moveAndClick(2, 2);
    moveAndClick(4, 2);
    Script script;
    script.answer(QMessageBox::No);
    ASSERT_TRUE(window().closeProject());
    EXPECT_TRUE(dialog.isNull());
}

// --- an oracle of its own ---------------------------------------------------------------

// The plane through a triangle's corners, z = a x + b y + c.
struct Plane {
    double a = 0, b = 0, c = 0;
    explicit Plane(const tin::core::Triangle& t)
    {
        const auto& p = *t.point1();
        const auto& q = *t.point2();
        const auto& r = *t.point3();
        const double ux = q.x() - p.x(), uy = q.y() - p.y(), uz = q.elevation() - p.elevation();
        const double vx = r.x() - p.x(), vy = r.y() - p.y(), vz = r.elevation() - p.elevation();
        const double det = ux * vy - uy * vx;
        a = (uz * vy - uy * vz) / det;
        b = (ux * vz - uz * vx) / det;
        c = p.elevation() - a * p.x() - b * p.y();
    }
};

struct CutAndFill {
    double cut = 0;
    double fill = 0;
};

// The part of a convex polygon where a x + b y + c >= 0 (Sutherland-Hodgman against one line).
std::vector<QPointF> clipToPositive(const std::vector<QPointF>& polygon, double a, double b, double c)
{
    std::vector<QPointF> out;
    auto value = [&](const QPointF& p) { return a * p.x() + b * p.y() + c; };
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        const QPointF& p = polygon[i];
        const QPointF& q = polygon[(i + 1) % polygon.size()];
        const double vp = value(p), vq = value(q);
        if (vp >= 0) {
            out.push_back(p);
        }
        if ((vp >= 0) != (vq >= 0)) {
            out.push_back(p + (q - p) * (vp / (vp - vq)));
        }
    }
    return out;
}

// The integral of a x + b y + c over a polygon: area times the value at the centroid.
double integral(const std::vector<QPointF>& polygon, double a, double b, double c)
{
    double area2 = 0, cx = 0, cy = 0;
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        const QPointF& p = polygon[i];
        const QPointF& q = polygon[(i + 1) % polygon.size()];
        const double cross = p.x() * q.y() - q.x() * p.y();
        area2 += cross;
        cx += (p.x() + q.x()) * cross;
        cy += (p.y() + q.y()) * cross;
    }
    if (std::abs(area2) < 1e-300) {
        return 0;
    }
    cx /= 3 * area2;
    cy /= 3 * area2;
    return std::abs(area2) / 2 * (a * cx + b * cy + c);
}

// For every pair of triangles of the two TINs: their common part (GEOS), split where the
// two planes cross, the difference integrated exactly over each side.
CutAndFill integrateDifference(const Tin& base, const Tin& edited)
{
    CutAndFill v;
    for (const auto& s : base.allTriangles()) {
        const Plane lower(*s);
        for (const auto& t : edited.allTriangles()) {
            if (!s->geosPolygon()->getEnvelopeInternal()->intersects(t->geosPolygon()->getEnvelopeInternal())) {
                continue;
            }
            const auto common = s->geosPolygon()->intersection(t->geosPolygon());
            const auto* polygon = dynamic_cast<const geos::geom::Polygon*>(common.get());
            if (!polygon || polygon->isEmpty() || polygon->getArea() <= 0) {
                continue;
            }
            const auto ring = polygon->getExteriorRing()->getCoordinates();
            std::vector<QPointF> corners;
            for (std::size_t i = 0; i + 1 < ring->size(); ++i) {
                corners.emplace_back(ring->getAt(i).x, ring->getAt(i).y);
            }
            const Plane upper(*t);
            const double a = upper.a - lower.a, b = upper.b - lower.b, c = upper.c - lower.c;
            v.fill += integral(clipToPositive(corners, a, b, c), a, b, c);
            v.cut -= integral(clipToPositive(corners, -a, -b, -c), a, b, c);
        }
    }
    return v;
}

// A jittered grid over [x0, x0 + 100] x [y0, y0 + 100] with random diagonals, on waves of
// random phase along x (or, `across`, along y), so that two such surfaces cross each other.
Tin randomTin(std::mt19937& random, double x0, double y0, bool across)
{
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const int n = 4 + static_cast<int>(unit(random) * 4);
    const double phase = 6.3 * unit(random), slope = 0.02 * (unit(random) - 0.5);
    auto z = [&](double x, double y) {
        return 3 * std::sin(0.07 * (across ? y : x) + phase) + slope * (across ? x : y);
    };
    std::vector<std::vector<tin::core::Point>> nodes(n + 1);
    for (int i = 0; i <= n; ++i) {
        for (int j = 0; j <= n; ++j) {
            const bool rimX = i == 0 || i == n, rimY = j == 0 || j == n;
            const double x = x0 + 100.0 * (i + (rimX ? 0 : 0.5 * (unit(random) - 0.5))) / n;
            const double y = y0 + 100.0 * (j + (rimY ? 0 : 0.5 * (unit(random) - 0.5))) / n;
            nodes[i].emplace_back(x, y, z(x, y));
        }
    }
    Tin tin;
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            addCell(tin, nodes[i][j], nodes[i + 1][j], nodes[i + 1][j + 1], nodes[i][j + 1],
                    unit(random) < 0.5);
        }
    }
    return tin;
}

TEST_F(SoilVolumeTest, RandomSurfacesAgreeWithAnIntegrationOfTheirDifference)
{
    std::mt19937 random(4817);
    std::uniform_real_distribution<double> shift(-30.0, 30.0);
    for (int k = 0; k < 20; ++k) {
        SCOPED_TRACE(k);
        const Tin base = randomTin(random, 0, 0, false);
        const Tin edited = randomTin(random, shift(random), shift(random), true);
        const CutAndFill expected = integrateDifference(base, edited);
        ASSERT_GT(expected.cut, 100.0);
        ASSERT_GT(expected.fill, 100.0);
        const auto [cut, fill] = wholeVolumes(base, edited);
        // The table rounds to three decimals.
        const double tolerance = 1e-6 * (expected.cut + expected.fill) + 5e-4;
        EXPECT_NEAR(cut.toDouble(), expected.cut, tolerance);
        EXPECT_NEAR(fill.toDouble(), expected.fill, tolerance);
    }
}

TEST_F(SoilVolumeTest, WholeSurfaceIsTheSameAfterTheProjectIsSavedAndReopened)
{
    // An edit as the GeoEdit surfaces make it: a mound merged into a copy of the base.
    const Tin base = gridTin(0, 0, 100, 100, 40, 40, [](double x, double y) { return 0.02 * x + 0.01 * y; });
    const Tin mound = gridTin(30, 40, 60, 70, 6, 6,
                              [](double x, double y) { return 2.5 - 0.004 * ((x - 45) * (x - 45) + (y - 55) * (y - 55)); });
    bool ok = false;
    const Tin edited = tin::util::TinModifier::add(base, mound, &ok, nullptr, nullptr, nullptr);
    ASSERT_TRUE(ok);
    const auto before = wholeVolumes(base, edited);
    EXPECT_NE(before.second, "0.000");

    const QString path = saveAs(QStringLiteral("soil.emvn"));
    ASSERT_FALSE(path.isEmpty());
    ASSERT_TRUE(window().closeProject());
    window().openProject(path);
    ASSERT_NE(editWindow(), nullptr);
    // Read back, the two share their vertices but none of their triangles.
    const Tin* baseRead = root()->baseTinItem()->tin();
    const Tin* editedRead = root()->tinItem()->tin();
    ASSERT_TRUE(baseRead && editedRead);
    for (const auto& t : editedRead->allTriangles()) {
        ASSERT_FALSE(baseRead->containsTriangle(t));
    }
    EXPECT_EQ(wholeVolumes(), before);
}

} // namespace
} // namespace varnel::test
