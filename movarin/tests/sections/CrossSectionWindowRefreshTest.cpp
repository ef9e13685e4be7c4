// A cross-section window follows the project through the signals the project really sends:
// changes of the edited TIN that do or do not touch the section, the section's end point
// dragged, undone and redone, reference polylines added, moved, deleted, restored and
// destroyed, and the preview of a brush stroke.
#include "SectionsTestSupport.h"

#include "movarin/sections/CrossSectionDialog.h"
#include "movarin/sections/CrossSectionItem.h"
#include "movarin/sections/CrossSectionItemController.h"
#include "movarin/sections/CrossSectionLhTableModel.h"
#include "movarin/sections/CrossSectionLhView.h"
#include "movarin/sections/GeoDataGroupItem.h"
#include "movarin/sections/GeoDataPolylineItem.h"
#include "movarin/sections/GeoDataTopForEditItem.h"
#include "movarin/shell/EditModeMainWindowModelRootItem.h"
#include "movarin/surfaces/GeoEditSurfaceByBrushItem.h"
#include "movarin/surfaces/GeoEditSurfaceGroupItem.h"
#include "movarin/surfaces/GeoEditSurfaceGroupItemController.h"
#include "movarin/survey/TinItem.h"

#include "brask/core/ModelItemController.h"
#include "orlin/core/Rect.h"
#include "orlin/core/Triangle.h"

#include <guimisc/UserDialogScript.h>

#include <QAction>
#include <QMenu>
#include <QPointer>
#include <QStandardItem>
#include <QUndoStack>

#include <gtest/gtest.h>

#include <cmath>
#include <map>

namespace varnel::test {
namespace {

using Rows = CrossSectionDialog::Rows;

/// The rows as (L, H) pairs, for comparison.
std::vector<std::pair<double, double>> pointsOf(const Rows& rows)
{
    std::vector<std::pair<double, double>> points;
    for (const CrossSectionLhTableRow& row : rows) {
        points.emplace_back(row.L, row.H);
    }
    return points;
}

class CrossSectionWindowRefreshTest : public SectionWindowTest {
protected:
    struct Change {
        tin::core::Tin added;
        tin::core::Tin removed;
    };

    /// Cell (i, j) of the edited TIN (10 m, two triangles) replaced by four triangles around
    /// its centre raised by `dz` above the plane.
    Change raisedCell(int i, int j, double dz) const
    {
        Change change;
        std::map<std::pair<double, double>, std::shared_ptr<tin::core::Point>> corners;
        const tin::core::Tin& edited = *root()->tinItem()->tin();
        const double x = 10.0 * i;
        const double y = 10.0 * j;
        const tin::core::Rect cell(x, y, x + 10.0, y + 10.0);
        for (const auto& t : edited.findTrianglesInRect(cell)) {
            change.removed.addTriangle(t);
            for (int v = 0; v < 3; ++v) {
                corners[{t->point(v)->x(), t->point(v)->y()}] = t->point(v);
            }
        }
        EXPECT_EQ(corners.size(), 4u);
        auto centre = std::make_shared<tin::core::Point>(x + 5.0, y + 5.0,
                                                         editedSurface(x + 5.0, y + 5.0) + dz);
        const std::shared_ptr<tin::core::Point> ring[] = {
            corners[{x, y}], corners[{x + 10.0, y}], corners[{x + 10.0, y + 10.0}],
            corners[{x, y + 10.0}]};
        for (int k = 0; k < 4; ++k) {
            change.added.addTriangle(ring[k], ring[(k + 1) % 4], centre);
        }
        return change;
    }

    /// The change as a brush surface put on the surfaces group and swapped into the edited
    /// TIN, whose item announces the triangles put in.
    GeoEditSurfaceByBrushItem* apply(const Change& change) const
    {
        GeoEditSurfaceGroupItem* surfaces = root()->geoEditSurfaceGroupItem();
        GeoEditSurfaceByBrushItem* surface = surfaces->createGeoEditSurfaceByBrushItem(
            QStringLiteral("Brush"), change.added, change.removed);
        surfaces->attachChildAtFront(surface);
        surface->swapTriangles(change.removed, change.added);
        return surface;
    }

    CrossSectionLhTableModel* model() const { return dialog()->tableModel(); }

    GeoDataGroupItem* reference() const
    {
        return root()->geoDataTopItem()->groupItem(QStringLiteral("referenceinformation"));
    }

    void triggerMenuEntry(mvc::core::ModelItem* item, const QString& text) const
    {
        for (QAction* action : item->controller()->rightClickMenu()->actions()) {
            if (action->text() == text) {
                action->trigger();
                return;
            }
        }
        ADD_FAILURE() << "no menu entry " << text.toStdString();
    }

