// TIN painting: colours, edges and the visible rectangle, checked on image pixels and a
// recording paint engine; the kept picture of a view checked against fresh views after
// every kind of change.
#include "shell/HelperTestSupport.h"
#include "shell/TinScene.h"

#include "support/ScratchSettings.h"

#include "movarin/shell/SettingsKeys.h"
#include "movarin/shell/TinMainViewHelper.h"
#include "movarin/shell/TinPaintCache.h"

#include "brask/core/ModelItemController.h"
#include "orlin/core/Point.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"

#include <guimisc/colormapper/ElevationColorMapper.h>

#include <QPainter>
#include <QSettings>
#include <QUndoStack>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <random>
#include <vector>

namespace varnel::test {
namespace {

using guimisc::colormapper::ElevationColorMapper;
using tin::core::Point;
using PointPtr = std::shared_ptr<Point>;

QImage blank(const QColor& color = Qt::white)
{
    QImage image(200, 200, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

void paintTinOn(QImage* image, const tin::core::Tin& tin, const ElevationColorMapper& colors,
                mvc::core::View& view, bool edges)
{
    QPainter painter(image);
    TinMainViewHelper::paintTin(&painter, view.transform(), view.drawnRegion(), &tin, &colors,
                                &view, edges);
}

int pixelsOf(const QImage& image, const QColor& color)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += image.pixelColor(x, y) == color ? 1 : 0;
        }
    }
    return count;
}

// A grid of n by n unit cells from (0, 0), two triangles a cell, elevations from a smooth
// surface within -100 to 100; the grid nodes are shared.
struct GridTin {
    explicit GridTin(int n)
    {
        for (int j = 0; j <= n; ++j) {
            for (int i = 0; i <= n; ++i) {
                nodes.push_back(
                    std::make_shared<Point>(i, j, 100.0 * std::sin(0.7 * i) * std::cos(0.5 * j)));
            }
        }
        auto at = [&](int i, int j) { return nodes[static_cast<std::size_t>(j * (n + 1) + i)]; };
        for (int j = 0; j < n; ++j) {
            for (int i = 0; i < n; ++i) {
                tin.addTriangle(at(i, j), at(i + 1, j), at(i + 1, j + 1));
                tin.addTriangle(at(i, j), at(i + 1, j + 1), at(i, j + 1));
            }
        }
    }
    std::vector<PointPtr> nodes;
    tin::core::Tin tin;
};

class TinPainting : public ScratchSettingsTest {
protected:
    void TearDown() override { TinMainViewHelper::setPaintCacheEnabledForTests(true); }

