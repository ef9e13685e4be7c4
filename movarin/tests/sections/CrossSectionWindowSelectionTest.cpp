// The table of a cross-section window and the points of its plot: the three columns, L and
// H shown with 5 decimals and never edited, a check box that disables its point and
// repaints the plot; points picked with clicks, Shift-clicks, a rubber band and in the
// table, each side showing the other's selection without echoing it; "Enable Points" and
// "Disable Points"; indices that outlived their rows; and the grid's "Auto".
#include "SectionsTestSupport.h"

#include "support/QtPrinters.h"

#include "movarin/sections/CrossSectionDialog.h"
#include "movarin/sections/CrossSectionItem.h"
#include "movarin/sections/CrossSectionItemController.h"
#include "movarin/sections/CrossSectionLhTableModel.h"
#include "movarin/sections/CrossSectionLhView.h"
#include "movarin/sections/CrossSectionLhViewLhTableItem.h"
#include "movarin/sections/CrossSectionLhViewLhTableItemController.h"

#include <guimisc/UserDialogScript.h>

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <cmath>

namespace varnel::test {
namespace {

using Indices = CrossSectionLhRowIndices;
using Model = CrossSectionLhTableModel;

/// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        count += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

class CrossSectionWindowSelectionTest : public SectionWindowTest {
protected:
    QTableView* table() const { return dialog()->tableView(); }
    Model* model() const { return dialog()->tableModel(); }
    CrossSectionLhView::LhTableItemController* controller() const
    {
        return plot()->item()->controller();
    }

    /// The centre of a table cell in the viewport.
    QPoint cellCentre(int row, int column) const
    {
        table()->scrollTo(model()->index(row, column));
        return table()->visualRect(model()->index(row, column)).center();
    }
    /// The centre of a row's check box in the viewport, where the style draws it.
    QPoint checkBoxCentre(int row) const
    {
        cellCentre(row, Model::EnabledColumn);
        QStyleOptionViewItem option;
        option.initFrom(table());
        option.rect = table()->visualRect(model()->index(row, Model::EnabledColumn));
        option.features |= QStyleOptionViewItem::HasCheckIndicator;
        return table()
            ->style()
            ->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, table())
            .center();
    }
    void clickCell(int row, int column, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const
    {
        QTest::mouseClick(table()->viewport(), Qt::LeftButton, modifiers, cellCentre(row, column));
    }

    /// The mouse comes over the plot (the plot's tools wake up), then clicks.
    void clickPlot(const QPoint& at, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const
    {
        plotMouse().move(at);
        plotMouse().click(at, modifiers);
    }

    /// The slider moved one step down with the keyboard, as the user does.
    static void stepDown(QSlider* slider) { QTest::keyClick(slider, Qt::Key_Left); }

    QCheckBox* box(const char* name) const
    {
        return dialog()->findChild<QCheckBox*>(QLatin1String(name));
    }
    QSlider* slider(const char* name) const
    {
        return dialog()->findChild<QSlider*>(QLatin1String(name));
    }
    QString label(const char* name) const
    {
        return dialog()->findChild<QLabel*>(QLatin1String(name))->text();
    }

    /// The world size the plot shows inside its margins, from its transform alone.
    QSizeF plotWorldSize() const
    {
        const QRectF inside = plot()->plotRect();
        return QSizeF(inside.width() / std::abs(plot()->transform().m11()),
                      inside.height() / std::abs(plot()->transform().m22()));
    }
};

TEST_F(CrossSectionWindowSelectionTest, TableShowsThreeColumnsOfWhichOnlyTheCheckBoxEdits)
{
    const auto& rows = dialog()->currentRows();
    ASSERT_EQ(rows.size(), 17u);
    EXPECT_EQ(model()->rowCount(), 17);
    EXPECT_EQ(model()->columnCount(), 3);
    QStringList headers;
    for (int c = 0; c < 3; ++c) {
        headers << model()->headerData(c, Qt::Horizontal).toString();
    }
    EXPECT_EQ(headers, QStringList({"", "L", "H"}));

    // 5 decimals in the view's locale.
    const QModelIndex l = model()->index(1, Model::LColumn);
    const QModelIndex h = model()->index(1, Model::HColumn);
    auto delegate = qobject_cast<QStyledItemDelegate*>(table()->itemDelegate(l));
    ASSERT_NE(delegate, nullptr);
    EXPECT_EQ(delegate->displayText(l.data(), table()->locale()), QStringLiteral("3.00000"));
    EXPECT_EQ(delegate->displayText(h.data(), table()->locale()), QStringLiteral("-0.50000"));

    // Double clicks and F2 on L and H open no editor and change nothing.
    for (const QModelIndex& cell : {l, h}) {
        QTest::mouseDClick(table()->viewport(), Qt::LeftButton, Qt::NoModifier,
                           cellCentre(cell.row(), cell.column()));
        QTest::keyClick(table(), Qt::Key_F2);
        EXPECT_EQ(table()->findChild<QAbstractSpinBox*>(), nullptr);
        EXPECT_EQ(table()->findChild<QLineEdit*>(), nullptr);
    }
    EXPECT_DOUBLE_EQ(rows[1].L, 3.0);

    // Unticking a row disables its point and repaints the plot at once.
    PaintCounter paints(plot());
    QApplication::processEvents();
    paints.count = 0;
    QTest::mouseClick(table()->viewport(), Qt::LeftButton, Qt::NoModifier,
                      checkBoxCentre(6));
    EXPECT_FALSE(rows[6].enabled);
    EXPECT_EQ(model()->index(6, 0).data(Qt::CheckStateRole).toInt(), Qt::Unchecked);
    QApplication::processEvents();
    EXPECT_GT(paints.count, 0);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].enabled, i != 6) << i;
    }
}

