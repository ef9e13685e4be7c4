// The small widgets, the table view and the wait dialog, offscreen.
#include "TestSupport.h"
#include "guimisc/MultiCellOperableTableView.h"
#include "guimisc/UserDialogScript.h"
#include "guimisc/LastIODirectory.h"
#include "guimisc/dialog/WaitDialog.h"
#include "guimisc/widget/ColorEditWidget.h"
#include "guimisc/widget/DirnameEditWidget.h"
#include "guimisc/widget/FilenameEditWidget.h"
#include "guimisc/widget/MousePositionWidget.h"
#include "guimisc/widget/RealNumberEditWidget.h"
#include "guimisc/widget/TransparencyWidget.h"
#include "guimisc/widget/WidgetContainerWidget.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QStandardItemModel>
#include <QTest>
#include <gtest/gtest.h>

using namespace guimisc;

namespace {

// A table of `rows` x `columns` cells holding "r,c"; column 2 is read-only.
std::unique_ptr<QStandardItemModel> table(int rows, int columns)
{
    auto model = std::make_unique<QStandardItemModel>(rows, columns);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            auto item = new QStandardItem(QString("%1,%2").arg(r).arg(c));
            if (c == 2) {
                item->setEditable(false);
            }
            model->setItem(r, c, item);
        }
    }
    return model;
}

QString cell(const QAbstractItemModel& model, int r, int c)
{
    return model.index(r, c).data().toString();
}

// A table of numbers that validates as the path and L-H tables do: a cell takes only a
// number, and no removal may leave fewer than two rows.
class NumberTable : public QStandardItemModel {
public:
    using QStandardItemModel::QStandardItemModel;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override
    {
        bool ok = false;
        value.toString().toDouble(&ok);
        return ok && QStandardItemModel::setData(index, value, role);
    }
    bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override
    {
        return rowCount() - count >= 2 && QStandardItemModel::removeRows(row, count, parent);
    }
};

QStringList rowsOf(const QAbstractItemModel& model)
{
    QStringList rows;
    for (int r = 0; r < model.rowCount(); ++r) {
        rows << cell(model, r, 0) + ' ' + cell(model, r, 1) + ' ' + cell(model, r, 2);
    }
    return rows;
}

} // namespace

TEST(Widgets, FolderFieldColourButtonAndNumberField)
{
    UserDialogScript script;
    widget::DirnameEditWidget folder;
    folder.setDirname("/tmp/some folder");
    EXPECT_EQ(folder.dirname(), "/tmp/some folder");
    script.answerDirectory("/srv/work space").answerCancel();
    auto button = folder.findChild<QPushButton*>();
    ASSERT_NE(button, nullptr);
    button->click();
    EXPECT_EQ(folder.dirname(), "/srv/work space");
    EXPECT_EQ(script.records().back().directory, "/tmp/some folder");
    button->click(); // cancelled: unchanged
    EXPECT_EQ(folder.dirname(), "/srv/work space");

    widget::ColorEditWidget colour;
    colour.setColor(QColor(1, 2, 3));
    QSignalSpy changed(&colour, &widget::ColorEditWidget::colorChanged);
    script.answerColor(QColor(200, 100, 50)).answerCancel();
    colour.click();
    EXPECT_EQ(colour.color(), QColor(200, 100, 50));
    EXPECT_EQ(script.records().back().initialColor, QColor(1, 2, 3));
    colour.click();
    EXPECT_EQ(colour.color(), QColor(200, 100, 50));
    EXPECT_EQ(changed.size(), 1);

    widget::RealNumberEditWidget number;
    number.setValue(-123456.789012345);
    EXPECT_EQ(number.value(), -123456.789012345);
    const QLocale old;
    QLocale::setDefault(QLocale(QLocale::German));
    widget::RealNumberEditWidget german;
    german.setValue(1.5);
    EXPECT_EQ(german.text(), "1.5");
    german.setText("2,5");
    EXPECT_EQ(german.value(), 0.0); // a comma is no decimal point here
    german.clear();
    QTest::keyClicks(&german, "-3.25e2");
    EXPECT_EQ(german.value(), -325.0);
    QLocale::setDefault(old);
}

TEST(Widgets, TablePastesBlocksIntoSelectionAndEditsRows)
{
    auto model = table(4, 4);
    MultiCellOperableTableView view;
    view.setModel(model.get());

    // A block from the current cell, cut at the edges; read-only column 2 stays.
    view.setCurrentIndex(model->index(2, 1));
    view.pasteText("a\tb\tc\r\nd\te\tf\r\ng\th\ti\r\n");
    EXPECT_EQ(cell(*model, 2, 1), "a");
    EXPECT_EQ(cell(*model, 2, 2), "2,2");
    EXPECT_EQ(cell(*model, 3, 3), "f");

    // Comma-separated text, several selected cells: only those are written.
    view.selectionModel()->clearSelection();
    view.selectionModel()->select(model->index(0, 0), QItemSelectionModel::Select);
    view.selectionModel()->select(model->index(1, 1), QItemSelectionModel::Select);
    view.pasteText("10, 11\n20,21");
    EXPECT_EQ(cell(*model, 0, 0), "10");
    EXPECT_EQ(cell(*model, 0, 1), "0,1");
    EXPECT_EQ(cell(*model, 1, 0), "1,0");
    EXPECT_EQ(cell(*model, 1, 1), "21");

    // One value fills every selected cell; the paste key reads the clipboard.
    view.selectionModel()->select(model->index(3, 0), QItemSelectionModel::Select);
    QApplication::clipboard()->setText("7");
    QTest::keySequence(&view, QKeySequence::Paste);
    EXPECT_EQ(cell(*model, 0, 0), "7");
    EXPECT_EQ(cell(*model, 1, 1), "7");
    EXPECT_EQ(cell(*model, 3, 0), "7");

    // Rows: remove every row with a selected cell.
    view.selectionModel()->clearSelection();
    view.selectionModel()->select(model->index(0, 3), QItemSelectionModel::Select);
    view.selectionModel()->select(model->index(2, 0), QItemSelectionModel::Select);
    view.removeSelectedRows();
    ASSERT_EQ(model->rowCount(), 2);
    EXPECT_EQ(cell(*model, 0, 1), "7");

    view.setModel(nullptr);
    view.pasteText("1");
    view.insertRow();
}

