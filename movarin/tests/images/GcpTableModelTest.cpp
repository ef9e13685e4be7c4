// The GCP table models: the extra row of the addible model, what setData accepts, row
// insertion and removal, and the geometric edits of the views.

#include "movarin/survey/AddibleGcpTableModel.h"

#include "orlin/core/Point.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <stdexcept>

using varnel::AddibleGcpTableModel;
using varnel::GcpTableModel;
using varnel::GcpTableRow;

namespace {

void fill(GcpTableModel& model, int pairs)
{
    for (int i = 0; i < pairs; ++i) {
        model.appendRow({true, 1.0 * i, -2.0 * i, 100.0 + i, 200.0 + i});
    }
}

} // namespace

TEST(GcpTableModel, CheckBoxEnablesAPairAndNumbersAreEditable)
{
    GcpTableModel model;
    model.appendRow({false, 1.5, -2.5, 100.25, 200.75});
    EXPECT_EQ(model.data(model.index(0, 0), Qt::CheckStateRole).toInt(), Qt::Unchecked);
    EXPECT_EQ(model.data(model.index(0, 2), Qt::DisplayRole).toDouble(), -2.5);
    EXPECT_EQ(model.headerData(3, Qt::Horizontal).toString(), "dstX");
    EXPECT_EQ(model.flags(QModelIndex()), Qt::ItemIsEnabled);
    EXPECT_EQ(model.flags(model.index(0, 0)) & (Qt::ItemIsUserCheckable | Qt::ItemIsEditable),
              Qt::ItemIsUserCheckable);
    EXPECT_EQ(model.flags(model.index(0, 1)) & (Qt::ItemIsUserCheckable | Qt::ItemIsEditable),
              Qt::ItemIsEditable);
    EXPECT_TRUE(model.setData(model.index(0, 0), Qt::Checked, Qt::CheckStateRole));
    EXPECT_TRUE(model.gcpTable()->at(0).enabled);
    EXPECT_TRUE(model.setData(model.index(0, 0), Qt::Unchecked, Qt::CheckStateRole));
    EXPECT_FALSE(model.gcpTable()->at(0).enabled);
}

