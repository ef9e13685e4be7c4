#include "kalmo/ShpImportSettingDialog.h"

#include "ShpTestSupport.h"

#include "guimisc/UserDialogScript.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableWidget>
#include <QTextCodec>

using namespace shptest;
using tinshp::ShpImportSettingDialog;

namespace {

class ShpImportSettingDialogTest : public ::testing::Test
{
protected:
    std::string twoColumns()
    {
        writeDbf(m_scratch.path("two.dbf"), {{"NAME", 'C', 10}, {"VALUE", 'N', 5}},
                 {{"a", "1"}, {"b", "2"}});
        return m_scratch.path("two.shp");
    }
    QComboBox* list(ShpImportSettingDialog& dialog, const char* name)
    {
        return dialog.findChild<QComboBox*>(name);
    }

    Scratch m_scratch;
};

} // namespace

// The same column for names and values is refused, with a warning, only while the "Value" group
// is shown; other choices close the dialog.
TEST_F(ShpImportSettingDialogTest, SameColumnForNameAndValueIsRefusedWhileValuesAreAsked)
{
    guimisc::UserDialogScript script;
    {
        ShpImportSettingDialog dialog(twoColumns());
        EXPECT_TRUE(dialog.findChild<QGroupBox*>("valueGroup")->isHidden());
        EXPECT_EQ(dialog.nameIndex(), dialog.valueIndex());
        dialog.accept();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_TRUE(script.records().empty());
    }
    ShpImportSettingDialog dialog(twoColumns());
    dialog.setValueSpecifyWidget(new QLineEdit);
    EXPECT_FALSE(dialog.findChild<QGroupBox*>("valueGroup")->isHidden());
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    ASSERT_EQ(script.messageBoxes().size(), 1u);
    EXPECT_EQ(script.records()[0].text,
              "You can not specify the same column for both Name and Value.");

    dialog.findChild<QRadioButton*>("valueSpecifiedButton")->setChecked(true);
    EXPECT_EQ(dialog.valueSetting(), ShpImportSettingDialog::ValueSpecified);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);

    dialog.setResult(QDialog::Rejected);
    dialog.findChild<QRadioButton*>("valueFromColumnButton")->setChecked(true);
    list(dialog, "valueColumnComboBox")->setCurrentIndex(1);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.valueIndex(), 1);
    EXPECT_EQ(script.records().size(), 1u);
}

// The encoding list offers Qt's codecs in order with the locale's chosen; choosing another reads
// the table again in that encoding.
TEST_F(ShpImportSettingDialogTest, EncodingListRereadsTheTable)
{
    const std::string shp = m_scratch.path("sjis.shp");
    ogr2ogr(shp, feature("{\"type\":\"Point\",\"coordinates\":[0,0]}", "{\"名前\":\"荒川\"}"),
            {"-lco", "ENCODING=CP932"});
    ShpImportSettingDialog dialog(shp);
    QComboBox* encodings = list(dialog, "encodingComboBox");
    EXPECT_EQ(encodings->currentText(), QString(QTextCodec::codecForLocale()->name()));

    auto* table = dialog.findChild<QTableWidget*>("tableWidget");
    encodings->setCurrentText("Shift_JIS");
    ASSERT_EQ(table->rowCount(), 1);
    EXPECT_EQ(table->horizontalHeaderItem(0)->text(), QString::fromUtf8("名前"));
    EXPECT_EQ(table->item(0, 0)->text(), QString::fromUtf8("荒川"));
    EXPECT_EQ(list(dialog, "nameColumnComboBox")->itemText(0), QString::fromUtf8("名前"));
    encodings->setCurrentText("ISO-8859-1");
    EXPECT_NE(table->item(0, 0)->text(), QString::fromUtf8("荒川"));
}
