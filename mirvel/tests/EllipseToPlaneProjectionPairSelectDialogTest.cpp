// The selection dialog on the offscreen platform: listing, filtering as the user types, and the
// pair it hands back.
#include "mirvel/EllipseToPlaneProjectionPairSelectDialog.h"

#include "mirvel/EllipseToPlaneProjectionPairBuilder.h"
#include "proj/ProjectionPair.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTextStream>

#include <gtest/gtest.h>

#include <memory>

using guiproj::EllipseToPlaneProjectionPairBuilder;
using guiproj::EllipseToPlaneProjectionPairSelectDialog;
using proj::ProjectionPair;

namespace {

class SelectDialogTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { s_catalogue = new EllipseToPlaneProjectionPairBuilder(); }
    static void TearDownTestSuite() { delete s_catalogue; }

    void SetUp() override
    {
        m_dialog = std::make_unique<EllipseToPlaneProjectionPairSelectDialog>();
        m_search = m_dialog->findChild<QLineEdit*>("searchEdit");
        m_list = m_dialog->findChild<QListWidget*>("listWidget");
        m_buttons = m_dialog->findChild<QDialogButtonBox*>("buttonBox");
        ASSERT_TRUE(m_search && m_list && m_buttons);
    }

    /// Types the text into the emptied search field, as a user would.
    void type(const QString& text)
    {
        m_search->selectAll();
        QTest::keyClick(m_search, Qt::Key_Backspace);
        QTest::keyClicks(m_search, text);
    }

    int rowOf(const QString& caption) const
    {
        const QList<QListWidgetItem*> found = m_list->findItems(caption, Qt::MatchExactly);
        return found.isEmpty() ? -1 : m_list->row(found.first());
    }

    static EllipseToPlaneProjectionPairBuilder* s_catalogue;
    std::unique_ptr<EllipseToPlaneProjectionPairSelectDialog> m_dialog;
    QLineEdit* m_search = nullptr;
    QListWidget* m_list = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
};

EllipseToPlaneProjectionPairBuilder* SelectDialogTest::s_catalogue = nullptr;

} // namespace

TEST_F(SelectDialogTest, PresetPairIsListedAndSelected)
{
    ProjectionPair* utm60s = s_catalogue->projectionPair("EPSG:32760");
    ASSERT_NE(utm60s, nullptr);
    m_dialog->setBuilder(s_catalogue);
    m_dialog->setProjectionPair(utm60s);
    m_dialog->show();

    ASSERT_EQ(m_list->count(), static_cast<int>(s_catalogue->projectionPairs().size()) + 1);
    EXPECT_EQ(m_list->item(0)->text(), "(Not Specified)");
    ASSERT_NE(m_list->currentItem(), nullptr);
    EXPECT_EQ(m_list->currentItem()->text(), "WGS 84 / UTM zone 60S");
    EXPECT_EQ(m_dialog->projectionPair(), utm60s);
    EXPECT_EQ(m_dialog->windowTitle(), "Select Coordinate System");

    // A filter that keeps the pair keeps it selected.
    type("zone 60");
    EXPECT_EQ(m_list->currentItem()->text(), "WGS 84 / UTM zone 60S");
    EXPECT_EQ(m_dialog->projectionPair(), utm60s);
}

TEST_F(SelectDialogTest, TypedFilterFindsTheRowInAnyCase)
{
    m_dialog->setBuilder(s_catalogue);
    m_dialog->show();
    for (const QString& text : {QString("UTM zone 60S"), QString("utm ZONE 60s"),
                                QString("uTm zOnE 60S"), QString("32760")}) {
        SCOPED_TRACE(text.toStdString());
        type(text);
        EXPECT_GE(rowOf("WGS 84 / UTM zone 60S"), 1);

        // Exactly the pairs whose name or caption hold the text, whatever its case.
        int expectedRows = 1;
        for (const ProjectionPair* pair : s_catalogue->projectionPairs()) {
            const QString shown = QString::fromLatin1(pair->name().c_str()) + " "
                + QString::fromLatin1(pair->caption().c_str());
            expectedRows += shown.contains(text, Qt::CaseInsensitive) ? 1 : 0;
        }
        EXPECT_EQ(m_list->count(), expectedRows);
        EXPECT_EQ(m_list->item(0)->text(), "(Not Specified)");
    }
    type("no such coordinate system");
    EXPECT_EQ(m_list->count(), 1);
}

TEST_F(SelectDialogTest, FilterHidingTheCurrentPairLeavesNoPair)
{
    ProjectionPair* japanNine = s_catalogue->projectionPair("EPSG:2451");
    ASSERT_NE(japanNine, nullptr);
    m_dialog->setBuilder(s_catalogue);
    m_dialog->setProjectionPair(japanNine);
    m_dialog->show();
    ASSERT_EQ(m_dialog->projectionPair(), japanNine);

    type("UTM zone 60S");
    EXPECT_EQ(m_list->currentRow(), 0);
    EXPECT_EQ(m_dialog->projectionPair(), nullptr);

    type("");
    EXPECT_EQ(m_list->count(), static_cast<int>(s_catalogue->projectionPairs().size()) + 1);
    EXPECT_EQ(m_list->currentRow(), 0);
    EXPECT_EQ(m_dialog->projectionPair(), nullptr);
}

TEST_F(SelectDialogTest, AcceptingRowZeroGivesNull)
{
    m_dialog->setBuilder(s_catalogue);
    m_dialog->setProjectionPair(s_catalogue->projectionPair("EPSG:2443"));
    m_dialog->show();
    ASSERT_NE(m_dialog->projectionPair(), nullptr);

    m_list->setCurrentRow(0);
    QTest::mouseClick(m_buttons->button(QDialogButtonBox::Ok), Qt::LeftButton);
    EXPECT_EQ(m_dialog->result(), QDialog::Accepted);
    EXPECT_EQ(m_dialog->projectionPair(), nullptr);
}

TEST_F(SelectDialogTest, EqualCaptionsBothAppearInCatalogueOrder)
{
    QString text = "# Same caption\n"
                   "<10> +proj=utm +zone=10 +ellps=GRS80 +units=m <>\n"
                   "<11> +proj=utm +zone=11 +ellps=GRS80 +units=m <>\n"
                   "# Other caption\n"
                   "<12> +proj=utm +zone=12 +ellps=GRS80 +units=m <>\n";
    QTextStream lines(&text, QIODevice::ReadOnly);
    EllipseToPlaneProjectionPairBuilder catalogue(lines);
    m_dialog->setBuilder(&catalogue);
    m_dialog->show();

    ASSERT_EQ(m_list->count(), 4);
    EXPECT_EQ(m_list->item(1)->text(), "Same caption");
    EXPECT_EQ(m_list->item(2)->text(), "Same caption");
    EXPECT_EQ(m_list->item(3)->text(), "Other caption");
    m_list->setCurrentRow(2);
    EXPECT_EQ(m_dialog->projectionPair(), catalogue.projectionPair("EPSG:11"));

    type("same");
    EXPECT_EQ(m_list->count(), 3);
    EXPECT_EQ(m_dialog->projectionPair(), catalogue.projectionPair("EPSG:11"));
    EXPECT_EQ(m_list->currentRow(), 2);
    m_dialog.reset(); // before the catalogue it borrows
}
