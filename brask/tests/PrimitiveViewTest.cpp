// The secondary 2-D view: its transform with relative scales and a subclass's
// modification, the signal after each transform change, and its navigation.

#include "ViewTestSupport.h"

#include "brask/view/PrimitiveView.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>

using namespace viewtest;
using mvc::view::PrimitiveView;

namespace {

// Shifts the drawing 10 pixels to the right after the view transform and counts its
// pictures.
class ShiftedView : public PrimitiveView {
public:
    int pictures = 0;

protected:
    QTransform modifyTransform() const override { return QTransform::fromTranslate(10, 0); }
    QPixmap drawModel() override
    {
        ++pictures;
        return PrimitiveView::drawModel();
    }
};

void expectNear(const QPointF& actual, const QPointF& expected, double tolerance)
{
    EXPECT_NEAR(actual.x(), expected.x(), tolerance);
    EXPECT_NEAR(actual.y(), expected.y(), tolerance);
}

} // namespace

TEST(PrimitiveView, TransformStretchesEachAxisAndAppliesTheModificationAfterwards)
{
    ShiftedView view;
    view.resize(400, 200);
    view.setCenterPoint(QPointF(100, 50));
    view.setScale(2.0);
    view.setRelativeScaleX(2.0);
    view.setRelativeScaleY(0.5);
    view.updateTransform();
    expectNear(view.conv(QPointF(100, 50)), QPointF(210, 100), 1e-12);
    expectNear(view.conv(QPointF(101, 51)), QPointF(214, 99), 1e-12);
    expectNear(view.rconv(view.conv(QPointF(-3.5, 7.25))), QPointF(-3.5, 7.25), 1e-12);
    const QRectF area = view.drawnArea();
    expectNear(area.topLeft(), QPointF(100 - 210 / 4.0, -50), 1e-12);
    expectNear(area.bottomRight(), QPointF(100 + 190 / 4.0, 150), 1e-12);
}

TEST(PrimitiveView, PanDividesThePixelOffsetAxisByAxisAndEveryChangeIsSignalled)
{
    ShiftedView view;
    view.resize(400, 200);
    view.setScale(4.0);
    view.setRelativeScaleX(2.0);
    view.setRelativeScaleY(0.5);
    view.updateTransform();
    QSignalSpy spy(&view, &PrimitiveView::drawnAreaChanged);

    const QPoint from(100, 100);
    const QPoint to(140, 80);
    const QPointF grabbed = view.rconv(from);
    drag(&view, {from, QPoint(120, 90), to}, Qt::LeftButton, Qt::ControlModifier);
    // 40 pixels right over 2 x 4, 20 pixels up over 0.5 x 4.
    expectNear(view.centerPoint(), QPointF(-5.0, -10.0), 1e-12);
    expectNear(view.rconv(to), grabbed, 1e-12);
    EXPECT_EQ(spy.count(), 3); // two moves and the release
    EXPECT_FALSE(view.inViewOperation());

    drag(&view, {QPoint(0, 100), QPoint(0, 50)}, Qt::MiddleButton, Qt::ControlModifier);
    EXPECT_NEAR(view.scale(), 4.0 * std::exp(0.5), 1e-12);
    wheel(&view, 120);
    EXPECT_NEAR(view.scale(), 8.0 * std::exp(0.5), 1e-12);
    wheel(&view, -120);
    EXPECT_NEAR(view.scale(), 4.0 * std::exp(0.5), 1e-12);
    EXPECT_EQ(spy.count(), 3 + 2 + 2);
    view.updateView();
    EXPECT_EQ(spy.count(), 8);
}

TEST(PrimitiveView, RightPressesOutsideDragsAreRememberedAndDragsReuseThePicture)
{
    ShiftedView view;
    view.resize(400, 200);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    press(&view, QPoint(30, 40), Qt::RightButton);
    release(&view, QPoint(30, 40), Qt::RightButton);
    EXPECT_EQ(view.rightClickPos(), QPoint(30, 40));
    drag(&view, {QPoint(50, 60), QPoint(55, 65)}, Qt::RightButton, Qt::ControlModifier);
    EXPECT_EQ(view.rightClickPos(), QPoint(30, 40));

    view.repaint();
    const int pictures = view.pictures;
    press(&view, QPoint(100, 100), Qt::LeftButton, Qt::ControlModifier);
    move(&view, QPoint(120, 100), Qt::LeftButton, Qt::ControlModifier);
    view.repaint();
    EXPECT_EQ(view.pictures, pictures);
    release(&view, QPoint(120, 100), Qt::LeftButton, Qt::ControlModifier);
    view.repaint();
    EXPECT_EQ(view.pictures, pictures + 1);
}