TEST(Widgets, TablePastesIntoAValidatingModelAndKeepsWhatItRefuses)
{
    NumberTable model(4, 3);
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 3; ++c) {
            model.setItem(r, c, new QStandardItem(QString::number(10 * r + c)));
        }
    }
    MultiCellOperableTableView view;
    view.setModel(&model);

    // A 2 x 3 block from a spreadsheet at the current cell; "x" is refused in its cell only.
    view.setCurrentIndex(model.index(1, 0));
    view.pasteText("1.5\t-2\t3e2\n4\tx\t6\n");
    const QStringList pasted{"0 1 2", "1.5 -2 3e2", "4 21 6", "30 31 32"};
    EXPECT_EQ(rowsOf(model), pasted);

    // Three adjacent rows out of four would leave one: the model refuses, nothing goes
    // (row by row, two would have gone before the refusal).
    for (int r : {1, 2, 3}) {
        view.selectionModel()->select(model.index(r, 1), QItemSelectionModel::Select);
    }
    view.removeSelectedRows();
    EXPECT_EQ(rowsOf(model), pasted);

    // Two runs: the last goes first, so the first keeps its row number.
    view.selectionModel()->clearSelection();
    for (int r : {0, 3}) {
        view.selectionModel()->select(model.index(r, 0), QItemSelectionModel::Select);
    }
    view.removeSelectedRows();
    EXPECT_EQ(rowsOf(model), QStringList({"1.5 -2 3e2", "4 21 6"}));
}

TEST(Widgets, OpacityEditorAndFileField)
{
    widget::TransparencyWidget opacity;
    EXPECT_EQ(opacity.opacity(), 100);
    QSignalSpy changed(&opacity, &widget::TransparencyWidget::opacityChanged);
    opacity.setOpacity(50);
    opacity.setOpacity(50);
    opacity.findChild<QSlider*>()->setValue(20); // the user drags
    opacity.setOpacity(180);
    EXPECT_EQ(opacity.opacity(), 100);
    ASSERT_EQ(changed.size(), 3);
    EXPECT_EQ(changed[1][0].toInt(), 20);

    UserDialogScript script;
    LastIODirectory::set("/srv/exports");
    widget::FilenameEditWidget file;
    file.setFilter("XML files(*.xml)");
    file.setSaveMode(true);
    auto button = file.findChild<QPushButton*>();
    script.answerFile("/data/river/out.xml").answerCancel();
    button->click();
    button->click(); // cancelled: the name stays
    EXPECT_EQ(file.filename(), "/data/river/out.xml");
    EXPECT_EQ(LastIODirectory::get(), "/data/river");
    ASSERT_EQ(script.records().size(), 2u);
    EXPECT_EQ(script.records()[0].kind, UserDialogs::Kind::SaveFileName);
    EXPECT_EQ(script.records()[0].directory, "/srv/exports");
    EXPECT_EQ(script.records()[0].filter, "XML files(*.xml)");
    EXPECT_EQ(script.records()[1].directory, "/data/river/out.xml");
}

TEST(Widgets, WaitDialogIsModelessAndCancelsOnce)
{
    QWidget parent;
    dialog::WaitDialog wait(&parent);
    QSignalSpy canceled(&wait, &dialog::WaitDialog::canceled);
    wait.showProgressBar();
    wait.setRange(0, 100);
    wait.setUnknownLimitMode(300);
    wait.setProgress(10);
    wait.setMessage("Saving project file...");
    wait.show(); // returns at once
    EXPECT_FALSE(wait.isModal());
    auto bar = wait.findChild<QProgressBar*>();
    ASSERT_NE(bar, nullptr);
    // Unknown-limit mode: the bar runs to the limit and starts over past it.
    wait.setProgress(311);
    EXPECT_GE(bar->value(), 0);
    EXPECT_LT(bar->value(), 20);

    auto cancel = wait.findChild<QPushButton*>();
    ASSERT_NE(cancel, nullptr);
    cancel->click();
    QTest::keyClick(&wait, Qt::Key_Escape);
    wait.close();
    EXPECT_EQ(canceled.size(), 1);
    EXPECT_TRUE(wait.isVisible()); // the caller hides it
    wait.hide();
    wait.show();
    wait.reject();
    EXPECT_EQ(canceled.size(), 2); // once per showing
}
