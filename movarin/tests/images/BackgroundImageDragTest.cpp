// The mouse drags of a background image on the main view: move, turn and scale, each one
// undo entry with a live preview, and the placements they compute in awkward positions.

#include "images/ImageControllerTestSupport.h"

#include "movarin/survey/BackgroundImageDragGeometry.h"
#include "movarin/survey/BackgroundImageItem.h"
#include "movarin/survey/BackgroundImageItemControllerSetSettingCommand.h"

#include "movarin/shell/ProjectFile.h"

#include "brask/core/View.h"
#include "pelkas/GdalImage.h"

#include <QUndoStack>

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace varnel;
using namespace varnel::test;
using varnel::BackgroundImageDragGeometry;

namespace {

const gdalimg::GdalImageSetting& settingOf(const BackgroundImageItem* item)
{
    return item->image()->setting();
}

/// The difference of two angles in degrees, brought into (-180, 180].
double turn(double to, double from)
{
    double d = std::fmod(to - from, 360.0);
    if (d <= -180.0) {
        d += 360.0;
    } else if (d > 180.0) {
        d -= 360.0;
    }
    return d;
}

/// The direction of a widget vector as a mathematician draws it (y upwards), in degrees.
double screenDirection(const QPointF& v)
{
    return std::atan2(-v.y(), v.x()) * 180.0 / M_PI;
}

class BackgroundImageDragTest : public ImageControllerTest {};

} // namespace

TEST_F(BackgroundImageDragTest, LeftDragMovesByTheMousesWorldShiftAsOneUndoEntry)
{
    BackgroundImageItem* item = placeImage(40, 30, placement({-20.0, 15.0}, 1.0, 30.0));
    const int entries = undoStack()->count();

    // The preview moves the image itself and pushes nothing.
    mainView().press({200, 150});
    mainView().move({230, 130}, Qt::LeftButton);
    EXPECT_EQ(settingOf(item).topLeft(), QPointF(-5.0, 25.0));
    EXPECT_EQ(undoStack()->count(), entries);
    mainView().move({240, 120}, Qt::LeftButton);
    mainView().release({240, 120});

    EXPECT_EQ(settingOf(item).topLeft(), QPointF(0.0, 30.0));
    EXPECT_EQ(settingOf(item).angle(), 30.0);
    EXPECT_EQ(settingOf(item).scale(), 1.0);
    ASSERT_EQ(undoStack()->count(), entries + 1);
    EXPECT_TRUE(project().projectFile()->isModified());
    undoStack()->undo();
    EXPECT_EQ(settingOf(item).topLeft(), QPointF(-20.0, 15.0));
    undoStack()->redo();
    EXPECT_EQ(settingOf(item).topLeft(), QPointF(0.0, 30.0));

    // A click without a move is an entry of its own that changes nothing.
    mainView().click({10, 10});
    EXPECT_EQ(undoStack()->count(), entries + 2);
    EXPECT_EQ(settingOf(item).topLeft(), QPointF(0.0, 30.0));
}

TEST_F(BackgroundImageDragTest, MiddleDragScalesAboutTheCornerAndStopsAtTheMinimum)
{
    // 40 x 30 pixels of 1 m: the box is 60 pixels high on the screen.
    BackgroundImageItem* item = placeImage(40, 30, placement({-20.0, 15.0}, 1.0, 0.0));

    mainView().drag({200, 150}, {200, 90}, Qt::MiddleButton);
    EXPECT_DOUBLE_EQ(settingOf(item).scale(), 2.0);
    EXPECT_EQ(settingOf(item).topLeft(), QPointF(-20.0, 15.0));

    undoStack()->undo();
    mainView().drag({200, 150}, {200, 150 + 61}, Qt::MiddleButton);
    EXPECT_EQ(settingOf(item).scale(), gdalimg::GdalImageSetting::scaleMin);
    mainView().drag({200, 100}, {200, 250}, Qt::MiddleButton);
    EXPECT_EQ(settingOf(item).scale(), gdalimg::GdalImageSetting::scaleMin);
}

