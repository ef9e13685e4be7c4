// The GML road of the import as the user walks it: the extent shown and fitted, the step
// dialog, the region dragged on the main view, and every way the region wait ends (a release,
// Escape, another item selected, the group unchecked, the project closed), with the boxes the
// user sees. Plane coordinates are checked against cs2cs.
#include "PointImportTestSupport.h"

#include "movarin/shell/CreateModeMainWindowModel.h"
#include "movarin/survey/ReadOnlyTinItem.h"

#include "brask/core/Model.h"

#include <QFile>
#include <QMenu>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace varnel::test {
namespace {

const char* const DEM5A = "FG-GML-5238-74-00-DEM5A-20161001.xml";
const QString NO_POINTS = QStringLiteral("No points were imported.");

class CoordinatePointsGroupItemControllerTest : public PointImportTest {
protected:
    mvc::core::Model* model() const { return window()->model(); }

    /// The widget point at fractions (fx, fy) of the main view.
    QPoint at(double fx, double fy) const
    {
        return QPoint(static_cast<int>(fx * view()->width()), static_cast<int>(fy * view()->height()));
    }

    /// Asserts that an import ended with "No points were imported." and left nothing behind.
    void expectNothingImported()
    {
        EXPECT_TRUE(group()->childItems().empty());
        EXPECT_EQ(undoStack()->count(), 0);
        ASSERT_FALSE(m_script.messageBoxes().empty());
        EXPECT_EQ(m_script.messageBoxes().back().title, "Warning");
        EXPECT_EQ(m_script.messageBoxes().back().text, NO_POINTS);
        EXPECT_FALSE(controller()->isWaitingForRegion());
        EXPECT_FALSE(controller()->currentSelectionHelper()->isSelecting());
        EXPECT_TRUE(controller()->importAction()->isEnabled());
        EXPECT_TRUE(controller()->addAction()->isEnabled());
    }
};

TEST_F(CoordinatePointsGroupItemControllerTest, ExtentIsFittedAndCellCentresLieWhereCs2csPutsThem)
{
    setCoordinateSystem("EPSG:6676");
    calvextest::writeFile(path("grid.xml"), calvextest::DemFixture().xml());
    const auto corners = calvextest::cs2cs(
        EPSG_6676, {{139.0, 35.0}, {139.3, 35.0}, {139.0, 35.2}, {139.3, 35.2}});
    double xmin = corners[0][0], xmax = xmin, ymin = corners[0][1], ymax = ymin;
    for (const auto& c : corners) {
        xmin = std::min(xmin, c[0]);
        xmax = std::max(xmax, c[0]);
        ymin = std::min(ymin, c[1]);
        ymax = std::max(ymax, c[1]);
    }

    QPointF center;
    double scale = 0.0;
    tin::core::Rect shownExtent;
    ASSERT_TRUE(importGml(path("grid.xml"), xmlFiles(), 1, [&] {
        center = view()->centerPoint();
        scale = view()->scale();
        shownExtent = controller()->currentSelectionHelper()->dataExtent();
        releaseOnly();
    }));

    // The view shows the extent enlarged by 1 / 0.8 about its centre.
    EXPECT_NEAR(center.x(), (xmin + xmax) / 2.0, 1e-3);
    EXPECT_NEAR(center.y(), (ymin + ymax) / 2.0, 1e-3);
    const double expectedScale = std::min(view()->width() / ((xmax - xmin) / 0.8),
                                          view()->height() / ((ymax - ymin) / 0.8));
    EXPECT_NEAR(scale / expectedScale, 1.0, 1e-6);
    ASSERT_TRUE(shownExtent.isValid());
    EXPECT_NEAR(shownExtent.xMin(), xmin, 1e-3);
    EXPECT_NEAR(shownExtent.yMax(), ymax, 1e-3);

    // Three cells have data: (column 1, row 0), (1, 1) and (2, 1) of the 3 x 2 grid.
    const auto plane = calvextest::cs2cs(EPSG_6676, {{139.15, 35.15}, {139.15, 35.05}, {139.25, 35.05}});
    const double elevations[] = {10.5, 3.25, -1.5};
    ASSERT_EQ(items().size(), 1u);
    CoordinatePointsItem* item = items()[0];
    EXPECT_EQ(item->caption(), "grid.xml");
    const auto points = item->pointSet()->allPoints();
    ASSERT_EQ(points.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        const bool found = std::any_of(points.begin(), points.end(), [&](const auto& p) {
            return std::abs(p->x() - plane[i][0]) < 1e-3 && std::abs(p->y() - plane[i][1]) < 1e-3
                   && p->elevation() == elevations[i];
        });
        EXPECT_TRUE(found) << "cell " << i;
    }
    EXPECT_TRUE(m_script.messageBoxes().empty());
    ASSERT_EQ(undoStack()->count(), 1);
    EXPECT_EQ(undoStack()->text(0), "Add new coordinate points data");
    EXPECT_EQ(model()->selectedItem(), item);
    EXPECT_FALSE(controller()->currentSelectionHelper()->isSelecting());
}

TEST_F(CoordinatePointsGroupItemControllerTest, RegionDraggedEitherWayHoldsThePointsOfTheFullImportInside)
{
    setCoordinateSystem("EPSG:6676");
    ASSERT_TRUE(importGml(realGml(DEM5A), xmlFiles(), 1, [&] { releaseOnly(); }));
    const Coordinates full = coordinatesOf(*items()[0]->pointSet());
    ASSERT_EQ(full.size(), 33448u);

    const QPoint upperLeft = at(0.3, 0.35);
    const QPoint lowerRight = at(0.6, 0.7);
    tin::core::Rect expected;
    tin::core::Rect drawn[2];
    ASSERT_TRUE(importGml(realGml(DEM5A), xmlFiles(), 1, [&] {
        const QPointF a = view()->rconv(upperLeft);
        const QPointF b = view()->rconv(lowerRight);
        expected = tin::core::Rect(a.x(), a.y(), b.x(), b.y());
        drag(upperLeft, lowerRight);
        drawn[0] = controller()->currentSelectionHelper()->region();
    }));
    ASSERT_TRUE(importGml(realGml(DEM5A), xmlFiles(), 1, [&] {
        drag(lowerRight, upperLeft);
        drawn[1] = controller()->currentSelectionHelper()->region();
    }));
    for (const tin::core::Rect& r : drawn) {
        EXPECT_EQ(r.xMin(), expected.xMin());
        EXPECT_EQ(r.xMax(), expected.xMax());
        EXPECT_EQ(r.yMin(), expected.yMin());
        EXPECT_EQ(r.yMax(), expected.yMax());
    }

    Coordinates inside;
    for (const auto& t : full) {
        const double x = std::get<0>(t), y = std::get<1>(t);
        if (x >= expected.xMin() && x <= expected.xMax() && y >= expected.yMin()
            && y <= expected.yMax()) {
            inside.insert(t);
        }
    }
    ASSERT_EQ(items().size(), 3u);
    EXPECT_GT(inside.size(), 100u);
    EXPECT_LT(inside.size(), full.size() / 2);
    EXPECT_EQ(coordinatesOf(*items()[0]->pointSet()), inside);
    EXPECT_EQ(coordinatesOf(*items()[1]->pointSet()), inside);
}

TEST_F(CoordinatePointsGroupItemControllerTest, ReleaseWithoutDragImportsTheWholeFileAtTheChosenStep)
{
    setCoordinateSystem("EPSG:6676");
    // A right-button drag is no region either.
    ASSERT_TRUE(importGml(realGml(DEM5A), xmlFiles(), 5, [&] {
        scene().press(at(0.2, 0.2), Qt::RightButton);
        scene().move(at(0.5, 0.5), Qt::RightButton);
        scene().release(at(0.5, 0.5), Qt::RightButton);
    }));
    ASSERT_TRUE(importGml(realGml(DEM5A), xmlFiles(), 1, [&] { releaseOnly(); }));
    ASSERT_EQ(items().size(), 2u);
    EXPECT_EQ(items()[0]->pointSet()->allPoints().size(), 33448u);
    EXPECT_EQ(items()[1]->pointSet()->allPoints().size(), 1336u);
}

TEST_F(CoordinatePointsGroupItemControllerTest, WithoutCoordinateSystemGmlIsRefusedBeforeTheDialog)
{
    calvextest::writeFile(path("grid.xml"), calvextest::DemFixture().xml());
    EXPECT_FALSE(importGml(path("grid.xml"), xmlFiles(), 1, [] {}));
    ASSERT_EQ(boxTexts().size(), 2);
    EXPECT_EQ(boxTexts()[0], "To import JpGIS data, please specify coordinate system first, from "
                             "the following menu: File -> Property");
    EXPECT_EQ(m_script.messageBoxes()[0].title, "Warning");
    expectNothingImported();
}

TEST_F(CoordinatePointsGroupItemControllerTest, CancelInTheDialogAndEscapeInTheWaitImportNothing)
{
    setCoordinateSystem("EPSG:6676");
    calvextest::writeFile(path("grid.xml"), calvextest::DemFixture().xml());
    bool waited = false;
    EXPECT_TRUE(importGml(path("grid.xml"), xmlFiles(), std::nullopt, [&] { waited = true; }));
    EXPECT_FALSE(waited);
    expectNothingImported();

    // Escape after a region was dragged halfway.
    EXPECT_TRUE(importGml(path("grid.xml"), xmlFiles(), 1, [&] {
        scene().press(at(0.2, 0.2));
        scene().move(at(0.6, 0.6), Qt::LeftButton);
        scene().key(Qt::Key_Escape);
    }));
    EXPECT_EQ(boxTexts(), QStringList({NO_POINTS, NO_POINTS}));
    expectNothingImported();
    EXPECT_FALSE(controller()->currentSelectionHelper()->region().isValid());
}

TEST_F(CoordinatePointsGroupItemControllerTest, BrokenFileShowsTheErrorAndAddsNothing)
{
    setCoordinateSystem("EPSG:6676");
    calvextest::writeFile(path("broken.xml"), "<?xml version=\"1.0\"?>\n<Dataset><DEM><coverage>");
    importFile(path("broken.xml"), xmlFiles());
    ASSERT_EQ(m_script.messageBoxes().size(), 1u);
    EXPECT_EQ(m_script.messageBoxes()[0].title, "Error");
    EXPECT_TRUE(boxTexts()[0].startsWith("Error occured while importing " + path("broken.xml") + " : "))
        << boxTexts()[0].toStdString();
    EXPECT_TRUE(group()->childItems().empty());
    EXPECT_EQ(undoStack()->count(), 0);
    EXPECT_FALSE(controller()->currentSelectionHelper()->isSelecting());
    EXPECT_TRUE(controller()->importAction()->isEnabled());

    // Point text with a line that is no point after the first point, and a missing file.
    calvextest::writeFile(path("broken.tpo"), "1,2,3\n4,5\n6,7,8\n");
    importFile(path("broken.tpo"), tpoFiles());
    importFile(path("missing.tpo"), tpoFiles());
    ASSERT_EQ(m_script.messageBoxes().size(), 3u);
    EXPECT_TRUE(boxTexts()[1].startsWith("Error occured while importing " + path("broken.tpo")));
    EXPECT_TRUE(boxTexts()[2].startsWith("Error occured while importing " + path("missing.tpo")));
    EXPECT_TRUE(group()->childItems().empty());
}

TEST_F(CoordinatePointsGroupItemControllerTest, AddMenuImportWhileAnotherItemIsSelectedEndsOnRelease)
{
    setCoordinateSystem("EPSG:6676");
    calvextest::writeFile(path("grid.xml"), calvextest::DemFixture().xml());
    model()->select(root()->tinItem());
    group()->setUnchecked();
    QMenu addMenu;
    controller()->appendAddActionToMenu(&addMenu);
    ASSERT_EQ(addMenu.actions().size(), 1);
    EXPECT_EQ(addMenu.actions()[0]->text(), "Coordinate points data");
    EXPECT_TRUE(QFile::exists(QStringLiteral(":/images/iconImport.png")));

    bool enabledDuringWait = true;
    std::size_t dialogsDuringWait = 0;
    ModalAnswerer answerer([](QWidget* dialog) {
        dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"))
            ->button(QDialogButtonBox::Ok)
            ->click();
    });
    DuringRegionWait wait(controller(), [&] {
        EXPECT_EQ(model()->selectedItem(), group());
        EXPECT_TRUE(group()->isChecked());
        enabledDuringWait =
            controller()->importAction()->isEnabled() || addMenu.actions()[0]->isEnabled();
        // A second import cannot start inside the first.
        const std::size_t before = m_script.records().size();
        controller()->importData();
        dialogsDuringWait = m_script.records().size() - before;
        releaseOnly();
    });
    m_script.answerFile(path("grid.xml"), xmlFiles());
    addMenu.actions()[0]->trigger();

    EXPECT_TRUE(wait.ran());
    EXPECT_FALSE(enabledDuringWait);
    EXPECT_EQ(dialogsDuringWait, 0u);
    ASSERT_EQ(items().size(), 1u);
    EXPECT_EQ(items()[0]->pointSet()->allPoints().size(), 3u);
    EXPECT_TRUE(addMenu.actions()[0]->isEnabled());
}

TEST_F(CoordinatePointsGroupItemControllerTest, SelectingAnotherItemOrUncheckingTheGroupCancelsTheWait)
{
    setCoordinateSystem("EPSG:6676");
    calvextest::writeFile(path("grid.xml"), calvextest::DemFixture().xml());
    EXPECT_TRUE(importGml(path("grid.xml"), xmlFiles(), 1, [&] { model()->select(root()->tinItem()); }));
    expectNothingImported();
    EXPECT_TRUE(importGml(path("grid.xml"), xmlFiles(), 1, [&] { group()->setUnchecked(); }));
    expectNothingImported();
    EXPECT_EQ(boxTexts(), QStringList({NO_POINTS, NO_POINTS}));
}

TEST_F(CoordinatePointsGroupItemControllerTest, ProjectClosedDuringTheWaitEndsTheImportSilently)
{
    setCoordinateSystem("EPSG:6676");
    calvextest::writeFile(path("grid.xml"), calvextest::DemFixture().xml());
    const QString oldWorkFolder = project().workFolder();
    // As "New" does: the open project is closed (its windows and items deleted) first.
    CreateModeMainWindow* fresh = nullptr;
    EXPECT_TRUE(importGml(path("grid.xml"), xmlFiles(), 1, [&] {
        session().newCreateProject();
        fresh = session().createWindow();
    }));
    EXPECT_TRUE(m_script.messageBoxes().empty());
    EXPECT_FALSE(QFile::exists(oldWorkFolder));

    // The new project imports as usual.
    ASSERT_NE(fresh, nullptr);
    CoordinatePointsGroupItem* freshGroup = fresh->model()->rootItem()->coordinatePointsGroupItem();
    m_script.answerFile(writeTpo(QStringLiteral("a.tpo"), {{1.0, 2.0, 3.0}}), tpoFiles());
    freshGroup->controller()->importData();
    EXPECT_EQ(items(freshGroup).size(), 1u);
}

} // namespace
} // namespace varnel::test
