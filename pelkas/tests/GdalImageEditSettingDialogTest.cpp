// The image position dialog, driven as a user would: boxes filled, method chosen, buttons
// clicked by their role. Corners are checked against the placement geometry worked out here:
// the image hangs h pixels down from its top-left corner along (sin a, -cos a) and runs w
// pixels along (cos a, sin a), each pixel s long.

#include "PelkasTestSupport.h"

#include "pelkas/GdalImageEditSettingDialog.h"
#include "pelkas/GdalImageSetting.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <cmath>

using gdalimg::GdalImageEditSettingDialog;
using gdalimg::GdalImageSetting;
using pelkastest::makeSetting;

namespace {

constexpr double PI = 3.141592653589793;

// The dialog with its boxes and buttons found as a test would find them on screen.
class DialogDriver {
public:
    DialogDriver(int width, int height, const GdalImageSetting& setting)
    {
        dialog.setWidth(width);
        dialog.setHeight(height);
        dialog.setSetting(setting);
    }

    QDoubleSpinBox* box(const char* name) { return dialog.findChild<QDoubleSpinBox*>(name); }
    QPointF bottomLeft() { return {box("bottomLeftX")->value(), box("bottomLeftY")->value()}; }
    QPointF bottomRight() { return {box("bottomRightX")->value(), box("bottomRightY")->value()}; }
    double scale() { return box("scale")->value(); }
    double angle() { return box("angle")->value(); }

    void setCorners(QPointF bottomLeft, QPointF bottomRight)
    {
        box("bottomLeftX")->setValue(bottomLeft.x());
        box("bottomLeftY")->setValue(bottomLeft.y());
        box("bottomRightX")->setValue(bottomRight.x());
        box("bottomRightY")->setValue(bottomRight.y());
    }

    void chooseCorners() { dialog.findChild<QRadioButton*>("byCornersButton")->click(); }
    void chooseScale() { dialog.findChild<QRadioButton*>("byScaleButton")->click(); }

    void click(QDialogButtonBox::ButtonRole role)
    {
        auto* buttons = dialog.findChild<QDialogButtonBox*>("buttonBox");
        for (QAbstractButton* button : buttons->buttons()) {
            if (buttons->buttonRole(button) == role) {
                button->click();
                return;
            }
        }
        ADD_FAILURE() << "no button of role " << role;
    }

    GdalImageEditSettingDialog dialog;
};

void expectSetting(const GdalImageSetting& actual, const GdalImageSetting& expected, double tolerance)
{
    EXPECT_NEAR(actual.topLeft().x(), expected.topLeft().x(), tolerance);
    EXPECT_NEAR(actual.topLeft().y(), expected.topLeft().y(), tolerance);
    EXPECT_NEAR(actual.scale(), expected.scale(), tolerance);
    EXPECT_NEAR(actual.angle(), expected.angle(), tolerance);
}

} // namespace

TEST(GdalImageEditSettingDialog, ShowsTheBottomCornersOfTheSetting)
{
    DialogDriver driver(50, 100, makeSetting({100, 500}, 2, 0));
    EXPECT_EQ(driver.bottomLeft(), QPointF(100, 300));
    EXPECT_EQ(driver.bottomRight(), QPointF(200, 300));

    // Editing a box moves the bottom-right corner along; OK writes the boxes back.
    driver.box("angle")->setValue(90);
    EXPECT_NEAR(driver.bottomRight().x(), 100, 1e-9);
    EXPECT_NEAR(driver.bottomRight().y(), 400, 1e-9);
    driver.click(QDialogButtonBox::AcceptRole);
    EXPECT_EQ(driver.dialog.result(), QDialog::Accepted);
    // The bottom-left corner stays at (100, 300); rotated by 90 degrees the image hangs towards +x.
    expectSetting(driver.dialog.setting(), makeSetting({100 - 200, 300}, 2, 90), 1e-9);
}

TEST(GdalImageEditSettingDialog, TwoCornersGiveScaleAndAngle)
{
    DialogDriver driver(10, 20, GdalImageSetting());
    driver.chooseCorners();
    const struct {
        QPointF right;
        double angle;
    } cases[] = {{{0, 10}, 90}, {{0, -10}, -90}, {{-10, 0}, -180}, {{-10, 10}, 135}};
    for (const auto& c : cases) {
        driver.setCorners({0, 0}, c.right);
        EXPECT_NEAR(driver.angle(), c.angle, 1e-9) << c.right.x() << ", " << c.right.y();
        EXPECT_NEAR(driver.scale(), std::hypot(c.right.x(), c.right.y()) / 10, 1e-4);
    }

    // Applied, the top-left corner lies h pixels up the rotated image from the bottom-left one.
    driver.setCorners({500, 600}, {500, 610});
    driver.click(QDialogButtonBox::ApplyRole);
    expectSetting(driver.dialog.setting(), makeSetting({500 - 20, 600}, 1, 90), 1e-9);
}

