// The values of polygons: the editors the groups hand out, the value dialog that cannot be
// cancelled at the end of a definition, "Edit &value" as one undo entry, and the groups
// without values, which ask nothing and store 0.
#include "GeoDataTestSupport.h"

#include "movarin/sections/EnumValueEditWidget.h"
#include "movarin/sections/GeoDataGroupValueEditDialog.h"
#include "movarin/sections/GeoDataPolygonItemController.h"
#include "movarin/sections/RealValueEditWidget.h"
#include "movarin/shell/EditModeMainWindow.h"

#include <guimisc/widget/RealNumberEditWidget.h>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QUndoStack>

#include <gtest/gtest.h>

#include <memory>

namespace varnel::test {
namespace {

using GeoDataValueTest = GeoDataTest;

TEST_F(GeoDataValueTest, EditorsShowWhatTheirGroupHolds)
{
    std::unique_ptr<GeoDataGroupValueEditWidget> dead(group("deadarea")->buildValueEditWidget());
    auto combo = dynamic_cast<EnumValueEditWidget*>(dead.get());
    ASSERT_NE(combo, nullptr);
    ASSERT_EQ(combo->count(), 2);
    // A project's text "1" is the pair 1; a value of no pair shows the first label.
    combo->setValue(QVariant(QStringLiteral("1")));
    EXPECT_EQ(combo->currentText(), "Dead");
    EXPECT_EQ(combo->value(), QVariant(1));
    combo->setValue(7);
    EXPECT_EQ(combo->currentText(), "Normal");
    EXPECT_EQ(combo->value(), QVariant(0));

    std::unique_ptr<GeoDataGroupValueEditWidget> height(
        group("vegetationheight")->buildValueEditWidget());
    auto real = dynamic_cast<RealValueEditWidget*>(height.get());
    ASSERT_NE(real, nullptr);
    real->setValue(QVariant(QStringLiteral("2.75")));
    EXPECT_EQ(real->value(), QVariant(2.75));
    EXPECT_EQ(group("referenceinformation")->buildValueEditWidget(), nullptr);
}

TEST_F(GeoDataValueTest, EscapeClosesTheDialogOnlyWhileCancelIsAllowed)
{
    for (bool cancelDisabled : {false, true}) {
        SCOPED_TRACE(cancelDisabled);
        GeoDataGroupValueEditDialog dialog(window());
        dialog.setWidget(group("roughness")->buildValueEditWidget());
        dialog.setValue(0.02);
        if (cancelDisabled) {
            dialog.disableCancel();
        }
        // Escape, then the window's close request: with Cancel disabled both leave it open,
        // and only OK ends it.
        bool stayedOpen = false;
        ModalAnswerer escape([&](QWidget* widget) {
            QTest::keyClick(widget, Qt::Key_Escape);
            widget->close();
            stayedOpen = widget->isVisible();
            if (stayedOpen) {
                widget->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
            }
        });
        const int result = dialog.exec();
        EXPECT_TRUE(escape.answered());
        EXPECT_EQ(stayedOpen, cancelDisabled);
        EXPECT_EQ(result, cancelDisabled ? QDialog::Accepted : QDialog::Rejected);
        EXPECT_EQ(dialog.value(), QVariant(0.02));
    }
    GeoDataGroupValueEditDialog empty(window());
    EXPECT_EQ(empty.value(), QVariant(0));
}

TEST_F(GeoDataValueTest, DefinitionInAValuedGroupAsksTheValueWithoutCancel)
{
    GeoDataPolygonItem* polygon = addPolygon(group("roughness"));
    bool cancelEnabled = true;
    QString title;
    ModalAnswerer answer([&](QWidget* widget) {
        auto dialog = static_cast<QDialog*>(widget);
        title = dialog->windowTitle();
        cancelEnabled =
            dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->isEnabled();
        auto edit = dialog->findChild<guimisc::widget::RealNumberEditWidget*>();
        edit->setText(QStringLiteral("0.035"));
        QTest::keyClick(dialog, Qt::Key_Escape);
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    clickAndFinish({{0, 0}, {30, 0}, {30, 20}});
    EXPECT_TRUE(answer.answered());
    EXPECT_FALSE(answer.leftOpen());
    EXPECT_FALSE(cancelEnabled);
    EXPECT_EQ(title, "Edit Polygon1 value");
    EXPECT_EQ(polygon->value(), QVariant(0.035));
    EXPECT_EQ(doneTexts().back(), "Finish defining polygon");
    undoStack()->undo();
    EXPECT_FALSE(polygon->value().isValid());
}

TEST_F(GeoDataValueTest, GroupsWithoutValuesAskNothingAndStoreZero)
{
    ModalAnswerer none([](QWidget*) {}, 1);
    GeoDataPolygonItem* polygon =
        definePolygon(group("referenceinformation"), {{0, 0}, {30, 0}, {30, 20}});
    EXPECT_FALSE(none.answered());
    EXPECT_EQ(polygon->value(), QVariant(0));
    // Nor is there an "Edit &value" entry.
    EXPECT_EQ(menuAction(polygon->controller()->rightClickMenu()->actions(),
                         QStringLiteral("Edit &value")),
              nullptr);
}

TEST_F(GeoDataValueTest, EditValueShowsTheLoadedValueAndIsOneUndoEntry)
{
    GeoDataGroupItem* dead = group("deadarea");
    GeoDataPolygonItem* polygon = definePolygon(dead, {{0, 0}, {30, 0}, {30, 20}});
    // As a project load leaves it: the attribute's text.
    polygon->setValue(QVariant(QStringLiteral("1")));
    QString shown;
    ModalAnswerer pick([&](QWidget* widget) {
        auto combo = widget->findChild<QComboBox*>();
        shown = combo->currentText();
        combo->setCurrentIndex(0);
        widget->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    triggerMenuEntry(polygon, QStringLiteral("Edit &value"));
    EXPECT_EQ(shown, "Dead");
    EXPECT_EQ(polygon->value(), QVariant(0));
    EXPECT_EQ(doneTexts().back(), "Edit polygon value");
    undoStack()->undo();
    EXPECT_EQ(polygon->value(), QVariant(QStringLiteral("1")));
    undoStack()->redo();
    EXPECT_EQ(polygon->value(), QVariant(0));

    // Cancel changes nothing and pushes nothing.
    const int entries = undoStack()->count();
    ModalAnswerer cancel([](QWidget* widget) { static_cast<QDialog*>(widget)->reject(); });
    triggerMenuEntry(polygon, QStringLiteral("Edit &value"));
    EXPECT_TRUE(cancel.answered());
    EXPECT_EQ(undoStack()->count(), entries);
}

} // namespace
} // namespace varnel::test