    /// A reference polyline drawn on the main view through the group's menu.
    GeoDataPolylineItem* drawPolyline(const std::vector<QPointF>& vertices) const
    {
        triggerMenuEntry(reference(), QStringLiteral("Add &Polyline"));
        auto polyline = qobject_cast<GeoDataPolylineItem*>(reference()->childItems().front());
        for (const QPointF& v : vertices) {
            mouse().move(pixel(v));
            mouse().click(pixel(v));
        }
        mouse().key(Qt::Key_Return);
        return polyline;
    }

    /// The crossings the window holds, by living polyline.
    std::map<const GeoDataPolylineItem*, std::vector<double>> crossings() const
    {
        std::map<const GeoDataPolylineItem*, std::vector<double>> found;
        for (const CrossSectionPolylineCrossing& c : dialog()->polylineCrossings()) {
            if (c.polyline) {
                found[c.polyline] = c.ls;
            }
        }
        return found;
    }
};

TEST_F(CrossSectionWindowRefreshTest, OnlyATinChangeAcrossTheSectionReplacesTheRows)
{
    const auto before = pointsOf(dialog()->currentRows());
    dialog()->selectTableRows({3});

    apply(raisedCell(0, 0, 5.0));
    EXPECT_EQ(pointsOf(dialog()->currentRows()), before);
    EXPECT_EQ(tableSelection(), CrossSectionLhRowIndices({3})) << "the table was not reset";

    // The cell about (35, 45): the section passes over its raised centre at L = 23.
    const Change across = raisedCell(3, 4, 5.0);
    GeoEditSurfaceByBrushItem* surface = apply(across);
    const Rows& rows = dialog()->currentRows();
    EXPECT_NE(pointsOf(rows), before);
    EXPECT_TRUE(tableSelection().empty());
    EXPECT_EQ(pointsOf(rows), pointsOf(section()->currentLhTable(false)));
    bool centre = false;
    for (const CrossSectionLhTableRow& row : rows) {
        centre = centre || (std::abs(row.L - 23.0) < 1e-9 && std::abs(row.H - 6.5) < 1e-9);
    }
    EXPECT_TRUE(centre) << "no row on the raised centre";

    // Taken back: the triangles put in are the plane's again.
    surface->swapTriangles(across.added, across.removed);
    EXPECT_EQ(pointsOf(dialog()->currentRows()), before);
}

TEST_F(CrossSectionWindowRefreshTest, ADraggedEndRefreshesCurrentAndBaseRowsThroughUndoAndRedo)
{
    const auto current = pointsOf(dialog()->currentRows());
    const auto base = pointsOf(dialog()->baseRows());
    ASSERT_NEAR(dialog()->baseRows().front().L, -12.0, 1e-9) << "the grid's edge x = 0";
    ASSERT_NEAR(dialog()->baseRows().back().L, 88.0, 1e-9) << "the grid's edge x = 100";

    select(section());
    mouse().move(pixel({88.0, 45.0}));
    mouse().drag(pixel({88.0, 45.0}), pixel({70.0, 80.0}));
    const QPointF e(section()->endX(), section()->endY());
    ASSERT_NE(e, QPointF(88.0, 45.0));
    const double length = std::hypot(e.x() - 12.0, e.y() - 45.0);
    const double dx = (e.x() - 12.0) / length;
    const double dy = (e.y() - 45.0) / length;
    const auto dragged = pointsOf(dialog()->currentRows());
    const auto draggedBase = pointsOf(dialog()->baseRows());
    EXPECT_NEAR(dragged.back().first, length, 1e-9);
    for (const auto& [l, h] : dragged) {
        const std::optional<double> z = gridElevation(editedSurface, 12.0 + l * dx, 45.0 + l * dy);
        ASSERT_TRUE(z);
        EXPECT_NEAR(h, *z, 1e-9) << l;
    }
    // Lengthened both ways, the section leaves the grid through x = 0 and x = 100.
    EXPECT_NEAR(draggedBase.front().first, -12.0 / dx, 1e-9);
    EXPECT_NEAR(draggedBase.back().first, 88.0 / dx, 1e-9);

    undoStack()->undo();
    EXPECT_EQ(pointsOf(dialog()->currentRows()), current);
    EXPECT_EQ(pointsOf(dialog()->baseRows()), base);
    undoStack()->redo();
    EXPECT_EQ(pointsOf(dialog()->currentRows()), dragged);
    EXPECT_EQ(pointsOf(dialog()->baseRows()), draggedBase);
}

TEST_F(CrossSectionWindowRefreshTest, WithoutAnEditedTinTheWindowShowsNoCurrentRows)
{
    root()->tinItem()->setTin(nullptr);
    section()->controller()->pushEditCommand({{12.0, 40.0}, {88.0, 40.0}});
    EXPECT_TRUE(dialog()->currentRows().empty());
    EXPECT_EQ(model()->rowCount(), 0);
    EXPECT_FALSE(dialog()->baseRows().empty()) << "the base TIN is still there";
    // The plot paints grid, base profile and frame, and no end marks.
    const QImage picture = grabPlot();
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            ASSERT_NE(picture.pixelColor(x, y), QColor(Qt::magenta));
        }
    }
}

