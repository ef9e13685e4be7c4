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
#include <QSpinBox>
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
// number, and no removal may leave fewer than two rows. A refused change leaves it as it was.
class NumberTable : public QAbstractTableModel {
public:
    NumberTable(int rows, int columns) : m_values(rows, std::vector<double>(columns))
    {
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < columns; ++c) {
                m_values[r][c] = 10 * r + c;
            }
        }
    }
    int rowCount(const QModelIndex& = QModelIndex()) const override
    {
        return static_cast<int>(m_values.size());
    }
    int columnCount(const QModelIndex& = QModelIndex()) const override
    {
        return m_values.empty() ? 0 : static_cast<int>(m_values[0].size());
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole && role != Qt::EditRole) {
            return QVariant();
        }
        return m_values[index.row()][index.column()];
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
    }
    bool setData(const QModelIndex& index, const QVariant& value, int role) override
    {
        bool ok = false;
        const double number = value.toString().toDouble(&ok);
        if (role != Qt::EditRole || !ok) {
            return false;
        }
        m_values[index.row()][index.column()] = number;
        emit dataChanged(index, index);
        return true;
    }
    bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override
    {
        if (count < 1 || row < 0 || row + count > rowCount() || rowCount() - count < 2) {
            return false;
        }
        beginRemoveRows(parent, row, row + count - 1);
        m_values.erase(m_values.begin() + row, m_values.begin() + row + count);
        endRemoveRows();
        return true;
    }
    std::vector<std::vector<double>> m_values;
};

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
    MultiCellOperableTableView view;
    view.setModel(&model);

    // A 2 x 3 block from a spreadsheet at the current cell; "x" is refused in its cell only.
    view.setCurrentIndex(model.index(1, 0));
    view.pasteText("1.5\t-2\t3e2\n4\tx\t6\n");
    const std::vector<std::vector<double>> pasted{
        {0, 1, 2}, {1.5, -2, 300}, {4, 21, 6}, {30, 31, 32}};
    EXPECT_EQ(model.m_values, pasted);

    // Three adjacent rows out of four would leave one: the model refuses, nothing goes.
    view.selectionModel()->clearSelection();
    for (int r : {1, 2, 3}) {
        view.selectionModel()->select(model.index(r, 1), QItemSelectionModel::Select);
    }
    view.removeSelectedRows();
    EXPECT_EQ(model.m_values, pasted);

    // Two runs: the last goes first, the earlier rows keep their numbers.
    model.m_values.push_back({40, 41, 42});
    view.selectionModel()->clearSelection();
    for (int r : {0, 3, 4}) {
        view.selectionModel()->select(model.index(r, 0), QItemSelectionModel::Select);
    }
    view.removeSelectedRows();
    EXPECT_EQ(model.m_values, (std::vector<std::vector<double>>{{1.5, -2, 300}, {4, 21, 6}}));
}

TEST(Widgets, OpacityEditorAndFileField)
{
    widget::TransparencyWidget opacity;
    EXPECT_EQ(opacity.opacity(), 100);
    QSignalSpy changed(&opacity, &widget::TransparencyWidget::opacityChanged);
    opacity.setOpacity(50);
    opacity.setOpacity(50);
    auto slider = opacity.findChild<QSlider*>();
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(slider->value(), 50);
    slider->setValue(20); // the user drags
    EXPECT_EQ(opacity.opacity(), 20);
    opacity.setOpacity(180);
    EXPECT_EQ(opacity.opacity(), 100);
    opacity.setOpacity(-3);
    EXPECT_EQ(opacity.opacity(), 0);
    ASSERT_EQ(changed.size(), 4);
    EXPECT_EQ(changed[1][0].toInt(), 20);

    UserDialogScript script;
    LastIODirectory::set("/srv/exports");
    widget::FilenameEditWidget file;
    file.setFilter("XML files(*.xml)");
    file.setSaveMode(true);
    auto button = file.findChild<QPushButton*>();
    ASSERT_NE(button, nullptr);
    script.answerFile("/data/river/out.xml").answerCancel();
    button->click();
    EXPECT_EQ(file.filename(), "/data/river/out.xml");
    EXPECT_EQ(LastIODirectory::get(), "/data/river");
    button->click(); // cancelled: unchanged, and the dialog started at the current name
    EXPECT_EQ(file.filename(), "/data/river/out.xml");
    ASSERT_EQ(script.records().size(), 2u);
    EXPECT_EQ(script.records()[0].kind, UserDialogs::Kind::SaveFileName);
    EXPECT_EQ(script.records()[0].directory, "/srv/exports");
    EXPECT_EQ(script.records()[0].filter, "XML files(*.xml)");
    EXPECT_EQ(script.records()[1].directory, "/data/river/out.xml");

    file.setSaveMode(false);
    script.answerFile("/data/in.xml");
    button->click();
    EXPECT_EQ(script.records().back().kind, UserDialogs::Kind::OpenFileName);
    EXPECT_EQ(file.filename(), "/data/in.xml");
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
