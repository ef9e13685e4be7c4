// Painting of background images on the main view, checked on the view's picture at the
// widget positions (`View::conv`) of world points worked out from the placement alone:
// pixel centres and points just inside and just outside the four corners.
#include "ImagesTestSupport.h"

#include "brask/core/Model.h"
#include "brask/core/View.h"
#include "movarin/shell/CreateModeMainWindowModel.h"
#include "movarin/survey/BackgroundImageGroupItem.h"
#include "movarin/survey/BackgroundImageItem.h"
#include "pelkas/GdalImage.h"
#include "pelkas/GdalImageSetting.h"

#include <gtest/gtest.h>

#include <cmath>

namespace varnel::test {
namespace {

using pelkastest::makeSetting;
const QRgb RED = qRgb(220, 30, 30);
const QRgb GREEN = qRgb(30, 200, 60);
const QRgb BLUE = qRgb(40, 60, 230);
const QRgb YELLOW = qRgb(240, 220, 20);

// Two by two pixels: red, green in the top row; blue, yellow below.
QImage fourColours()
{
    QImage picture(2, 2, QImage::Format_RGB32);
    picture.setPixel(0, 0, RED);
    picture.setPixel(1, 0, GREEN);
    picture.setPixel(0, 1, BLUE);
    picture.setPixel(1, 1, YELLOW);
    return picture;
}

// World position of the image point at column c and row r (fractions allowed): the top-left
// corner plus c steps along the turned bottom edge and r steps down the turned side.
QPointF imagePoint(const gdalimg::GdalImageSetting& s, double c, double r)
{
    const double a = s.angle() * M_PI / 180.0;
    const QPointF u(s.scale() * std::cos(a), s.scale() * std::sin(a));
    const QPointF v(s.scale() * std::sin(a), -s.scale() * std::cos(a));
    return s.topLeft() + c * u + r * v;
}

QRgb colourAt(const QImage& picture, const mvc::core::View* view, QPointF world)
{
    const QPoint pixel = view->conv(world).toPoint();
    if (!picture.rect().contains(pixel)) {
        ADD_FAILURE() << "outside the view: " << pixel.x() << ", " << pixel.y();
        return 0;
    }
    return picture.pixel(pixel);
}

// The view centred on `centre`, 10 pixels a metre, turned by `angle`.
void aim(mvc::core::View* view, QPointF centre, double angle)
{
    view->setCenterPoint(centre);
    view->setScale(10.0);
    view->setAngleDegree(angle);
    view->updateView();
}

// Each pixel's centre shows its colour; a tenth of a pixel inside each corner shows the
// corner's pixel and a tenth outside (50 widget pixels a picture pixel: 5 pixels) shows the
// background.
void expectFourColours(const QImage& picture, const mvc::core::View* view,
                       const gdalimg::GdalImageSetting& s)
{
    const QRgb colours[2][2] = {{RED, GREEN}, {BLUE, YELLOW}};
    for (int r = 0; r < 2; ++r) {
        for (int c = 0; c < 2; ++c) {
            SCOPED_TRACE(testing::Message() << "pixel " << c << ", " << r);
            EXPECT_EQ(colourAt(picture, view, imagePoint(s, c + 0.5, r + 0.5)), colours[r][c]);
            const double inC = c == 0 ? 0.1 : 1.9;
            const double inR = r == 0 ? 0.1 : 1.9;
            const double outC = c == 0 ? -0.1 : 2.1;
            const double outR = r == 0 ? -0.1 : 2.1;
            EXPECT_EQ(colourAt(picture, view, imagePoint(s, inC, inR)), colours[r][c]);
            EXPECT_EQ(colourAt(picture, view, imagePoint(s, outC, outR)), backgroundColour());
            EXPECT_EQ(colourAt(picture, view, imagePoint(s, inC, outR)), backgroundColour());
            EXPECT_EQ(colourAt(picture, view, imagePoint(s, outC, inR)), backgroundColour());
        }
    }
}

TEST_F(ImagesTest, FourColoursLieAtTheirCornersWhateverImageAndViewAngle)
{
    BackgroundImageItem* item = importImage(writePicture("four.png", fourColours()));
    struct Case {
        double imageAngle;
        double viewAngle;
    };
    for (const Case c : {Case{0, 0}, Case{90, 0}, Case{0, 90}, Case{30, 0}, Case{-60, 45}}) {
        SCOPED_TRACE(testing::Message() << "image " << c.imageAngle << ", view " << c.viewAngle);
        const gdalimg::GdalImageSetting s = makeSetting(QPointF(1000.5, -250), 5.0, c.imageAngle);
        item->image()->setSetting(s);
        aim(view(), imagePoint(s, 1, 1), c.viewAngle);
        expectFourColours(picture(), view(), s);
    }
}

TEST_F(ImagesTest, UncheckedImageIsNeitherPaintedNorCountedAndHiddenOneComesBack)
{
    BackgroundImageItem* left = importImage(writePicture("left.png", filledPicture(2, 2, Qt::red)));
    BackgroundImageItem* right = importImage(writePicture("right.png", filledPicture(2, 2, Qt::blue)));
    left->image()->setSetting(makeSetting(QPointF(0, 20), 10.0, 0));
    right->image()->setSetting(makeSetting(QPointF(30, 20), 10.0, 0));
    mvc::core::Model* model = window()->model();
    EXPECT_EQ(model->boundingBox(), QRectF(0, 0, 50, 20));
    aim(view(), QPointF(25, 10), 0);
    const QPointF leftMiddle(10, 10);
    const QPointF rightMiddle(40, 10);

    right->setUnchecked();
    EXPECT_EQ(model->boundingBox(), QRectF(0, 0, 20, 20));
    QImage shown = picture();
    EXPECT_EQ(colourAt(shown, view(), leftMiddle), QColor(Qt::red).rgb());
    EXPECT_EQ(colourAt(shown, view(), rightMiddle), backgroundColour());
    right->setChecked();
    EXPECT_EQ(model->boundingBox(), QRectF(0, 0, 50, 20));

    EXPECT_TRUE(right->isVisible());
    right->toggleVisibility();
    EXPECT_FALSE(right->isVisible());
    EXPECT_EQ(colourAt(picture(), view(), rightMiddle), backgroundColour());
    right->toggleVisibility();
    EXPECT_TRUE(right->isVisible());
    EXPECT_EQ(colourAt(picture(), view(), rightMiddle), QColor(Qt::blue).rgb());

    right->toggleVisibility();
    right->show();
    EXPECT_TRUE(right->isVisible());
    EXPECT_EQ(colourAt(picture(), view(), rightMiddle), QColor(Qt::blue).rgb());
}

} // namespace
} // namespace varnel::test
