// Points, polygons, polylines and rubber bands on the main view and the secondary views,
// checked against what a recording paint engine receives.
#include "shell/HelperTestSupport.h"

#include "movarin/sections/CrossSectionLhView.h"
#include "movarin/shell/PointsGeoreferenceViewHelper.h"
#include "movarin/shell/PointsMainViewHelper.h"
#include "movarin/shell/PointsMoldDetailViewHelper.h"
#include "movarin/shell/PolygonCrossSectionLhViewHelper.h"
#include "movarin/shell/PolygonGeoreferenceViewHelper.h"
#include "movarin/shell/PolygonMainViewHelper.h"
#include "movarin/shell/PolygonMoldDetailViewHelper.h"
#include "movarin/shell/PolylineCrossSectionLhViewHelper.h"
#include "movarin/shell/PolylineMainViewHelper.h"
#include "movarin/shell/PolylineMoldDetailViewHelper.h"
#include "movarin/shell/RectCrossSectionLhViewHelper.h"
#include "movarin/shell/RectGeoreferenceViewHelper.h"
#include "movarin/shell/RectMainViewHelper.h"
#include "movarin/shell/RectMoldDetailViewHelper.h"
#include "movarin/surfaces/DetailView.h"
#include "movarin/survey/GeoreferenceView.h"

