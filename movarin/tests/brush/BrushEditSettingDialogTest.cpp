// The brush settings dialog as the user meets it: the limit field follows its check box,
// Reset brings back the values of the opening, the size cannot go below 0.10 and is locked
// while an edit is pending, a negative unit is taken, and OK hands the fields over.
#include "movarin/surfaces/GeoEditSurfaceGroupItemControllerBrushEditSettingDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace varnel::test {
namespace {

using Dialog = GeoEditSurfaceGroupItemControllerBrushEditSettingDialog;

class BrushEditSettingDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dialog.setBrushSize(5.0);
        m_dialog.setBrushEditUnit(0.1);
        m_dialog.setBrushLimit(0.0);
        m_dialog.setBrushLimitEnabled(false);
        m_dialog.setBrushLevelOff(false);
        m_dialog.show();
    }

    template <class Widget>
    Widget* field(const char* name)
    {
        auto widget = m_dialog.findChild<Widget*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    // Types `text` into the spin box as the user does: select all, type, leave the field.
    void type(const char* name, const QString& text)
    {
        QDoubleSpinBox* box = field<QDoubleSpinBox>(name);
        box->setFocus();
        box->findChild<QLineEdit*>()->selectAll();
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Tab);
    }

    void click(QDialogButtonBox::StandardButton which)
    {
        QTest::mouseClick(field<QDialogButtonBox>("buttonBox")->button(which), Qt::LeftButton);
    }

    Dialog m_dialog;
};

TEST_F(BrushEditSettingDialogTest, LimitFieldFollowsItsCheckBoxAndResetBringsBackTheOpening)
{
    EXPECT_EQ(m_dialog.windowTitle(), "Brush Setting");
    EXPECT_EQ(field<QGroupBox>("brushGroupBox")->title(), "Brush");
    QDoubleSpinBox* limit = field<QDoubleSpinBox>("brushLimitSpinBox");
    QCheckBox* useLimit = field<QCheckBox>("brushUseLimitCheckBox");
    EXPECT_EQ(useLimit->text(), "Limit (m)");
    EXPECT_FALSE(limit->isEnabled());
    QTest::mouseClick(useLimit, Qt::LeftButton, Qt::NoModifier, QPoint(5, useLimit->height() / 2));
    EXPECT_TRUE(limit->isEnabled());

    type("brushSizeSpinBox", QStringLiteral("7.5"));
    type("brushEditUnitSpinBox", QStringLiteral("-0.3"));
    type("brushLimitSpinBox", QStringLiteral("12"));
    QCheckBox* levelOff = field<QCheckBox>("brushLevelOffCheckBox");
    QTest::mouseClick(levelOff, Qt::LeftButton, Qt::NoModifier, QPoint(5, levelOff->height() / 2));
    EXPECT_EQ(field<QDoubleSpinBox>("brushSizeSpinBox")->value(), 7.5);

    click(QDialogButtonBox::Reset);
    EXPECT_EQ(field<QDoubleSpinBox>("brushSizeSpinBox")->value(), 5.0);
    EXPECT_EQ(field<QDoubleSpinBox>("brushEditUnitSpinBox")->value(), 0.1);
    EXPECT_EQ(limit->value(), 0.0);
    EXPECT_FALSE(useLimit->isChecked());
    EXPECT_FALSE(limit->isEnabled());
    EXPECT_FALSE(levelOff->isChecked());
    EXPECT_TRUE(m_dialog.isVisible()) << "Reset closed the dialog";
}

TEST_F(BrushEditSettingDialogTest, OkTakesTheFieldsWithANegativeUnitAndASizeOfAtLeastATenth)
{
    type("brushSizeSpinBox", QStringLiteral("0.05"));
    type("brushEditUnitSpinBox", QStringLiteral("-0.5"));
    QCheckBox* useLimit = field<QCheckBox>("brushUseLimitCheckBox");
    QTest::mouseClick(useLimit, Qt::LeftButton, Qt::NoModifier, QPoint(5, useLimit->height() / 2));
    type("brushLimitSpinBox", QStringLiteral("-3.25"));
    click(QDialogButtonBox::Ok);
    EXPECT_EQ(m_dialog.result(), QDialog::Accepted);
    const BrushSettings taken = m_dialog.settings();
    EXPECT_GE(taken.brushSize, 0.1);
    EXPECT_EQ(taken.brushEditUnit, -0.5);
    EXPECT_EQ(taken.brushLimit, -3.25);
    EXPECT_TRUE(taken.brushLimitEnabled);
    EXPECT_FALSE(taken.brushLevelOff);
}

TEST_F(BrushEditSettingDialogTest, PendingEditLocksTheSizeAloneAndCancelTakesNothing)
{
    m_dialog.setSizeEnabled(false);
    EXPECT_FALSE(field<QDoubleSpinBox>("brushSizeSpinBox")->isEnabled());
    EXPECT_TRUE(field<QDoubleSpinBox>("brushEditUnitSpinBox")->isEnabled());
    EXPECT_TRUE(field<QCheckBox>("brushUseLimitCheckBox")->isEnabled());
    EXPECT_TRUE(field<QCheckBox>("brushLevelOffCheckBox")->isEnabled());
    type("brushEditUnitSpinBox", QStringLiteral("2"));
    click(QDialogButtonBox::Cancel);
    EXPECT_EQ(m_dialog.result(), QDialog::Rejected);
    EXPECT_EQ(m_dialog.brushEditUnit(), 0.1);
}

} // namespace
} // namespace varnel::test