    ElevationColorMapper m_colors;
};

TEST_F(TinPainting, TinOutsideTheViewPaintsNothing)
{
    auto view = makeMainView();
    tin::core::Tin tin;
    tin.addTriangle(std::make_shared<Point>(100, 100, 0), std::make_shared<Point>(101, 100, 0),
                    std::make_shared<Point>(100, 101, 0));
    for (bool cached : {true, false}) {
        TinMainViewHelper::setPaintCacheEnabledForTests(cached);
        QImage image = blank();
        paintTinOn(&image, tin, m_colors, *view, true);
        EXPECT_EQ(blank(), image);
    }
    RecordingPaintDevice device;
    {
        QPainter painter(&device);
        TinMainViewHelper::paintTin(&painter, view->transform(), view->drawnRegion(), &tin,
                                    &m_colors, view.get(), true);
    }
    EXPECT_TRUE(device.records().empty());
}

TEST_F(TinPainting, FillIsTheIntegerMeanOfTheCornerColours)
{
    auto view = makeMainView();
    // At max, water surface and min of the default scale: red, green and blue.
    tin::core::Tin tin;
    tin.addTriangle(std::make_shared<Point>(-1.5, -1.5, 100.0),
                    std::make_shared<Point>(1.5, -1.5, 0.0),
                    std::make_shared<Point>(0.0, 1.5, -100.0));
    for (bool cached : {true, false}) {
        TinMainViewHelper::setPaintCacheEnabledForTests(cached);
        QImage image = blank();
        paintTinOn(&image, tin, m_colors, *view, false);
        EXPECT_EQ(QColor(85, 85, 85), image.pixelColor(px(0.0, -0.5).toPoint()));
        EXPECT_EQ(QColor(Qt::white), image.pixelColor(px(1.5, 1.5).toPoint()));
    }

    for (bool edges : {false, true}) {
        RecordingPaintDevice device;
        {
            QPainter painter(&device);
            TinMainViewHelper::paintTin(&painter, view->transform(), view->drawnRegion(), &tin,
                                        &m_colors, view.get(), edges);
        }
        const auto polygons = device.recordsOf(PaintRecord::Polygon);
        ASSERT_EQ(1u, polygons.size());
        EXPECT_EQ(QColor(85, 85, 85, 255), polygons[0].brush.color());
        EXPECT_EQ(Qt::SolidPattern, polygons[0].brush.style());
        EXPECT_EQ(Qt::OddEvenFill, polygons[0].fillRule);
        EXPECT_EQ(edges ? Qt::SolidLine : Qt::NoPen, polygons[0].pen.style());
        if (edges) {
            EXPECT_EQ(QColor(Qt::black), polygons[0].pen.color());
        }
        expectPolygon(polygonOf({px(-1.5, -1.5), px(1.5, -1.5), px(0.0, 1.5)}),
                      polygons[0].devicePoints());
    }
}

TEST_F(TinPainting, EdgesFollowTheSettingAndAMissingOneMeansNone)
{
    GridTin grid(4);
    auto view = makeMainView();
    view->fit(QRectF(0, 0, 4, 4));
    TinMainViewHelper helper(&grid.tin, view.get(), &m_colors);
    auto paint = [&] {
        QImage image = blank();
        QPainter painter(&image);
        helper.paintView(&painter, view->transform(), view->drawnRegion());
        return image;
    };
    EXPECT_EQ(0, pixelsOf(paint(), Qt::black)) << "no key";
    QSettings().setValue(settings::graphicsShowTinEdges, true);
    EXPECT_GT(pixelsOf(paint(), Qt::black), 200);
    QSettings().setValue(settings::graphicsShowTinEdges, false);
    EXPECT_EQ(0, pixelsOf(paint(), Qt::black));
}

TEST_F(TinPainting, KeptPictureShowsWhatDirectDrawingShows)
{
    // Enough triangles for the picture to be drawn in bands on several threads.
    GridTin grid(50);
    auto view = makeMainView();
    view->fit(QRectF(-1.5, -0.5, 52, 52));
    QImage background(200, 200, QImage::Format_RGB32);
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 200; ++x) {
            background.setPixelColor(x, y, QColor(x, y, (x * y) % 256));
        }
    }
    for (bool edges : {true, false}) {
        TinMainViewHelper::setPaintCacheEnabledForTests(false);
        QImage direct = background;
        paintTinOn(&direct, grid.tin, m_colors, *view, edges);
        TinMainViewHelper::setPaintCacheEnabledForTests(true);
        QImage kept = background;
        paintTinOn(&kept, grid.tin, m_colors, *view, edges);
        QImage again = background;
        paintTinOn(&again, grid.tin, m_colors, *view, edges);
        EXPECT_EQ(direct, kept);
        EXPECT_EQ(direct, again);
        EXPECT_NE(background, direct);
    }
    ASSERT_NE(nullptr, TinPaintCache::existing(view.get()));
    EXPECT_EQ(1u, TinPaintCache::existing(view.get())->size());
}