TEST_F(BackgroundImageDragTest, RightDragTurnsTheImageWithTheMouse)
{
    // The corner (-20, 15) lies at pixel (160, 120).
    BackgroundImageItem* item = placeImage(40, 30, placement({-20.0, 15.0}, 1.0, 30.0));
    const QPoint corner = pixel({-20.0, 15.0});
    ASSERT_EQ(corner, QPoint(160, 120));

    // From right of the corner to below it: a quarter turn clockwise on the screen.
    const int entries = undoStack()->count();
    mainView().drag(corner + QPoint(100, 0), corner + QPoint(0, 100), Qt::RightButton);
    EXPECT_NEAR(settingOf(item).angle(), 300.0, 1e-9);
    EXPECT_EQ(settingOf(item).topLeft(), QPointF(-20.0, 15.0));
    EXPECT_EQ(undoStack()->count(), entries + 1);
    undoStack()->undo();
    EXPECT_EQ(settingOf(item).angle(), 30.0);

    // 350 turned counter-clockwise by 20 degrees passes 360 and becomes 10; far positions
    // make the pixel grid's error small.
    undoStack()->push(new BackgroundImageItemController::SetSettingCommand(
        placement({-20.0, 15.0}, 1.0, 350.0), item->image()));
    const double radians = 20.0 * M_PI / 180.0;
    const QPoint turned(static_cast<int>(std::lround(10000.0 * std::cos(radians))),
                        -static_cast<int>(std::lround(10000.0 * std::sin(radians))));
    mainView().drag(corner + QPoint(10000, 0), corner + turned, Qt::RightButton);
    EXPECT_NEAR(settingOf(item).angle(), 10.0, 0.01);

    // A turned view changes nothing: the image still follows the mouse. The corner now
    // falls between pixels: far positions again.
    view()->setAngleDegree(30.0);
    view()->updateView();
    const QPoint turnedCorner = pixel({-20.0, 15.0});
    const double before = settingOf(item).angle();
    mainView().drag(turnedCorner + QPoint(0, -10000), turnedCorner + QPoint(-10000, 0),
                    Qt::RightButton);
    EXPECT_NEAR(turn(settingOf(item).angle(), before), 90.0, 0.01);
}

TEST_F(BackgroundImageDragTest, DegeneratePositionsGiveFinitePlacements)
{
    BackgroundImageItem* item = placeImage(40, 30, placement({-20.0, 15.0}, 1.0, 30.0));
    const QPoint corner = pixel({-20.0, 15.0});

    // A press on the corner pixel has no direction: the angle stays.
    mainView().drag(corner, corner + QPoint(50, 20), Qt::RightButton);
    EXPECT_EQ(settingOf(item).angle(), 30.0);
    mainView().drag(corner + QPoint(50, 20), corner + QPoint(1, 0), Qt::RightButton);
    EXPECT_EQ(settingOf(item).angle(), 30.0);

    // A square image at 45 degrees in a view turned by 45: its box's corners meet on one
    // screen row, yet the scale follows the box's height.
    BackgroundImageItem* square = placeImage(50, 50, placement({0.0, 0.0}, 1.0, 45.0));
    view()->setAngleDegree(45.0);
    view()->updateView();
    mainView().drag({200, 150}, {200, 130}, Qt::MiddleButton);
    EXPECT_TRUE(std::isfinite(settingOf(square).scale()));
    const double boxPixels = 2.0 * 50.0 * std::sqrt(2.0);
    EXPECT_NEAR(settingOf(square).scale(), 20.0 / boxPixels + 1.0, 1e-12);
}

TEST(BackgroundImageDragGeometry, TurnsByTheScreenAngleBetweenPressAndMouse)
{
    // Against the difference of the two directions seen from the corner.
    std::mt19937_64 random(5);
    std::uniform_real_distribution<double> position(-500.0, 500.0);
    std::uniform_real_distribution<double> angle(-720.0, 720.0);
    for (int i = 0; i < 1000; ++i) {
        const QPointF corner(position(random), position(random));
        const QPointF press(position(random), position(random));
        const QPointF current(position(random), position(random));
        const gdalimg::GdalImageSetting start = placement({3.0, 4.0}, 2.0, angle(random));
        const gdalimg::GdalImageSetting result =
            BackgroundImageDragGeometry::rotated(start, corner, press, current);
        SCOPED_TRACE(testing::Message() << "case " << i);
        EXPECT_GE(result.angle(), 0.0);
        EXPECT_LT(result.angle(), 360.0);
        const double expected = screenDirection(current - corner) - screenDirection(press - corner);
        EXPECT_NEAR(turn(result.angle() - start.angle(), expected), 0.0, 1e-9);
        EXPECT_EQ(result.topLeft(), start.topLeft());
        EXPECT_EQ(result.scale(), start.scale());
    }
    // Opposite directions: a half turn, where the sine of the turn is all rounding.
    const gdalimg::GdalImageSetting half = BackgroundImageDragGeometry::rotated(
        placement({}, 1.0, 0.0), {0.0, 0.0}, {7.0, 3.0}, {-14.0, -6.0});
    EXPECT_NEAR(half.angle(), 180.0, 1e-9);
}
