// The L-H table: the model over a mold, and its edits reaching the dialog's mold and view.
#include "molds/MoldEditorTestSupport.h"

#include "movarin/surfaces/MoldItem.h"
#include "movarin/surfaces/MoldItemLhTableModel.h"
#include "movarin/surfaces/MoldItemPropertyDialogStyledItemDelegate.h"

#include <guimisc/MultiCellOperableTableView.h>

#include <QDoubleSpinBox>
#include <QImage>
#include <QStyleOptionViewItem>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace varnel::test {
namespace {

// The table as the user reads it: (L, H) per row through `data`.
std::vector<QPointF> rowsOf(const QAbstractItemModel& model)
{
    std::vector<QPointF> rows;
    for (int row = 0; row < model.rowCount(); ++row) {
        rows.emplace_back(model.index(row, 0).data().toDouble(),
                          model.index(row, 1).data().toDouble());
    }
    return rows;
}

TEST(MoldItemLhTableModel, ShowsTheMoldAndRefusesWhatIsNoFiniteNumber)
{
    MoldItemLhTableModel model;
    EXPECT_EQ(0, model.rowCount());
    EXPECT_FALSE(model.insertRows(0, 1)) << "no item, no rows to add";

    MoldItem item;
    item.mold() = moldOf({-1.0, 0.0, 1.0}, {1.0, 0.0, 1.0});
    model.setMoldItem(&item);
    EXPECT_EQ(pointsOf(item.mold()), rowsOf(model));

    for (const QVariant& bad : {QVariant(std::nan("")),
                                QVariant(std::numeric_limits<double>::infinity()),
                                QVariant(QStringLiteral("abc")), QVariant()}) {
        EXPECT_FALSE(model.setData(model.index(1, 0), bad)) << bad.toString().toStdString();
    }
    EXPECT_FALSE(model.setData(model.index(1, 1), 2.0, Qt::DisplayRole));
    EXPECT_EQ(pointsOf(moldOf({-1.0, 0.0, 1.0}, {1.0, 0.0, 1.0})), pointsOf(item.mold()));

    // Pasted text reads as a number.
    EXPECT_TRUE(model.setData(model.index(1, 1), QStringLiteral("-0.5")));
    EXPECT_EQ(-0.5, item.mold().h()[1]);

    // Rows outside the mold are refused, also of a mold shortened behind the model's back.
    EXPECT_FALSE(model.removeRows(2, 2));
    EXPECT_FALSE(model.insertRows(-1, 1));
    item.mold().eraseLH(2);
    EXPECT_FALSE(model.index(2, 0).data().isValid());
    EXPECT_FALSE(model.setData(model.index(2, 0), 1.0));
    EXPECT_EQ((std::vector<QPointF>{{-1, 1}, {0, -0.5}}), pointsOf(item.mold()));
}

TEST(MoldItemLhTableModel, CellsShowTwoDecimalsAndAnEditorLeftAloneChangesNothing)
{
    MoldItem item;
    item.mold() = moldOf({1.234, 2.0}, {0.5, 0.0});
    MoldItemLhTableModel model;
    model.setMoldItem(&item);
    guimisc::MultiCellOperableTableView table;
    table.setModel(&model);
    MoldItemPropertyDialog::StyledItemDelegate delegate;
    EXPECT_EQ(QStringLiteral("1.23"), delegate.displayText(1.234, QLocale::c()));

    const QModelIndex cell = model.index(0, 0);
    std::unique_ptr<QWidget> editor(delegate.createEditor(&table, QStyleOptionViewItem(), cell));
    auto* spinBox = qobject_cast<QDoubleSpinBox*>(editor.get());
    ASSERT_NE(spinBox, nullptr);
    delegate.setEditorData(editor.get(), cell);
    EXPECT_EQ(2, spinBox->decimals());
    delegate.setModelData(editor.get(), &model, cell);
    EXPECT_EQ(1.234, item.mold().l()[0]);
    spinBox->setValue(-7.25);
    delegate.setModelData(editor.get(), &model, cell);
    EXPECT_EQ(-7.25, item.mold().l()[0]);
}

class MoldTableInTheDialog : public MoldEditorTest {
protected:
    QAbstractItemModel* table() const
    {
        return dialog()->findChild<QAbstractItemView*>(QStringLiteral("lhTableView"))->model();
    }
    // Whether the view shows the mold's black outline at world (l, h), within a pixel.
    bool outlineAt(double l, double h) const
    {
        const QImage image = view()->grab().toImage();
        const QPoint at = px(l, h).toPoint();
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                if (image.pixelColor(at + QPoint(dx, dy)) == QColor(Qt::black)) {
                    return true;
                }
            }
        }
        return false;
    }
};

TEST_F(MoldTableInTheDialog, EditsReachTheMoldAndTheView)
{
    editDialog(moldOf({-3.0, -1.0, 3.0}, {2.0, 2.0, 0.0}));
    click(px(-1.0, 2.0));
    ASSERT_EQ(std::set<std::size_t>{1}, selection());

    // Point 1 moves from (-1, 2) to (1, 2): the outline then runs level through (0.5, 2).
    EXPECT_FALSE(outlineAt(0.5, 2.0));
    ASSERT_TRUE(table()->setData(table()->index(1, 0), 1.0));
    EXPECT_EQ(1.0, mold().l()[1]) << "the dialog's mold follows the table";
    EXPECT_EQ(QPointF(1.0, 2.0), tool()->selectedPoints().at(0)) << "the marker moves with it";
    EXPECT_TRUE(outlineAt(0.5, 2.0));

    ASSERT_TRUE(table()->insertRows(1, 2));
    EXPECT_EQ((std::vector<QPointF>{{-3, 2}, {0, 0}, {0, 0}, {1, 2}, {3, 0}}), pointsOf(mold()));
    ASSERT_TRUE(table()->removeRows(0, 3));
    EXPECT_EQ((std::vector<QPointF>{{1, 2}, {3, 0}}), pointsOf(mold()));
}

} // namespace
} // namespace varnel::test