TEST_F(TinPainting, AViewOfMostOfTheTinShowsEveryTriangleInIt)
{
    // The view shows about half of the grid: every triangle is walked and those off the view
    // are left out. The painter drawing all of them in the TIN's order gives the same picture.
    GridTin grid(50);
    auto view = makeMainView();
    view->fit(QRectF(12.3, 9.7, 35, 35));
    const QImage background = blank(Qt::darkGray);
    QImage oracle = background;
    {
        QPainter painter(&oracle);
        painter.setPen(Qt::NoPen);
        for (const auto& t : grid.tin.allTriangles()) {
            QPointF corners[3];
            int rgb[3] = {0, 0, 0};
            for (int i = 0; i < 3; ++i) {
                const Point& p = *t->point(i);
                corners[i] = view->conv(QPointF(p.x(), p.y()));
                const QColor c = m_colors.color(p.elevation());
                rgb[0] += c.red();
                rgb[1] += c.green();
                rgb[2] += c.blue();
            }
            painter.setBrush(QColor(rgb[0] / 3, rgb[1] / 3, rgb[2] / 3));
            painter.drawPolygon(corners, 3, Qt::OddEvenFill);
        }
    }
    for (bool cached : {true, false}) {
        TinMainViewHelper::setPaintCacheEnabledForTests(cached);
        QImage image = background;
        paintTinOn(&image, grid.tin, m_colors, *view, false);
        EXPECT_EQ(oracle, image) << (cached ? "kept picture" : "direct");
    }
}

TEST_F(TinPainting, TrianglesAfterOneOfTheSameColourKeepTheirOwnColours)
{
    // Runs of equal colours broken by others, as neighbours of a fine TIN come: each triangle
    // level at an elevation, so its fill is the scale's colour there.
    const std::vector<double> elevations{100.0, 100.0, -100.0, 100.0, 0.0, 0.0};
    auto view = makeMainView();
    tin::core::Tin tin;
    for (std::size_t k = 0; k < elevations.size(); ++k) {
        const double x0 = -1.5 + 0.5 * static_cast<double>(k);
        const double z = elevations[k];
        tin.addTriangle(std::make_shared<Point>(x0, -0.5, z), std::make_shared<Point>(x0 + 0.45, -0.5, z),
                        std::make_shared<Point>(x0 + 0.2, 0.5, z));
    }
    for (bool cached : {true, false}) {
        SCOPED_TRACE(cached ? "kept picture" : "direct");
        TinMainViewHelper::setPaintCacheEnabledForTests(cached);
        QImage image = blank();
        paintTinOn(&image, tin, m_colors, *view, false);
        for (std::size_t k = 0; k < elevations.size(); ++k) {
            const double x0 = -1.5 + 0.5 * static_cast<double>(k);
            EXPECT_EQ(m_colors.color(elevations[k]),
                      image.pixelColor(px(x0 + 0.22, -0.17).toPoint()))
                << "triangle " << k;
        }
    }
}

TEST_F(TinPainting, KeptPictureOfATinWithFreedSlotsShowsWhatDirectDrawingShows)
{
    // Triangles taken out leave freed slots in the TIN's own list, which a view of the whole
    // TIN reads in place on several threads: they must be skipped, the rest drawn in order.
    GridTin grid(50);
    std::vector<std::shared_ptr<tin::core::Triangle>> all(grid.tin.allTriangles().begin(),
                                                          grid.tin.allTriangles().end());
    for (std::size_t k = 0; k < all.size(); k += 7) {
        grid.tin.removeTriangle(all[k]);
    }
    auto view = makeMainView();
    view->fit(QRectF(-1.5, -0.5, 52, 52));
    for (bool edges : {true, false}) {
        TinMainViewHelper::setPaintCacheEnabledForTests(false);
        QImage direct = blank(Qt::magenta);
        paintTinOn(&direct, grid.tin, m_colors, *view, edges);
        TinMainViewHelper::setPaintCacheEnabledForTests(true);
        QImage kept = blank(Qt::magenta);
        paintTinOn(&kept, grid.tin, m_colors, *view, edges);
        EXPECT_EQ(direct, kept);
        // The holes show the background.
        EXPECT_GT(pixelsOf(kept, Qt::magenta), 0);
        TinMainViewHelper::discardPaintCache(view.get());
    }
}

