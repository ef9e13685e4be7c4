// The control-point markers: a 3-pixel disc at every row's source on the georeference
// pane and at its destination on the main view, enabled or not.

#include "movarin/survey/GcpTableGeoreferenceViewHelper.h"
#include "movarin/survey/GcpTableMainViewHelper.h"

#include "brask/core/View.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

using varnel::GcpTable;

namespace {

const QColor background(Qt::white);

template <class Helper, class View>
QImage paint(Helper& helper, const View& view)
{
    QImage image(view.size(), QImage::Format_RGB32);
    image.fill(background);
    QPainter painter(&image);
    helper.paintView(&painter, view.transform(), QRectF());
    return image;
}

/// A disc of radius 3 around `centre`: painted at distances up to 2 pixels, not at 5.
void expectDisc(const QImage& image, const QPointF& centre)
{
    const QPoint c = centre.toPoint();
    for (const QPoint& d : {QPoint(0, 0), QPoint(2, 0), QPoint(0, -2), QPoint(-1, 1)}) {
        EXPECT_EQ(image.pixelColor(c + d), QColor(Qt::magenta)) << "at " << c.x() + d.x() << ", "
                                                                 << c.y() + d.y();
    }
    for (const QPoint& d : {QPoint(5, 0), QPoint(0, 5), QPoint(-4, -4)}) {
        EXPECT_EQ(image.pixelColor(c + d), background) << "at " << c.x() + d.x() << ", "
                                                        << c.y() + d.y();
    }
}

const GcpTable table = {{true, 20, -30, 1000, 2000}, {false, 150, -80, 1010, 1990}};

} // namespace

TEST(GcpTablePainters, DiscAtEverySourceOnThePane)
{
    varnel::GeoreferenceView pane;
    pane.resize(200, 120);
    pane.setScale(1.0);
    pane.setCenterPoint(QPointF(100, -60));
    pane.updateTransform();
    varnel::GcpTableGeoreferenceViewHelper helper(&table, &pane, QPen(Qt::magenta),
                                                  QBrush(Qt::magenta));
    const QImage image = paint(helper, pane);
    expectDisc(image, pane.conv(QPointF(20, -30)));
    expectDisc(image, pane.conv(QPointF(150, -80)));
    // Destinations are not drawn on the pane.
    const GcpTable empty;
    varnel::GcpTableGeoreferenceViewHelper none(&empty, &pane, QPen(Qt::magenta),
                                                QBrush(Qt::magenta));
    const QImage blank = paint(none, pane);
    EXPECT_EQ(blank.pixelColor(pane.conv(QPointF(20, -30)).toPoint()), background);
}

TEST(GcpTablePainters, DiscAtEveryDestinationOnTheMainView)
{
    mvc::core::View view;
    view.resize(200, 200);
    view.fit(QRectF(995, 1985, 20, 20));
    varnel::GcpTableMainViewHelper helper(&table, &view, QPen(Qt::magenta), QBrush(Qt::magenta));
    const QImage image = paint(helper, view);
    expectDisc(image, view.conv(QPointF(1000, 2000)));
    expectDisc(image, view.conv(QPointF(1010, 1990)));
}