TEST_F(CrossSectionWindowRefreshTest, CrossingsFollowThePolylinesWithoutADanglingItem)
{
    guimisc::UserDialogScript script;
    GeoDataPolylineItem* line = drawPolyline({{50.0, 0.0}, {50.0, 90.0}});
    ASSERT_NE(line, nullptr);
    using Found = std::map<const GeoDataPolylineItem*, std::vector<double>>;
    EXPECT_EQ(crossings(), (Found{{line, {38.0}}}));

    // Its upper end moved to x = 60: it crosses y = 45 at x = 55.
    mouse().move(pixel({50.0, 90.0}));
    mouse().drag(pixel({50.0, 90.0}), pixel({60.0, 90.0}));
    ASSERT_EQ(crossings().size(), 1u);
    EXPECT_NEAR(crossings().at(line).at(0), 43.0, 1e-9);
    // Its flag: a post down from the first level, 20 pixels under the plot's top, in the
    // polyline's colour, while its row is checked.
    const QPoint post(plotPixel(43.0, 0.0).x(), static_cast<int>(plot()->plotRect().top()) + 25);
    EXPECT_EQ(grabPlot().pixelColor(post), QColor(Qt::black));
    line->browserItem()->setCheckState(Qt::Unchecked);
    EXPECT_NE(grabPlot().pixelColor(post), QColor(Qt::black)) << "a grid line at most";
    line->browserItem()->setCheckState(Qt::Checked);

    // A second one beside the section, lengthened or not: an empty list.
    GeoDataPolylineItem* aside = drawPolyline({{-40.0, 60.0}, {-40.0, 90.0}});
    EXPECT_EQ(crossings().size(), 2u);
    EXPECT_TRUE(crossings().at(aside).empty());

    script.answer(QMessageBox::Yes);
    line->controller()->deleteMe();
    EXPECT_EQ(crossings().count(line), 0u);
    undoStack()->undo();
    EXPECT_EQ(crossings().count(line), 1u);

    script.answer(QMessageBox::Yes);
    triggerMenuEntry(reference(), QStringLiteral("&Delete all..."));
    EXPECT_TRUE(crossings().empty());
    undoStack()->undo();
    EXPECT_EQ(crossings().size(), 2u);
    EXPECT_NEAR(crossings().at(line).at(0), 43.0, 1e-9);

    // A polyline that goes without a word: the window paints on without it.
    const QPointer<GeoDataPolylineItem> gone = line;
    delete line;
    ASSERT_FALSE(gone);
    EXPECT_EQ(crossings().size(), 1u);
    EXPECT_FALSE(grabPlot().isNull());
}

TEST_F(CrossSectionWindowRefreshTest, ABrushPreviewFillsTheAuxiliaryRowsUntilItsTinIsEmpty)
{
    GeoEditSurfaceGroupItemController* surfaces =
        root()->geoEditSurfaceGroupItem()->groupController();
    const Change stroke = raisedCell(3, 4, 5.0);
    const int y = plotPixel(23.0, 5.0).y();
    const auto magentaAcross = [&] {
        const QImage picture = grabPlot();
        int count = 0;
        for (int x = plotPixel(18.5, 0.0).x(); x <= plotPixel(27.5, 0.0).x(); ++x) {
            for (int dy = -30; dy <= 30; ++dy) {
                count += picture.pixelColor(x, y + dy) == QColor(Qt::magenta) ? 1 : 0;
            }
        }
        return count;
    };
    EXPECT_EQ(magentaAcross(), 0);

    emit surfaces->brushEditAddedTinChanged(&stroke.added, &stroke.removed);
    const Rows& preview = dialog()->auxiliaryRows();
    ASSERT_FALSE(preview.empty());
    // Across the cell from x = 30 to 40, up to the raised centre; the edited TIN stays.
    EXPECT_NEAR(preview.front().L, 18.0, 1e-9);
    EXPECT_NEAR(preview.back().L, 28.0, 1e-9);
    double highest = -INFINITY;
    for (const CrossSectionLhTableRow& row : preview) {
        highest = std::max(highest, row.H);
    }
    EXPECT_NEAR(highest, 6.5, 1e-9);
    EXPECT_EQ(dialog()->currentRows().size(), 17u);
    EXPECT_GT(magentaAcross(), 10);

    const tin::core::Tin none;
    emit surfaces->brushEditAddedTinChanged(&none, &none);
    EXPECT_TRUE(dialog()->auxiliaryRows().empty());
    EXPECT_EQ(magentaAcross(), 0);
    emit surfaces->brushEditAddedTinChanged(&stroke.added, nullptr);
    EXPECT_FALSE(dialog()->auxiliaryRows().empty());
    emit surfaces->brushEditAddedTinChanged(nullptr, nullptr);
    EXPECT_TRUE(dialog()->auxiliaryRows().empty());
}

} // namespace
} // namespace varnel::test
