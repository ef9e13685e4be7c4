#pragma once

// Views set up so that the world point (x, y) lands on the widget point
// (100 + 50 x, 100 - 50 y): 200 by 200 pixels, 50 pixels per metre, (0, 0) in the middle.
// Helpers are painted onto a recording device or an image with the view's transform and
// visible rectangle, as the views do.

#include "shell/RecordingPaintDevice.h"

#include "brask/core/View.h"
#include "brask/view/PrimitiveView.h"

#include <QPainter>
#include <QPointF>
#include <QRectF>

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>

namespace varnel::test {

inline QPointF px(double x, double y)
{
    return QPointF(100.0 + 50.0 * x, 100.0 - 50.0 * y);
}

/// A main view showing the world square (-2, -2) to (2, 2).
inline std::unique_ptr<mvc::core::View> makeMainView()
{
    auto view = std::make_unique<mvc::core::View>();
    view->resize(200, 200);
    view->fit(QRectF(-2.0, -2.0, 4.0, 4.0));
    return view;
}

/// A secondary view of type V with the same placement.
template <class V> std::unique_ptr<V> makePrimitiveView()
{
    auto view = std::make_unique<V>();
    view->resize(200, 200);
    view->setScale(50.0);
    view->setCenterPoint(QPointF(0.0, 0.0));
    view->updateTransform();
    return view;
}

inline QRectF visibleRect(const mvc::core::View& view)
{
    return view.drawnRegion();
}

inline QRectF visibleRect(const mvc::view::PrimitiveView& view)
{
    return view.drawnArea();
}

/// Paints `helper` on `device` (records appended) the way view `view` would.
template <class Helper, class V> void paintOn(QPaintDevice* device, Helper& helper, const V& view)
{
    QPainter painter(device);
    helper.paintView(&painter, view.transform(), visibleRect(view));
}

/// The records of one paint of `helper` on a fresh recording device.
template <class Helper, class V> std::vector<PaintRecord> recordsOf(Helper& helper, const V& view)
{
    RecordingPaintDevice device;
    paintOn(&device, helper, view);
    return device.records();
}

inline QPolygonF polygonOf(std::initializer_list<QPointF> points)
{
    return QPolygonF(QVector<QPointF>(points));
}

inline void expectNear(const QPointF& expected, const QPointF& actual, double tolerance = 1e-6)
{
    EXPECT_NEAR(expected.x(), actual.x(), tolerance);
    EXPECT_NEAR(expected.y(), actual.y(), tolerance);
}

inline void expectPolygon(const QPolygonF& expected, const QPolygonF& actual)
{
    ASSERT_EQ(expected.size(), actual.size());
    for (int i = 0; i < expected.size(); ++i) {
        expectNear(expected[i], actual[i]);
    }
}

} // namespace varnel::test