TEST_F(TinPainting, KeptPictureOfTrianglesSmallerThanAPixelShowsWhatDirectDrawingShows)
{
    // 300 x 300 cells in a view of 200 x 200 pixels: most triangles cover no pixel centre and
    // are left out of the kept picture, which the painter drawing every one must confirm. On
    // the regular grid many corners and edges fall exactly on pixel centres; the jittered one
    // has none in particular.
    std::mt19937 random(11);
    std::uniform_real_distribution<double> jitter(-0.3, 0.3);
    for (bool jittered : {false, true}) {
        SCOPED_TRACE(jittered ? "jittered" : "regular");
        GridTin grid(300);
        if (jittered) {
            for (const PointPtr& p : grid.nodes) {
                p->setX(p->x() + jitter(random));
                p->setY(p->y() + jitter(random));
            }
        }
        auto view = makeMainView();
        view->fit(QRectF(0.0, 0.0, 300.0, 300.0));
        TinMainViewHelper::setPaintCacheEnabledForTests(false);
        QImage direct = blank();
        paintTinOn(&direct, grid.tin, m_colors, *view, false);
        TinMainViewHelper::setPaintCacheEnabledForTests(true);
        QImage kept = blank();
        paintTinOn(&kept, grid.tin, m_colors, *view, false);
        EXPECT_EQ(direct, kept);
        EXPECT_LT(pixelsOf(direct, Qt::white), 200 * 200 / 10);
    }
}

TEST_F(TinPainting, OverlayPicturesShowWhatDirectDrawingShowsAndLeaveTheTerrainsAlone)
{
    GridTin terrain(50);
    std::vector<std::unique_ptr<GridTin>> overlays;
    auto view = makeMainView();
    view->fit(QRectF(-1.5, -0.5, 52, 52));
    auto paintAll = [&](QImage* image) {
        QPainter painter(image);
        TinMainViewHelper::paintTin(&painter, view->transform(), view->drawnRegion(), &terrain.tin,
                                    &m_colors, view.get(), true);
        for (const auto& overlay : overlays) {
            TinMainViewHelper::paintTin(&painter, view->transform(), view->drawnRegion(),
                                        &overlay->tin, &m_colors, view.get(), false,
                                        TinMainViewHelper::Layer::Overlay);
        }
    };
    // Twelve small TINs over the terrain, more than the terrain's shelf holds; one of them
    // lies partly outside the view and one wholly.
    for (int k = 0; k < 12; ++k) {
        overlays.push_back(std::make_unique<GridTin>(3));
        const double dx = k == 10 ? -2.0 : k == 11 ? 80.0 : 4.0 * k;
        for (const PointPtr& node : overlays.back()->nodes) {
            *node = Point(node->x() + dx, node->y() + 0.5 * k, node->elevation());
        }
    }
    TinMainViewHelper::setPaintCacheEnabledForTests(false);
    QImage direct = blank(Qt::darkGray);
    paintAll(&direct);
    TinMainViewHelper::setPaintCacheEnabledForTests(true);
    QImage kept = blank(Qt::darkGray);
    paintAll(&kept);
    QImage again = blank(Qt::darkGray);
    paintAll(&again);
    EXPECT_EQ(direct, kept);
    EXPECT_EQ(direct, again);

    EXPECT_EQ(1u, TinPaintCache::existing(view.get())->size());
    const TinPaintCache* shelf = TinPaintCache::existing(view.get(), TinPaintCache::Shelf::Overlay);
    ASSERT_NE(nullptr, shelf);
    EXPECT_EQ(12u, shelf->size());
    // Cropped: together far less than one picture of the view.
    EXPECT_LT(shelf->pixels(), 200u * 200u / 4);
    TinMainViewHelper::discardPaintCache(view.get());
    EXPECT_EQ(0u, shelf->size());
}

