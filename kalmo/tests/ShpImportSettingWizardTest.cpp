#include "kalmo/ShpImportSettingWizard.h"

#include "ShpTestSupport.h"

#include "orlin/core/Polygon.h"
#include "orlin/core/Polyline.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableWidget>

using namespace shptest;
using tinshp::ShpImportSettingWizard;

namespace {

// The item page's controls, found by what they are called.
struct ItemPage
{
    explicit ItemPage(ShpImportSettingWizard& wizard) : page(wizard.page(wizard.pageIds().at(1)))
    {
    }
    QRadioButton* button(const char* name) const { return page->findChild<QRadioButton*>(name); }
    QTableWidget* table() const { return page->findChild<QTableWidget*>("tableWidget"); }
    void selectRow(int row) const
    {
        table()->selectionModel()->select(table()->model()->index(row, 0),
                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    QWizardPage* page;
};

QWizardPage* valuePage(ShpImportSettingWizard& wizard)
{
    return wizard.page(wizard.pageIds().at(0));
}

class ShpImportSettingWizardTest : public ::testing::Test
{
protected:
    // Records with a text, an integer, a floating-point, a logical and a date field.
    std::string tableOfFive()
    {
        const std::string shp = m_scratch.path("items.shp");
        std::vector<std::vector<std::string>> rows;
        for (int i = 0; i < 5; ++i) {
            rows.push_back({"item" + std::to_string(i), std::to_string(10 * i),
                            std::to_string(i) + ".25", i % 2 ? "T" : "F", "20240102"});
        }
        writeDbf(m_scratch.path("items.dbf"),
                 {{"NAME", 'C', 20}, {"COUNT", 'N', 6}, {"RATIO", 'N', 12, 3}, {"FLAG", 'L', 1},
                  {"SEEN", 'D', 8}},
                 rows);
        return shp;
    }

    Scratch m_scratch;
};

} // namespace

// Both pages show every record under the field names; the column lists offer the names; the
// values keep their types, a logical field its character, a date field nothing.
TEST_F(ShpImportSettingWizardTest, TablesShowTheAttributeTable)
{
    ShpImportSettingWizard wizard(tableOfFive());

    const QStringList labels{"NAME", "COUNT", "RATIO", "FLAG", "SEEN"};
    for (QWizardPage* page : {valuePage(wizard), ItemPage(wizard).page}) {
        auto* table = page->findChild<QTableWidget*>("tableWidget");
        ASSERT_NE(table, nullptr);
        ASSERT_EQ(table->columnCount(), labels.size());
        ASSERT_EQ(table->rowCount(), 5);
        for (int c = 0; c < labels.size(); ++c) {
            EXPECT_EQ(table->horizontalHeaderItem(c)->text(), labels[c]);
        }
        EXPECT_EQ(table->item(3, 0)->text(), "item3");
        EXPECT_EQ(table->item(3, 3)->text(), "T");
    }
    EXPECT_EQ(valuePage(wizard)->findChild<QComboBox*>("valueColumnComboBox")->itemText(2),
              "RATIO");

    EXPECT_DOUBLE_EQ(wizard.getValue(4, 2).toDouble(), 4.25);
    EXPECT_EQ(wizard.getValue(1, 3), QVariant(QString("T")));
    EXPECT_FALSE(wizard.getValue(1, 4).isValid());
    EXPECT_FALSE(wizard.getValue(5, 0).isValid());
}

// A table that does not open leaves everything empty, and the indexes read nothing.
TEST_F(ShpImportSettingWizardTest, MissingTableLeavesTheTablesEmpty)
{
    ShpImportSettingWizard wizard(m_scratch.path("missing.shp"));
    EXPECT_EQ(valuePage(wizard)->findChild<QTableWidget*>("tableWidget")->columnCount(), 0);
    EXPECT_EQ(ItemPage(wizard).table()->rowCount(), 0);
    EXPECT_EQ(wizard.nameIndex(), -1);
}

// "All Items" takes every shape whatever the region says.
TEST_F(ShpImportSettingWizardTest, AllItemsTakesEveryShape)
{
    ShpImportSettingWizard wizard(tableOfFive());
    wizard.setDefaultRegion(1000, 1001, 1000, 1001);
    const tin::core::Polygon far{{0, 0}, {1, 0}, {1, 1}};
    const tin::core::Polyline empty;
    EXPECT_TRUE(wizard.isTarget(3, &far));
    EXPECT_TRUE(wizard.isTarget(0, &empty));
}

// "Select Items" takes the rows selected at the first question; later selections change nothing.
TEST_F(ShpImportSettingWizardTest, SelectItemsFreezesTheFirstSelection)
{
    ShpImportSettingWizard wizard(tableOfFive());
    const ItemPage page(wizard);
    page.button("selectItemsButton")->setChecked(true);
    page.selectRow(1);
    page.selectRow(3);
    const tin::core::Polyline line{{0, 0}, {1, 1}};
    EXPECT_FALSE(wizard.isTarget(0, &line));
    EXPECT_TRUE(wizard.isTarget(1, &line));
    page.selectRow(4);
    page.table()->selectionModel()->select(page.table()->model()->index(1, 0),
                                           QItemSelectionModel::Deselect |
                                               QItemSelectionModel::Rows);
    EXPECT_TRUE(wizard.isTarget(1, &line));
    EXPECT_FALSE(wizard.isTarget(2, &line));
    EXPECT_TRUE(wizard.isTarget(3, &line));
    EXPECT_FALSE(wizard.isTarget(4, &line));
}

// "Specify Region" takes shapes whose bounding box meets the region, touching edges included.
TEST_F(ShpImportSettingWizardTest, SpecifyRegionTakesBoxesMeetingTheRegion)
{
    ShpImportSettingWizard wizard(tableOfFive());
    const ItemPage page(wizard);
    page.button("specifyRegionButton")->setChecked(true);
    wizard.setDefaultRegion(0, 10, 0, 10);

    auto box = [](double x0, double x1, double y0, double y1) {
        return tin::core::Polygon{{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
    };
    const tin::core::Polygon overlapping = box(5, 20, 5, 20);
    const tin::core::Polygon above = box(5, 20, 11, 20);
    const tin::core::Polygon touching = box(10, 20, 5, 6);
    const tin::core::Polygon inside = box(2, 3, 2, 3);
    const tin::core::Polyline below{{-5, -1}, {15, -2}};
    EXPECT_TRUE(wizard.isTarget(0, &overlapping));
    EXPECT_FALSE(wizard.isTarget(1, &above));
    EXPECT_TRUE(wizard.isTarget(2, &touching));
    EXPECT_TRUE(wizard.isTarget(3, &inside));
    EXPECT_FALSE(wizard.isTarget(7, &below));

    // The region as the user types it counts, not only the default.
    page.page->findChild<QLineEdit*>("yMinEdit")->setText("11");
    page.page->findChild<QLineEdit*>("yMaxEdit")->setText("30");
    EXPECT_TRUE(wizard.isTarget(1, &above));
    EXPECT_FALSE(wizard.isTarget(3, &inside));
}