#include "orlin/core/Point.h"
#include "orlin/core/Polygon.h"
#include "orlin/core/Rect.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace varnel::test {
namespace {

using tin::core::Point;
using tin::core::Point2D;

TEST(ShapeHelpers, MissingOrTooLittleDataDrawsNothing)
{
    auto main = makeMainView();
    auto lh = makePrimitiveView<CrossSectionLhView>();
    auto detail = makePrimitiveView<DetailView>();
    auto georeference = makePrimitiveView<GeoreferenceView>();

    const std::vector<Point> noPoints;
    const std::vector<Point> onePoint{Point(0.5, 0.5, 1.0)};
    const std::vector<std::shared_ptr<Point>> oneShared{std::make_shared<Point>(0.5, 0.5)};
    const std::vector<QPointF> noPositions;
    const std::vector<QPointF> onePosition{QPointF(0.5, 0.5)};
    const tin::core::Polygon oneVertex{Point2D(0.5, 0.5)};
    const tin::core::Rect invalid;
    const int ring = 3;

    PointsMainViewHelper points(&noPoints, main.get());
    PolygonMainViewHelper nullPolygon(nullptr, main.get());
    PolygonMainViewHelper oneVertexPolygon(&oneVertex, main.get());
    PolylineMainViewHelper line(&onePoint, main.get(), nullptr);
    PolylineMainViewHelper rings(&onePoint, main.get(), &ring);
    PolylineMainViewHelper sharedLine(&oneShared, main.get(), nullptr);
    RectMainViewHelper band(&invalid, main.get(), QPen());
    for (mvc::util::MainViewHelperI* helper : std::vector<mvc::util::MainViewHelperI*>{
             &points, &nullPolygon, &oneVertexPolygon, &line, &rings, &sharedLine, &band}) {
        EXPECT_TRUE(recordsOf(*helper, *main).empty());
    }

    PointsMoldDetailViewHelper detailPoints(&noPositions, detail.get(), QBrush(Qt::red));
    PolygonMoldDetailViewHelper detailPolygon(nullptr, detail.get());
    PolylineMoldDetailViewHelper detailLine(&onePosition, detail.get(), QPen());
    EXPECT_TRUE(recordsOf(detailPoints, *detail).empty());
    EXPECT_TRUE(recordsOf(detailPolygon, *detail).empty());
    EXPECT_TRUE(recordsOf(detailLine, *detail).empty());

    PolygonCrossSectionLhViewHelper lhPolygon(&oneVertex, lh.get());
    PolylineCrossSectionLhViewHelper lhLine(&noPositions, lh.get(), QPen());
    RectCrossSectionLhViewHelper lhBand(&invalid, lh.get(), QPen());
    EXPECT_TRUE(recordsOf(lhPolygon, *lh).empty());
    EXPECT_TRUE(recordsOf(lhLine, *lh).empty());
    EXPECT_TRUE(recordsOf(lhBand, *lh).empty());

    PolygonGeoreferenceViewHelper georeferencePolygon(nullptr, georeference.get());
    RectGeoreferenceViewHelper georeferenceBand(&invalid, georeference.get(), QPen());
    EXPECT_TRUE(recordsOf(georeferencePolygon, *georeference).empty());
    EXPECT_TRUE(recordsOf(georeferenceBand, *georeference).empty());
}

TEST(ShapeHelpers, DotsKeepTheirPixelRadiusAtAnyZoom)
{
    auto view = makeMainView();
    const std::vector<Point> points{Point(0.0, 0.0), Point(1.0, -0.5, 7.0)};
    PointsMainViewHelper helper(&points, view.get(), QPen(Qt::blue), QBrush(Qt::yellow));
    for (double scale : {50.0, 400.0, 0.5}) {
        view->setScale(scale);
        view->updateView();
        for (int radius : {3, 4}) {
            if (radius != 3) {
                EXPECT_EQ(&helper, helper.setRadius(radius));
            }
            const auto dots = recordsOf(helper, *view);
            ASSERT_EQ(2u, dots.size());
            for (std::size_t i = 0; i < dots.size(); ++i) {
                EXPECT_EQ(PaintRecord::Ellipse, dots[i].kind);
                const QRectF r = dots[i].transform.mapRect(dots[i].rect);
                expectNear(view->conv(QPointF(points[i].x(), points[i].y())), r.center());
                EXPECT_DOUBLE_EQ(2.0 * radius, r.width());
                EXPECT_DOUBLE_EQ(2.0 * radius, r.height());
                EXPECT_EQ(QColor(Qt::blue), dots[i].pen.color());
                EXPECT_EQ(QColor(Qt::yellow), dots[i].brush.color());
            }
        }
        helper.setRadius(3);
    }

    auto georeference = makePrimitiveView<GeoreferenceView>();
    const std::vector<QPointF> positions{QPointF(-1.0, 1.0)};
    PointsGeoreferenceViewHelper marks(&positions, georeference.get(), QPen(Qt::red));
    const auto dots = recordsOf(*marks.setRadius(4), *georeference);
    ASSERT_EQ(1u, dots.size());
    EXPECT_EQ(QRectF(px(-1.0, 1.0) - QPointF(4, 4), QSizeF(8, 8)),
              dots[0].transform.mapRect(dots[0].rect));
}

TEST(ShapeHelpers, PolygonIsClosedAndFilledByTheOddEvenRule)
{
    auto main = makeMainView();
    auto detail = makePrimitiveView<DetailView>();
    const tin::core::Polygon polygon{Point2D(0, 0), Point2D(1, 0), Point2D(1, 1), Point2D(0, 1.5)};
    const QPolygonF expected = polygonOf({px(0, 0), px(1, 0), px(1, 1), px(0, 1.5)});
    PolygonMainViewHelper onMain(&polygon, main.get());
    PolygonMoldDetailViewHelper onDetail(&polygon, detail.get());
    for (const auto& records : {recordsOf(onMain, *main), recordsOf(onDetail, *detail)}) {
        ASSERT_EQ(1u, records.size());
        EXPECT_EQ(PaintRecord::Polygon, records[0].kind);
        EXPECT_EQ(Qt::OddEvenFill, records[0].fillRule);
        expectPolygon(expected, records[0].devicePoints());
    }
}

TEST(ShapeHelpers, RingsOfThreeOverSevenPointsDrawTwoClosedTriangles)
{
    auto view = makeMainView();
    std::vector<Point> points;
    for (int i = 0; i < 7; ++i) {
        points.emplace_back(0.1 * i, 0.2 * (i % 3), 0.0);
    }
    int ringSize = 3;
    PolylineMainViewHelper rings(&points, view.get(), QPen(Qt::red), &ringSize);
    const auto records = recordsOf(rings, *view);
    ASSERT_EQ(2u, records.size());
    for (int ring = 0; ring < 2; ++ring) {
        EXPECT_EQ(PaintRecord::Polyline, records[ring].kind);
        QPolygonF expected;
        for (int i : {0, 1, 2, 0}) {
            const Point& p = points[3 * ring + i];
            expected << px(p.x(), p.y());
        }
        expectPolygon(expected, records[ring].devicePoints());
        EXPECT_EQ(QColor(Qt::red), records[ring].pen.color());
    }

    // The ring size is read at every paint; null draws one open line through all points.
    ringSize = 2;
    EXPECT_EQ(3u, recordsOf(rings, *view).size());
    std::vector<std::shared_ptr<Point>> shared;
    for (const Point& p : points) {
        shared.push_back(std::make_shared<Point>(p));
    }
    PolylineMainViewHelper open(&shared, view.get(), nullptr);
    const auto line = recordsOf(open, *view);
    ASSERT_EQ(1u, line.size());
    EXPECT_EQ(PaintRecord::Polyline, line[0].kind);
    EXPECT_EQ(7, line[0].points.size());
    expectNear(px(points[6].x(), points[6].y()), line[0].devicePoints().back());
}

TEST(ShapeHelpers, RubberBandDoesNotDependOnThePressedCorner)
{
    auto main = makeMainView();
    auto detail = makePrimitiveView<DetailView>();
    tin::core::Rect band;
    RectMainViewHelper onMain(&band, main.get(), QPen(Qt::black));
    RectMoldDetailViewHelper onDetail(&band, detail.get(), QPen(Qt::black));
    EXPECT_TRUE(recordsOf(onMain, *main).empty());

    // Pressed at the lower right, dragged to the upper left; then the other way.
    band = tin::core::Rect(1.5, -0.5, -1.0, 1.0);
    const auto fromLowerRight = recordsOf(onMain, *main);
    band = tin::core::Rect(-1.0, 1.0, 1.5, -0.5);
    const auto fromUpperLeft = recordsOf(onMain, *main);
    ASSERT_EQ(1u, fromLowerRight.size());
    ASSERT_EQ(1u, fromUpperLeft.size());
    const QPolygonF expected = polygonOf({px(-1, -0.5), px(-1, 1), px(1.5, 1), px(1.5, -0.5)});
    expectPolygon(expected, fromLowerRight[0].devicePoints());
    expectPolygon(expected, fromUpperLeft[0].devicePoints());
    EXPECT_EQ(Qt::NoBrush, fromUpperLeft[0].brush.style());

    const auto onDetailRecords = recordsOf(onDetail, *detail);
    ASSERT_EQ(1u, onDetailRecords.size());
    expectPolygon(expected, onDetailRecords[0].devicePoints());
}

TEST(ShapeHelpers, PainterPenAndBrushAreRestored)
{
    auto view = makeMainView();
    const std::vector<Point> points{Point(0, 0), Point(1, 1)};
    const tin::core::Polygon polygon{Point2D(0, 0), Point2D(1, 0), Point2D(0, 1)};
    const tin::core::Rect band(0, 0, 1, 1);
    PointsMainViewHelper dots(&points, view.get(), QPen(Qt::red), QBrush(Qt::red));
    PolygonMainViewHelper filled(&polygon, view.get());
    PolylineMainViewHelper line(&points, view.get(), QPen(Qt::red), QBrush(Qt::red), nullptr);
    RectMainViewHelper rect(&band, view.get(), QPen(Qt::red), QBrush(Qt::red));
    QImage image(200, 200, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    const QPen pen(Qt::green, 3.0);
    const QBrush brush(Qt::cyan, Qt::Dense3Pattern);
    for (mvc::util::MainViewHelperI* helper :
         std::vector<mvc::util::MainViewHelperI*>{&dots, &filled, &line, &rect}) {
        painter.setPen(pen);
        painter.setBrush(brush);
        helper->paintView(&painter, view->transform(), view->drawnRegion());
        EXPECT_EQ(pen, painter.pen());
        EXPECT_EQ(brush, painter.brush());
    }
}

} // namespace
} // namespace varnel::test
