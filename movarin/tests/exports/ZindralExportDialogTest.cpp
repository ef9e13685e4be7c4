// The grid-model export dialog as Export > Zindral Grid data opens it: its defaults, the zone
// list that follows the coordinate system, and the setting kept with the project.
#include "ExportsTestSupport.h"

#include "support/ModalAnswerer.h"

#include "movarin/sections/ZindralExportItem.h"
#include "movarin/shell/EditModeMainWindow.h"
#include "movarin/shell/EditModeMainWindowModel.h"
#include "movarin/shell/EditModeMainWindowModelRootItem.h"
#include "movarin/shell/MainWindow.h"
#include "movarin/shell/Project.h"

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QDomDocument>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace varnel::test {
namespace {

/// What the dialog shows, one line: folder | river | date | system | zones | zone, and
/// "disabled" when the zone list is.
QString shownBy(QWidget* dialog)
{
    auto zones = dialog->findChild<QComboBox*>("systemNumberList");
    return QStringList{dialog->findChild<QWidget*>("folderWidget")->findChild<QLineEdit*>()->text(),
                       dialog->findChild<QLineEdit*>("riverNameEdit")->text(),
                       dialog->findChild<QLineEdit*>("surveyDateEdit")->text(),
                       dialog->findChild<QComboBox*>("coordinateSystemList")->currentText(),
                       QStringLiteral("%1 zones").arg(zones->count()),
                       zones->currentText()}
               .join(QStringLiteral(" | "))
           + (zones->isEnabled() ? QString() : QStringLiteral(" disabled"));
}

class ZindralExportDialogTest : public ExportsTest {
protected:
    /// Opens the dialog through the menu, hands it to `act` and then cancels it, unless `act`
    /// closed it.
    void withDialog(const std::function<void(QWidget*)>& act)
    {
        ModalAnswerer answerer([&](QWidget* dialog) {
            act(dialog);
            if (dialog->isVisible()) {
                QTest::mouseClick(
                    dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel),
                    Qt::LeftButton);
            }
        });
        exportAction(QStringLiteral("Zindral Grid data"))->trigger();
        EXPECT_TRUE(answerer.answered());
    }

    QString shownThroughTheMenu()
    {
        QString shown;
        withDialog([&](QWidget* dialog) { shown = shownBy(dialog); });
        return shown;
    }
};

TEST_F(ZindralExportDialogTest, TheZonesFollowTheCoordinateSystem)
{
    EXPECT_EQ(shownThroughTheMenu(),
              " |  |  | Latitude-Longitude CS (World Geodetic System) | 0 zones |  disabled");
    withDialog([](QWidget* dialog) {
        auto systems = dialog->findChild<QComboBox*>("coordinateSystemList");
        auto zones = dialog->findChild<QComboBox*>("systemNumberList");
        systems->setFocus();
        QTest::keyClick(systems, Qt::Key_Down);
        QTest::keyClick(systems, Qt::Key_Down);
        EXPECT_EQ(zones->count(), 19);
        EXPECT_TRUE(zones->isEnabled());
        zones->setCurrentIndex(8);
        QTest::keyClick(systems, Qt::Key_Down);
        QTest::keyClick(systems, Qt::Key_Down);
        EXPECT_EQ(systems->currentText(), "UTM (Northern Hemisphere)");
        EXPECT_EQ(zones->count(), 60);
        EXPECT_EQ(zones->itemText(59), "60");
        EXPECT_EQ(zones->currentText(), "1");
        QTest::keyClick(systems, Qt::Key_Home);
        EXPECT_EQ(zones->count(), 0);
        EXPECT_FALSE(zones->isEnabled());
    });
}

// What the user accepted is what the project saves and what the dialog shows after the
// project was opened again; blanks around the names are dropped.
TEST_F(ZindralExportDialogTest, TheSettingIsKeptWithTheProject)
{
    withDialog([&](QWidget* dialog) {
        m_script.answerDirectory(m_dir.path());
        QTest::mouseClick(dialog->findChild<QWidget*>("folderWidget")->findChild<QPushButton*>(),
                          Qt::LeftButton);
        QTest::keyClicks(dialog->findChild<QLineEdit*>("riverNameEdit"), QStringLiteral("  Kinu "));
        QTest::keyClicks(dialog->findChild<QLineEdit*>("surveyDateEdit"),
                         QStringLiteral(" 2023-05-01"));
        dialog->findChild<QComboBox*>("coordinateSystemList")->setCurrentIndex(2);
        dialog->findChild<QComboBox*>("systemNumberList")->setCurrentIndex(8);
        QTest::mouseClick(dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                          Qt::LeftButton);
    });
    // The project has no reference lines: the export itself is refused.
    ASSERT_EQ(m_script.messageBoxes().size(), 1u);
    EXPECT_EQ(m_script.messageBoxes()[0].text, "Polylines 1, 2, 3, 4, C does not exists.");
    const QString expected =
        QDir::toNativeSeparators(m_dir.path())
        + " | Kinu | 2023-05-01 | Japan Plane Rectangular CS (World Geodetic System)"
          " | 19 zones | 9";
    EXPECT_EQ(shownThroughTheMenu(), expected);

    const QString archive = scratch(QStringLiteral("kept.emvn"));
    m_script.answerFile(archive);
    ASSERT_TRUE(mainWindow().saveProjectAs());
    ASSERT_TRUE(mainWindow().closeProject());
    mainWindow().openProject(archive);
    ASSERT_NE(mainWindow().project(), nullptr);
    EXPECT_EQ(shownThroughTheMenu(), expected);
}

TEST_F(ZindralExportDialogTest, AStoredValueOutsideTheListsShowsTheFirstEntry)
{
    auto item = qobject_cast<EditModeMainWindow*>(mainWindow().project()->projectWindow())
                    ->model()
                    ->rootItem()
                    ->zindralExportItem();
    const auto load = [&](const QString& attributes) {
        QDomDocument document;
        ASSERT_TRUE(
            document.setContent(QStringLiteral("<ZindralExportSetting %1/>").arg(attributes)));
        item->loadFromProjectMainFile(document.documentElement());
    };
    load(QStringLiteral("coordinateSystem=\"3\" systemNumber=\"99\""));
    EXPECT_EQ(shownThroughTheMenu(),
              " |  |  | Japan Plane Rectangular CS (World Geodetic System) | 19 zones | 1");
    load(QStringLiteral("coordinateSystem=\"6\" systemNumber=\"0\""));
    EXPECT_EQ(shownThroughTheMenu(), " |  |  | UTM (Southern Hemisphere) | 60 zones | 1");
    load(QStringLiteral("coordinateSystem=\"7\" systemNumber=\"5\""));
    EXPECT_EQ(shownThroughTheMenu(),
              " |  |  | Latitude-Longitude CS (World Geodetic System) | 0 zones |  disabled");
}

} // namespace
} // namespace varnel::test