class SetElevationCommand : public QUndoCommand {
public:
    SetElevationCommand(PointPtr point, double elevation)
        : m_point(std::move(point)), m_new(elevation), m_old(m_point->elevation())
    {
    }
    void redo() override { m_point->setElevation(m_new); }
    void undo() override { m_point->setElevation(m_old); }

private:
    PointPtr m_point;
    double m_new;
    double m_old;
};

TEST_F(TinPainting, KeptPictureIsNeverStale)
{
    QSettings().setValue(settings::graphicsShowTinEdges, true);
    GridTin grid(10);
    const QSize size(240, 180);
    TinScene scene(&grid.tin, &m_colors, size);
    // The view operations so far, replayed on a fresh scene to bring it to the same state.
    using Operation = std::function<void(mvc::core::View&)>;
    std::vector<Operation> operations;
    auto operate = [&](const Operation& operation) {
        operations.push_back(operation);
        operation(scene.view());
    };
    auto fresh = [&] {
        TinScene other(&grid.tin, &m_colors, size);
        for (const Operation& operation : operations) {
            operation(other.view());
        }
        return other.grab();
    };
    QImage shown = scene.grab();
    ASSERT_EQ(shown, fresh());
    auto check = [&](const char* change) {
        const QImage now = scene.grab();
        EXPECT_NE(shown, now) << change << " is not visible";
        EXPECT_EQ(fresh(), now) << "stale after: " << change;
        shown = now;
    };

    // An inner triangle (the TIN's extent, and so the fit, stays).
    std::shared_ptr<tin::core::Triangle> inner;
    for (const auto& t : grid.tin.allTriangles()) {
        if (t->point(0)->x() == 4.0 && t->point(0)->y() == 4.0) {
            inner = t;
        }
    }
    ASSERT_TRUE(inner);
    grid.tin.removeTriangle(inner);
    check("removing a triangle");

    QUndoStack stack;
    const PointPtr shared = grid.nodes[5 * 11 + 5];
    stack.push(new mvc::core::ModelItemController::UpdateViewCommand(
        new SetElevationCommand(shared, shared->elevation() > 0 ? -90.0 : 90.0), &scene.model()));
    check("an elevation command");
    stack.undo();
    check("undoing it");

    m_colors.setRange(-20.0, 40.0);
    check("a new colour range");
    m_colors.setWaterSurfaceValue(10.0);
    check("a new water surface");

    QSettings().setValue(settings::graphicsShowTinEdges, false);
    check("switching edges off");

    operate([](mvc::core::View& view) { view.resize(200, 220); });
    check("a resize");
    operate([](mvc::core::View& view) { view.moveLeft(); });
    check("panning");
    operate([](mvc::core::View& view) { view.zoomIn(); });
    check("zooming in");
}

TEST_F(TinPainting, RepaintsReuseThePictureUntilTheCachesAreDiscarded)
{
    GridTin grid(6);
    TinScene scene(&grid.tin, &m_colors, QSize(160, 160));
    const QImage first = scene.grab();
    ASSERT_NE(nullptr, TinPaintCache::existing(&scene.view()));
    EXPECT_EQ(1u, TinPaintCache::existing(&scene.view())->size());

    // An elevation edit that bypasses the undo commands is not seen by a plain repaint:
    // the picture is reused. The framework's discard (View::updateView) makes it show.
    for (const PointPtr& node : grid.nodes) {
        node->setElevation(-node->elevation());
    }
    EXPECT_EQ(first, scene.grab());
    scene.view().updateView();
    EXPECT_EQ(0u, TinPaintCache::existing(&scene.view())->size());
    const QImage updated = scene.grab();
    EXPECT_NE(first, updated);

    TinMainViewHelper::discardPaintCache(&scene.view());
    EXPECT_EQ(0u, TinPaintCache::existing(&scene.view())->size());
    EXPECT_EQ(updated, scene.grab());
}

} // namespace
} // namespace varnel::test
