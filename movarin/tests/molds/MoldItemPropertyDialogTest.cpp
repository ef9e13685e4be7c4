// The "Mold Setting" dialog: what OK accepts and hands out, Cancel, the grid width controls,
// the fit of its detail view and the editor's context menu there.
#include "molds/MoldEditorTestSupport.h"

#include "support/ModalAnswerer.h"

#include "movarin/surfaces/MoldItem.h"
#include "movarin/surfaces/MoldItemView.h"

#include <QAction>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

namespace varnel::test {
namespace {

class MoldSettingDialog : public MoldEditorTest {
protected:
    template <class W> W* child(const char* name) const
    {
        auto* widget = dialog()->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QPushButton* button(QDialogButtonBox::StandardButton which) const
    {
        return child<QDialogButtonBox>("buttonBox")->button(which);
    }
    /// Presses OK; true when the dialog closed with Accepted.
    bool pressOk()
    {
        m_script.clearRecords();
        QTest::mouseClick(button(QDialogButtonBox::Ok), Qt::LeftButton);
        return !dialog()->isVisible() && dialog()->QDialog::result() == QDialog::Accepted;
    }
    void expectRefused(const std::vector<double>& l)
    {
        editDialog(moldOf(l, std::vector<double>(l.size(), 0.0)));
        EXPECT_FALSE(pressOk());
        EXPECT_TRUE(dialog()->isVisible());
        const auto boxes = m_script.messageBoxes();
        ASSERT_EQ(1u, boxes.size());
        EXPECT_EQ(guimisc::UserDialogs::Kind::Critical, boxes[0].kind);
        EXPECT_EQ(QStringLiteral("Error"), boxes[0].title);
        EXPECT_EQ(QStringLiteral("The shape of the mold is invalid."), boxes[0].text);
        EXPECT_TRUE(dialog()->result().l.empty());
    }
};

TEST_F(MoldSettingDialog, OkRefusesShapesThatAreNotStrictlyMonotonicInLAndCancelGivesDefaults)
{
    expectRefused({0.0, 1.0, 1.0});
    expectRefused({4.0});
    expectRefused({});
    expectRefused({0.0, 0.0});
    child<QLineEdit>("nameLineEdit")->setText(QStringLiteral("Bank"));
    QTest::mouseClick(button(QDialogButtonBox::Cancel), Qt::LeftButton);
    EXPECT_EQ(QDialog::Rejected, dialog()->QDialog::result());
    const MoldSetting result = dialog()->result();
    EXPECT_TRUE(result.name.isEmpty() && result.l.empty() && result.h.empty());
    EXPECT_EQ(mold::core::Mold::Add, result.editType);
    EXPECT_EQ(QPointF(0.0, 0.0), QPointF(result.baseL, result.baseH));
}

TEST_F(MoldSettingDialog, OkHandsOutTheShapeAndLeavesTheEditedMoldAlone)
{
    MoldItem edited;
    edited.mold() = mold::core::Mold(mold::core::Mold::Subtract, {3.0, 1.0, -2.0},
                                     {0.5, -1.0, 0.25}, 1.5, -0.75);
    editDialog(edited.mold(), QStringLiteral("Ditch"));
    EXPECT_EQ(QStringLiteral("Ditch"), child<QLineEdit>("nameLineEdit")->text());
    EXPECT_EQ(QStringLiteral("Sub"), child<QLabel>("typeLabel")->text());
    EXPECT_TRUE(button(QDialogButtonBox::Ok)->isEnabled());

    // A shape edit without typing keeps the name.
    drag(px(1.0, -1.0), px(1.0, -2.0));
    ASSERT_TRUE(pressOk());
    const MoldSetting result = dialog()->result();
    EXPECT_EQ(QStringLiteral("Ditch"), result.name);
    EXPECT_EQ(mold::core::Mold::Subtract, result.editType);
    EXPECT_EQ((std::vector<double>{3.0, 1.0, -2.0}), result.l);
    EXPECT_EQ((std::vector<double>{0.5, -2.0, 0.25}), result.h);
    EXPECT_EQ(QPointF(1.5, -0.75), QPointF(result.baseL, result.baseH));
    EXPECT_EQ((std::vector<double>{0.5, -1.0, 0.25}), edited.mold().h()) << "a copy was edited";
}

// As the Mold Browser runs it: modal, a new mold defined by clicks, then OK.
TEST_F(MoldSettingDialog, NewMoldDefinedInTheModalDialog)
{
    MoldItemPropertyDialog modal(mold::core::Mold::Subtract);
    modal.startDefinition();
    bool okWasDisabled = false;
    ModalAnswerer answerer([&](QWidget* widget) {
        auto* shown = static_cast<MoldItemPropertyDialog*>(widget);
        DetailView* view = shown->detailView();
        auto* ok = shown->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        okWasDisabled = !ok->isEnabled();
        view->setScale(20.0);
        view->setCenterPoint(QPointF(0.0, 0.0));
        view->updateView();
        for (const QPointF& p : {QPointF(-4, 1), QPointF(-1, -2), QPointF(1, -2), QPointF(4, 1)}) {
            const QPoint at = view->conv(p).toPoint();
            QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, at);
            QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, at);
        }
        QTest::keyClick(view, Qt::Key_Return);
        shown->findChild<QLineEdit*>(QStringLiteral("nameLineEdit"))->setText(QStringLiteral("Trench"));
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    ASSERT_EQ(QDialog::Accepted, modal.exec());
    EXPECT_TRUE(okWasDisabled);
    const MoldSetting result = modal.result();
    EXPECT_EQ(QStringLiteral("Trench"), result.name);
    EXPECT_EQ(mold::core::Mold::Subtract, result.editType);
    EXPECT_EQ((std::vector<double>{-4.0, -1.0, 1.0, 4.0}), result.l);
    EXPECT_EQ((std::vector<double>{1.0, -2.0, -2.0, 1.0}), result.h);
}

TEST_F(MoldSettingDialog, GridWidthFollowsTheSliderAndAuto)
{
    editDialog(moldOf({0.0, 1.0}, {0.0, 1.0}));
    auto* slider = child<QSlider>("gridWidthSlider");
    auto* label = child<QLabel>("gridWidthLabel");
    auto* autoBox = child<QCheckBox>("autoCheckBox");
    EXPECT_EQ(2, slider->value());
    const std::vector<std::pair<double, QString>> widths = {
        {0.01, QStringLiteral("1 cm")}, {0.1, QStringLiteral("10 cm")}, {1.0, QStringLiteral("1 m")}};
    for (int position = 0; position < 3; ++position) {
        slider->setValue(position);
        EXPECT_DOUBLE_EQ(widths[position].first, tool()->gridWidthX());
        EXPECT_DOUBLE_EQ(widths[position].first, tool()->gridWidthY());
        EXPECT_EQ(widths[position].second, label->text());
    }
    autoBox->setChecked(true);
    slider->setValue(1);
    EXPECT_FALSE(autoBox->isChecked()) << "moving the slider unchecks Auto";

    // 3 m across: 10 cm; zooming in with Auto on follows down to 1 cm.
    view()->setScale(view()->width() / 3.0);
    view()->updateView();
    autoBox->setChecked(true);
    EXPECT_EQ(1, slider->value());
    EXPECT_EQ(QStringLiteral("10 cm"), label->text());
    EXPECT_TRUE(autoBox->isChecked());
    view()->setScale(view()->width() / 0.4);
    view()->updateView();
    EXPECT_EQ(0, slider->value());
    EXPECT_DOUBLE_EQ(0.01, tool()->gridWidthX());
    EXPECT_TRUE(autoBox->isChecked());

    autoBox->setChecked(false);
    view()->setScale(view()->width() / 30.0);
    view()->updateView();
    EXPECT_EQ(0, slider->value()) << "without Auto the zoom leaves the grid alone";
}

TEST_F(MoldSettingDialog, RightClickOpensTheEditorsMenuUnlessDisabled)
{
    editDialog(moldOf({-1.0, 1.0}, {0.0, 0.0}));
    QMenu* menu = editor()->contextMenu();
    ASSERT_EQ(2, menu->actions().size());
    EXPECT_EQ(QStringLiteral("Add Point"), menu->actions()[0]->text());
    EXPECT_EQ(QStringLiteral("Delete Points"), menu->actions()[1]->text());
    EXPECT_TRUE(menu->actions()[0]->isEnabled()) << "a loaded mold can be edited at once";

    press(px(2.0, 2.0), Qt::RightButton);
    release(px(2.0, 2.0) + QPointF(3, -3), Qt::RightButton);
    EXPECT_TRUE(menu->isVisible());
    menu->hide();

    press(px(2.0, 2.0), Qt::RightButton);
    release(px(2.0, 2.0) + QPointF(4, 0), Qt::RightButton);
    EXPECT_FALSE(menu->isVisible()) << "a right drag is no click";

    view()->setContextMenuEnabled(false);
    press(px(2.0, 2.0), Qt::RightButton);
    release(px(2.0, 2.0), Qt::RightButton);
    EXPECT_FALSE(menu->isVisible());
}

TEST(MoldDetailViewFit, FramesTheMoldOrTenMetresAroundASpot)
{
    const auto frame = [](MoldItem* item) {
        DetailView view;
        view.resize(300, 200);
        view.setMoldItem(item);
        return std::make_pair(view.centerPoint(), view.scale());
    };
    // 0.9 of 200 pixels for 10 m.
    MoldItem empty;
    EXPECT_EQ(std::make_pair(QPointF(0.0, 0.0), 18.0), frame(&empty));
    EXPECT_EQ(std::make_pair(QPointF(0.0, 0.0), 18.0), frame(nullptr));

    MoldItem spot;
    spot.mold() = mold::core::Mold(mold::core::Mold::Add, {2.0, 2.0}, {-3.0, -3.0}, 2.0, -3.0);
    EXPECT_EQ(std::make_pair(QPointF(2.0, -3.0), 18.0), frame(&spot));

    // The base point belongs to the frame: 8 m wide, 2 m high.
    MoldItem wide;
    wide.mold() = mold::core::Mold(mold::core::Mold::Add, {-2.0, 2.0}, {0.0, 1.0}, 6.0, -1.0);
    EXPECT_EQ(std::make_pair(QPointF(2.0, 0.0), 0.9 * 300 / 8.0), frame(&wide));

    // A flat mold is framed 10 m high.
    MoldItem flat;
    flat.mold() = mold::core::Mold(mold::core::Mold::Add, {-20.0, 20.0}, {1.0, 1.0}, 0.0, 1.0);
    EXPECT_EQ(std::make_pair(QPointF(0.0, 1.0), 0.9 * 300 / 40.0), frame(&flat));
}

} // namespace
} // namespace varnel::test