TEST_F(CrossSectionWindowSelectionTest, PointsPickedInThePlotShowInTheTableWithoutAnEcho)
{
    int echoes = 0;
    QObject::connect(dialog(), &CrossSectionDialog::selectionChanged, [&] { ++echoes; });
    clickPlot(rowPixel(5));
    EXPECT_EQ(plotSelection(), Indices({5}));
    EXPECT_EQ(tableSelection(), Indices({5}));
    clickPlot(rowPixel(9), Qt::ShiftModifier);
    EXPECT_EQ(plotSelection(), Indices({5, 9}));
    EXPECT_EQ(tableSelection(), Indices({5, 9}));
    clickPlot(rowPixel(2));
    EXPECT_EQ(plotSelection(), Indices({2})) << "a click without Shift starts anew";

    // A rubber band from above L = 7 to below L = 24 holds the rows at 8, 13, 18 and 23.
    plotMouse().drag(plotPixel(7.0, 9.0), plotPixel(24.0, -4.0));
    EXPECT_EQ(plotSelection(), Indices({2, 3, 4, 5}));
    EXPECT_EQ(tableSelection(), Indices({2, 3, 4, 5}));

    // Empty space: nothing, on both sides.
    clickPlot(plotPixel(40.0, 6.0));
    EXPECT_TRUE(plotSelection().empty());
    EXPECT_TRUE(tableSelection().empty());
    EXPECT_EQ(echoes, 0);
}

TEST_F(CrossSectionWindowSelectionTest, RowsPickedInTheTableShowInThePlotOnce)
{
    // Before the mouse ever came over the plot.
    QSignalSpy tableChanges(table()->selectionModel(), &QItemSelectionModel::selectionChanged);
    int passedOn = 0;
    QObject::connect(dialog(), &CrossSectionDialog::selectionChanged, [&] { ++passedOn; });
    clickCell(3, Model::LColumn);
    EXPECT_EQ(plotSelection(), Indices({3}));
    clickCell(7, Model::HColumn, Qt::ControlModifier);
    EXPECT_EQ(plotSelection(), Indices({3, 7}));
    EXPECT_EQ(tableSelection(), Indices({3, 7}));
    EXPECT_EQ(tableChanges.count(), 2) << "the plot did not write the selection back";
    EXPECT_EQ(passedOn, 2);

    plotMouse().move(plotPixel(40.0, 6.0));
    clickCell(10, Model::LColumn);
    EXPECT_EQ(plotSelection(), Indices({10}));
    EXPECT_EQ(tableSelection(), Indices({10}));
    EXPECT_EQ(tableChanges.count(), 3);
    EXPECT_EQ(passedOn, 3);
}