TEST(GdalImageEditSettingDialog, RotatedSettingPassesThroughUnchanged)
{
    const int w = 400, h = 300;
    const GdalImageSetting original = makeSetting({1000, 2000}, 0.5, 30);
    const double a = 30 * PI / 180;
    const QPointF bottomLeft(1000 + 0.5 * h * std::sin(a), 2000 - 0.5 * h * std::cos(a));
    const QPointF bottomRight = bottomLeft + 0.5 * w * QPointF(std::cos(a), std::sin(a));

    DialogDriver shown(w, h, original);
    EXPECT_NEAR(shown.bottomLeft().x(), bottomLeft.x(), 1e-4);
    EXPECT_NEAR(shown.bottomLeft().y(), bottomLeft.y(), 1e-4);
    EXPECT_NEAR(shown.bottomRight().x(), bottomRight.x(), 1e-4);
    EXPECT_NEAR(shown.bottomRight().y(), bottomRight.y(), 1e-4);
    shown.click(QDialogButtonBox::ApplyRole);
    expectSetting(shown.dialog.setting(), original, 1e-4);

    // Its two corners, typed in, give back its scale and angle.
    DialogDriver typed(w, h, GdalImageSetting());
    typed.chooseCorners();
    typed.setCorners(bottomLeft, bottomRight);
    EXPECT_NEAR(typed.scale(), 0.5, 1e-4);
    EXPECT_NEAR(typed.angle(), 30, 1e-4);
    typed.click(QDialogButtonBox::ApplyRole);
    expectSetting(typed.dialog.setting(), original, 1e-3);
}

TEST(GdalImageEditSettingDialog, CancelRestoresTheSettingGivenFirst)
{
    const GdalImageSetting first = makeSetting({10, 20}, 3, 0);
    DialogDriver driver(100, 50, first);
    driver.box("scale")->setValue(4);
    driver.click(QDialogButtonBox::ApplyRole);
    EXPECT_EQ(driver.dialog.setting().scale(), 4.0);
    driver.click(QDialogButtonBox::RejectRole);
    EXPECT_EQ(driver.dialog.result(), QDialog::Rejected);
    expectSetting(driver.dialog.setting(), first, 0);
}

TEST(GdalImageEditSettingDialog, ResetRestoresTheWorkingSetting)
{
    DialogDriver driver(100, 50, makeSetting({10, 20}, 3, 0));
    driver.box("scale")->setValue(4);
    driver.box("angle")->setValue(15);
    driver.click(QDialogButtonBox::ApplyRole);
    const GdalImageSetting applied = driver.dialog.setting();

    driver.box("scale")->setValue(9);
    driver.box("bottomLeftX")->setValue(-5);
    driver.click(QDialogButtonBox::ResetRole);
    EXPECT_EQ(driver.scale(), 4.0);
    EXPECT_EQ(driver.angle(), 15.0);
    driver.click(QDialogButtonBox::ApplyRole);
    expectSetting(driver.dialog.setting(), applied, 1e-4);

    // In the two-corner method too, scale included: the corners are filled from it, not it
    // from half-filled corners.
    driver.chooseCorners();
    driver.setCorners({0, 0}, {1, 0});
    EXPECT_NEAR(driver.scale(), 0.01, 1e-9);
    driver.click(QDialogButtonBox::ResetRole);
    EXPECT_EQ(driver.scale(), 4.0);
    EXPECT_EQ(driver.angle(), 15.0);
    driver.click(QDialogButtonBox::ApplyRole);
    expectSetting(driver.dialog.setting(), applied, 1e-4);
}

TEST(GdalImageEditSettingDialog, ScaleNeverGoesBelowItsFloor)
{
    DialogDriver driver(1000, 10, GdalImageSetting());
    driver.box("scale")->setValue(0);
    EXPECT_EQ(driver.scale(), GdalImageSetting::scaleMin);
    driver.chooseCorners();
    driver.setCorners({0, 0}, {0.001, 0});
    EXPECT_EQ(driver.scale(), GdalImageSetting::scaleMin);
    driver.click(QDialogButtonBox::AcceptRole);
    EXPECT_EQ(driver.dialog.setting().scale(), GdalImageSetting::scaleMin);
}
