// A mold-and-path surface on the main view, read off the view's picture at the widget
// positions of world points (`View::conv`): inside each of its triangles the mean of the
// corners' colours on the project's colour scale, the path in black, nothing at all without
// a surface TIN, and the terrain's kept picture never pushed out by the surfaces' own.
#include "SurfaceEditTestSupport.h"

#include "movarin/shell/Project.h"
#include "movarin/shell/SettingsKeys.h"
#include "movarin/shell/TinMainViewHelper.h"
#include "movarin/shell/TinPaintCache.h"
#include "movarin/survey/ReadOnlyTinItem.h"

#include "orlin/core/Triangle.h"

#include <guimisc/colormapper/ElevationColorMapper.h>

#include <QSettings>

#include <cmath>
#include <string>
#include <utility>

namespace varnel::test {
namespace {

class SurfaceViewTest : public SurfaceEditTest {
protected:
    void SetUp() override
    {
        SurfaceEditTest::SetUp();
        QSettings().setValue(settings::graphicsShowTinEdges, false);
    }

    /// Only the surfaces are drawn: both TIN items hidden.
    void hideTerrain()
    {
        editedItem()->setUnchecked();
        root()->baseTinItem()->setUnchecked();
    }
    QImage shown() const { return view()->grab().toImage(); }
};

double distanceToSegment(const QPointF& p, const QPointF& a, const QPointF& b)
{
    const QPointF ab = b - a;
    const double t = std::clamp(QPointF::dotProduct(p - a, ab) / QPointF::dotProduct(ab, ab), 0.0, 1.0);
    const QPointF foot = a + t * ab;
    return std::hypot(p.x() - foot.x(), p.y() - foot.y());
}

TEST_F(SurfaceViewTest, TrianglesInTheirElevationColoursAndThePathInBlack)
{
    GeoEditSurfaceItem* surface = addSurface("Convex (Add)", {{20, 50}, {50, 58}, {80, 50}}, 30.0);
    ASSERT_NE(surface->tin(), nullptr);
    hideTerrain();
    const QImage image = shown();
    const guimisc::colormapper::ElevationColorMapper& colours = *project().elevationColorMapper();

    std::vector<QPointF> path;
    for (const tin::core::Point& p : surface->path()) {
        path.push_back(view()->conv(QPointF(p.x(), p.y())));
    }
    int checked = 0;
    for (const auto& t : surface->tin()->allTriangles()) {
        QPointF corner[3];
        int r = 0, g = 0, b = 0;
        for (int i = 0; i < 3; ++i) {
            corner[i] = view()->conv(QPointF(t->point(i)->x(), t->point(i)->y()));
            const QColor c = colours.color(t->point(i)->elevation());
            r += c.red();
            g += c.green();
            b += c.blue();
        }
        const QPointF centre = (corner[0] + corner[1] + corner[2]) / 3.0;
        // Only where the pixel lies well inside the triangle and off the path's line.
        const double area = std::abs((corner[1].x() - corner[0].x()) * (corner[2].y() - corner[0].y())
                                     - (corner[2].x() - corner[0].x()) * (corner[1].y() - corner[0].y())) / 2.0;
        double perimeter = 0.0;
        for (int i = 0; i < 3; ++i) {
            const QPointF e = corner[(i + 1) % 3] - corner[i];
            perimeter += std::hypot(e.x(), e.y());
        }
        bool nearPath = false;
        for (std::size_t k = 1; k < path.size(); ++k) {
            nearPath = nearPath || distanceToSegment(centre, path[k - 1], path[k]) < 3.0;
        }
        if (2.0 * area / perimeter < 3.0 || nearPath) {
            continue;
        }
        ++checked;
        EXPECT_EQ(QColor(image.pixel(centre.toPoint())), QColor(r / 3, g / 3, b / 3))
            << "triangle at " << centre.x() << ", " << centre.y();
    }
    EXPECT_GT(checked, 10);

    for (std::size_t k = 1; k < path.size(); ++k) {
        const QPointF middle = (path[k - 1] + path[k]) / 2.0;
        const QPoint pixel(static_cast<int>(std::floor(middle.x())), static_cast<int>(std::floor(middle.y())));
        EXPECT_EQ(QColor(image.pixel(pixel)), QColor(Qt::black)) << "segment " << k;
    }
}

TEST_F(SurfaceViewTest, ASurfaceWithoutATinPaintsNothing)
{
    GeoEditSurfaceItem* surface = addSurface("Convex (Add)", {{20, 50}, {50, 58}, {80, 50}}, 30.0);
    hideTerrain();
    surface->setUnchecked();
    const QImage without = shown();
    surface->setChecked();
    ASSERT_NE(shown(), without) << "the surface shows";
    // A mold without points sweeps nothing: the path stays, the TINs go.
    surface->setMold(QStringLiteral("none"), mold::core::Mold());
    surface->buildTins();
    ASSERT_EQ(surface->tin(), nullptr);
    ASSERT_EQ(surface->path().size(), 3u);
    EXPECT_EQ(shown(), without);
}

// Six surfaces in view: their pictures sit on the overlays' shelf, and the edited TIN's
// picture stays on the terrain's.
TEST_F(SurfaceViewTest, SurfacesKeepTheirPicturesApartFromTheTerrains)
{
    root()->baseTinItem()->setUnchecked();
    for (int k = 0; k < 6; ++k) {
        addSurface("Convex (Add)", {{10.0 + 14 * k, 30}, {14.0 + 14 * k, 70}}, 2.0);
    }
    shown();
    const TinPaintCache* terrain = TinPaintCache::existing(view(), TinPaintCache::Shelf::Terrain);
    const TinPaintCache* overlays = TinPaintCache::existing(view(), TinPaintCache::Shelf::Overlay);
    ASSERT_NE(terrain, nullptr);
    ASSERT_NE(overlays, nullptr);
    EXPECT_EQ(terrain->size(), 1u) << "the edited TIN";
    EXPECT_EQ(overlays->size(), 6u);
}

// The terrain pictures follow a surface applied, undone and redone: the edited TIN's is drawn
// again where the change lies, the base TIN's is kept, and both show what pictures drawn anew
// show, with the TIN's edges and without, on a view turned or not. (Undo and redo put the triangles back in another
// order, which the edges drawn over the fills show: only pictures of one state compare.)
TEST_F(SurfaceViewTest, TerrainPicturesFollowASurfaceAsPicturesDrawnAnewShowIt)
{
    m_window->setTin(slopedTerrain());
    view()->updateView();
    const TinPaintCache* terrain = nullptr;
    // The view as the kept pictures give it, and as pictures drawn anew give it.
    const auto followedAndAnew = [&] {
        const QImage followed = shown();
        TinMainViewHelper::discardPaintCache(view());
        return std::make_pair(followed, shown());
    };
    struct Case {
        bool edges;
        double angle;
    };
    for (const Case c : {Case{false, 0.0}, Case{true, 0.0}, Case{true, 33.0}}) {
        SCOPED_TRACE(std::string(c.edges ? "edges" : "no edges") + ", view turned by " + std::to_string(c.angle));
        QSettings().setValue(settings::graphicsShowTinEdges, c.edges);
        view()->setAngleDegree(c.angle);
        view()->updateView();
        const QImage before = shown();
        terrain = TinPaintCache::existing(view(), TinPaintCache::Shelf::Terrain);
        ASSERT_NE(terrain, nullptr);
        ASSERT_EQ(terrain->size(), 2u) << "the base and the edited TIN";

        GeoEditSurfaceItem* surface = addSurface("Convex (Add)", {{21.3, 40.7}, {47.9, 55.1}, {77.2, 46.3}}, 0.8);
        ASSERT_NE(surface, nullptr);
        surface->setUnchecked();  // the terrain alone shows the change
        EXPECT_EQ(terrain->size(), 2u) << "the pictures were dropped, not followed";
        auto [applied, appliedAnew] = followedAndAnew();
        EXPECT_NE(appliedAnew, before) << "the surface changed nothing in view";
        EXPECT_EQ(applied, appliedAnew);

        stack().undo();
        EXPECT_EQ(terrain->size(), 2u);
        auto [undone, undoneAnew] = followedAndAnew();
        EXPECT_EQ(undone, undoneAnew);

        stack().redo();
        surface->setUnchecked();
        auto [redone, redoneAnew] = followedAndAnew();
        EXPECT_EQ(redone, redoneAnew);
        stack().undo();
        stack().clear();
    }
}

} // namespace
} // namespace varnel::test