TEST_F(CrossSectionWindowSelectionTest, EnableAndDisablePointsActOnTheSelectionOrWarn)
{
    guimisc::UserDialogScript script;
    // The menu opens on a right click.
    plotMouse().move(plotPixel(40.0, 6.0));
    plotMouse().press(plotPixel(40.0, 6.0), Qt::RightButton);
    plotMouse().release(plotPixel(40.0, 6.0), Qt::RightButton);
    QMenu* menu = controller()->contextMenu();
    EXPECT_TRUE(menu->isVisible());
    menu->hide();

    controller()->disablePointsAction()->trigger();
    ASSERT_EQ(script.messageBoxes().size(), 1u);
    EXPECT_EQ(script.messageBoxes()[0].title, "Warning");
    EXPECT_EQ(script.messageBoxes()[0].text, "No point is selected.");
    for (const CrossSectionLhTableRow& row : dialog()->currentRows()) {
        EXPECT_TRUE(row.enabled);
    }

    clickPlot(rowPixel(4));
    clickPlot(rowPixel(11), Qt::ShiftModifier);
    controller()->disablePointsAction()->trigger();
    EXPECT_EQ(script.messageBoxes().size(), 1u);
    for (std::size_t i = 0; i < dialog()->currentRows().size(); ++i) {
        EXPECT_EQ(dialog()->currentRows()[i].enabled, i != 4 && i != 11) << i;
        const QModelIndex check = model()->index(static_cast<int>(i), Model::EnabledColumn);
        EXPECT_EQ(check.data(Qt::CheckStateRole).toInt() == Qt::Checked, i != 4 && i != 11);
    }
    // The table was reset: both selections start anew.
    EXPECT_TRUE(plotSelection().empty());
    EXPECT_TRUE(tableSelection().empty());

    controller()->enablePointsAction()->trigger();
    EXPECT_EQ(script.messageBoxes().size(), 2u);
    clickCell(4, Model::LColumn);
    controller()->enablePointsAction()->trigger();
    EXPECT_TRUE(dialog()->currentRows()[4].enabled);
    EXPECT_FALSE(dialog()->currentRows()[11].enabled);
}

TEST_F(CrossSectionWindowSelectionTest, IndicesBeyondAShorterProfileAreDropped)
{
    emit dialog()->selectionChanged({1, 16, 17, 40});
    EXPECT_EQ(plotSelection(), Indices({1, 16}));

    // E pulled back to x = 50: ten rows now, and nothing selected on either side.
    section()->controller()->pushEditCommand({{12.0, 45.0}, {50.0, 45.0}});
    ASSERT_EQ(dialog()->currentRows().size(), 10u);
    EXPECT_TRUE(plotSelection().empty());
    EXPECT_TRUE(tableSelection().empty());
    emit dialog()->selectionChanged({1, 16});
    EXPECT_EQ(plotSelection(), Indices({1}));
    // What the table passes on is always within the table.
    dialog()->selectTableRows({2, 10, 16});
    EXPECT_EQ(tableSelection(), Indices({2}));
}

TEST_F(CrossSectionWindowSelectionTest, AutoGridFollowsTheDrawnAreaUntilASliderMoves)
{
    QCheckBox* autoGrid = box("autoCheckBox");
    QSlider* sliderL = slider("gridWidthXSlider");
    QSlider* sliderH = slider("gridWidthYSlider");
    ASSERT_TRUE(autoGrid->isChecked());
    const auto expectFollowing = [&] {
        EXPECT_EQ(sliderL->value(), CrossSectionDialog::gridPosition(plotWorldSize().width()));
        EXPECT_EQ(sliderH->value(), CrossSectionDialog::gridPosition(plotWorldSize().height()));
        EXPECT_TRUE(autoGrid->isChecked());
    };
    // 76 m along L and 7.6 m of H fill 90 % of the plot.
    EXPECT_EQ(sliderL->value(), 2);
    EXPECT_EQ(sliderH->value(), 1);
    EXPECT_EQ(label("gridWidthXLabel"), "1 m");
    EXPECT_EQ(label("gridWidthYLabel"), "10 cm");
    expectFollowing();

    const auto wheel = [&](int delta) {
        const QPointF at(plot()->width() / 2.0, plot()->height() / 2.0);
        QWheelEvent event(at, QPointF(plot()->mapToGlobal(at.toPoint())), QPoint(),
                          QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                          false);
        QApplication::sendEvent(plot(), &event);
    };
    wheel(-120);
    wheel(-120);
    expectFollowing();
    EXPECT_EQ(sliderL->value(), 3);

    sliderH->setFocus();
    stepDown(sliderH);
    EXPECT_EQ(sliderH->value(), 1);
    EXPECT_FALSE(autoGrid->isChecked());
    EXPECT_EQ(label("gridWidthYLabel"), "10 cm");
    for (int notch = 0; notch < 6; ++notch) {
        wheel(120);
    }
    EXPECT_EQ(sliderL->value(), 3) << "the grid stays while Auto is off";
    EXPECT_EQ(sliderH->value(), 1);

    // 16 times the framed scale: 5.3 m along L and 0.53 m of H.
    autoGrid->click();
    expectFollowing();
    EXPECT_EQ(sliderL->value(), 1);
    EXPECT_EQ(sliderH->value(), 0);
    EXPECT_EQ(label("gridWidthXLabel"), "10 cm");
    EXPECT_EQ(label("gridWidthYLabel"), "1 cm");
}

} // namespace
} // namespace varnel::test