TEST(GcpTableModel, SetDataTakesOnlyFiniteNumbersInExistingRows)
{
    GcpTableModel model;
    fill(model, 2);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    EXPECT_TRUE(model.setData(model.index(1, 3), 12.5));
    EXPECT_TRUE(model.setData(model.index(1, 4), QString("-7.25")));
    EXPECT_EQ(model.gcpTable()->at(1).dstX, 12.5);
    EXPECT_EQ(model.gcpTable()->at(1).dstY, -7.25);
    EXPECT_EQ(changed.count(), 2);

    const GcpTableRow before = model.gcpTable()->at(1);
    EXPECT_FALSE(model.setData(model.index(1, 1), QString("srcX")));
    EXPECT_FALSE(model.setData(model.index(1, 1), QString("nan")));
    EXPECT_FALSE(model.setData(model.index(1, 1), std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(model.setData(model.index(1, 1), 3.0, Qt::DisplayRole));
    EXPECT_FALSE(model.setData(model.index(2, 1), 3.0)); // no such row
    EXPECT_FALSE(model.setData(QModelIndex(), 3.0));
    EXPECT_EQ(model.gcpTable()->at(1).srcX, before.srcX);
    EXPECT_EQ(changed.count(), 2);
}

TEST(AddibleGcpTableModel, TypingIntoTheExtraRowAddsAPair)
{
    AddibleGcpTableModel model;
    fill(model, 3);
    ASSERT_EQ(model.rowCount(), 4);
    ASSERT_EQ(model.pairCount(), 3);

    // The extra row answers for itself: nothing to show, editable, no check box.
    for (int column = 0; column < 5; ++column) {
        for (int role : {Qt::DisplayRole, Qt::EditRole, Qt::CheckStateRole}) {
            EXPECT_FALSE(model.data(model.index(3, column), role).isValid());
        }
        EXPECT_TRUE(model.flags(model.index(3, column)) & Qt::ItemIsEditable);
        EXPECT_FALSE(model.flags(model.index(3, column)) & Qt::ItemIsUserCheckable);
    }

    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    EXPECT_FALSE(model.setData(model.index(3, 2), QString("abc")));
    EXPECT_EQ(model.rowCount(), 4);
    EXPECT_TRUE(model.setData(model.index(3, 2), QString("-42.5")));
    ASSERT_EQ(model.rowCount(), 5);
    ASSERT_EQ(inserted.count(), 1);
    EXPECT_EQ(inserted[0][1].toInt(), 3);
    EXPECT_EQ(inserted[0][2].toInt(), 3);
    const GcpTableRow& added = model.gcpTable()->at(3);
    EXPECT_TRUE(added.enabled);
    EXPECT_EQ(added.srcX, 0.0);
    EXPECT_EQ(added.srcY, -42.5);
    EXPECT_EQ(added.dstX, 0.0);
    EXPECT_EQ(added.dstY, 0.0);

    // appendRow lands before the extra row as well, at the number of pairs.
    model.appendRow({false, 1, 2, 3, 4});
    EXPECT_EQ(inserted.count(), 2);
    EXPECT_EQ(inserted[1][1].toInt(), 4);
    EXPECT_EQ(model.rowCount(), 6);
    EXPECT_FALSE(model.data(model.index(5, 1)).isValid());
}

TEST(AddibleGcpTableModel, InsertsAndRemovesPairsOnly)
{
    AddibleGcpTableModel model;
    fill(model, 3);
    EXPECT_TRUE(model.insertRows(1, 2));
    ASSERT_EQ(model.pairCount(), 5);
    EXPECT_TRUE(model.gcpTable()->at(1).enabled);
    EXPECT_EQ(model.gcpTable()->at(2).dstX, 0.0);
    EXPECT_EQ(model.gcpTable()->at(3).dstX, 101.0);
    EXPECT_TRUE(model.insertRows(5, 1)); // before the extra row
    EXPECT_FALSE(model.insertRows(7, 1));
    EXPECT_FALSE(model.insertRows(-1, 1));
    EXPECT_EQ(model.pairCount(), 6);

    EXPECT_FALSE(model.removeRows(6, 1)); // the extra row
    EXPECT_FALSE(model.removeRows(4, 3));
    EXPECT_TRUE(model.removeRows(1, 2));
    ASSERT_EQ(model.pairCount(), 4);
    EXPECT_EQ(model.gcpTable()->at(1).dstX, 101.0);
}

TEST(GcpTableModel, GeometricEditsSkipMissingRowsInOneReset)
{
    GcpTableModel model;
    fill(model, 3);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    model.setSources({2, 7, 0}, {QPointF(5, -6), QPointF(1, 1), QPointF(-1, -2)});
    EXPECT_EQ(reset.count(), 1);
    EXPECT_EQ(model.gcpTable()->at(2).srcX, 5.0);
    EXPECT_EQ(model.gcpTable()->at(2).srcY, -6.0);
    EXPECT_EQ(model.gcpTable()->at(0).srcY, -2.0);
    EXPECT_EQ(model.gcpTable()->at(2).dstX, 102.0); // destinations stay

    model.setDestinations({1, 3}, {tin::core::Point(10.0, -5.0), tin::core::Point(9.0, 9.0)});
    EXPECT_EQ(reset.count(), 2);
    EXPECT_EQ(model.gcpTable()->at(1).dstX, 10.0);
    EXPECT_EQ(model.gcpTable()->at(1).dstY, -5.0);
    EXPECT_EQ(model.gcpTable()->at(1).srcX, 1.0);

    EXPECT_THROW(model.setSources({0, 1}, {QPointF(3, 3)}), std::out_of_range);
    EXPECT_THROW(model.setDestinations({0}, {}), std::out_of_range);
    EXPECT_EQ(model.gcpTable()->at(0).srcX, -1.0);
    EXPECT_EQ(reset.count(), 2);
}
