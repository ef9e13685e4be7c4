// The About box filled from the application information, the Mouse Hint window kept once,
// the draw tool made per project window, and the soil-volume dialog that deletes itself.
#include "MainWindowTestSupport.h"

#include "movarin/sections/CalculateSoilVolumeDialog.h"
#include "movarin/sections/DrawAuxiliaryDialog.h"
#include "movarin/shell/CreateModeMainWindow.h"
#include "movarin/shell/MainWindowAboutDialog.h"
#include "movarin/shell/MainWindowMiscDialogManager.h"
#include "movarin/shell/MouseHelpDialog.h"

#include "support/ModalAnswerer.h"
#include "support/QtPrinters.h"

#include <guimisc/UserDialogScript.h>

#include <QCoreApplication>
#include <QDialog>
#include <QDomDocument>
#include <QFile>
#include <QLabel>
#include <QPointer>

#include <gtest/gtest.h>

namespace varnel::test {
namespace {

class MiscDialogManagerTest : public MainWindowTest {
protected:
    MainWindowMiscDialogManager& manager() { return *window().miscDialogManager(); }
};

QDomElement element(QDomDocument& document, const QString& xml)
{
    EXPECT_TRUE(document.setContent(xml));
    return document.documentElement();
}

TEST_F(MiscDialogManagerTest, AboutBoxShowsTheShippedInformation)
{
    MainWindowAboutDialog* about = manager().aboutDialog();
    EXPECT_EQ(about->windowTitle(), "About Movarin");
    EXPECT_EQ(about->objectName(), "MainWindowAboutDialog");
    EXPECT_EQ(about->parentWidget(), &window());
    EXPECT_EQ(about->titleText(), "Movarin 1.0");
    EXPECT_TRUE(about->releaseText().startsWith("Released on "));
    EXPECT_GT(about->releaseText().size(), QString("Released on ").size());
    EXPECT_TRUE(about->copyrightText().startsWith("Copyright "));
    EXPECT_GT(about->copyrightText().size(), QString("Copyright ").size());
    EXPECT_TRUE(about->linkText().isEmpty());
    EXPECT_TRUE(about->termsOfUseText().isEmpty());
    EXPECT_EQ(window().versionNumber().toString(), "1.0");

    // The logo is there, and the box shows every text whole.
    const QList<QLabel*> labels = about->findChildren<QLabel*>();
    bool hasLogo = false;
    for (const QLabel* label : labels) {
        hasLogo = hasLogo || !label->pixmap(Qt::ReturnByValue).isNull();
    }
    EXPECT_TRUE(hasLogo);

    ModalAnswerer answerer([](QWidget* modal) { static_cast<QDialog*>(modal)->accept(); });
    manager().showAboutDialog();
    EXPECT_EQ(answerer.answeredClassName(), "varnel::MainWindowAboutDialog");
    for (const QLabel* label : labels) {
        EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
    }
}

TEST_F(MiscDialogManagerTest, AboutBoxTakesVersionsAndLinksFromTheDocument)
{
    MainWindowAboutDialog about;
    QDomDocument document;
    about.setApplicationInfo(element(document, "<varnel_info version=\"2.3\" release=\"2030/1/2\" "
                                               "copyright=\"Someone\"/>"));
    EXPECT_EQ(about.titleText(), "Movarin 2.3");
    EXPECT_EQ(about.releaseText(), "Released on 2030/1/2");
    EXPECT_EQ(about.copyrightText(), "Copyright Someone");

    about.setApplicationInfo(element(document, "<varnel_info version=\"2.3.0.7\" "
                                               "url=\"http://example.org/a b\" "
                                               "tou=\"https://example.org/terms\"/>"));
    EXPECT_EQ(about.titleText(), "Movarin 2.3.0 Revision 7");
    EXPECT_EQ(about.linkText(),
              "<a href=\"http://example.org/a%20b\">http://example.org/a b</a>");
    EXPECT_EQ(about.termsOfUseText(), "Terms of use: <a href=\"https://example.org/terms\">"
                                      "https://example.org/terms</a> (Japanese)");

    about.setApplicationInfo(element(document, "<varnel_info version=\"2.3\" displayVersion=\"Two\"/>"));
    EXPECT_EQ(about.titleText(), "Movarin Two");
}

TEST_F(MiscDialogManagerTest, MouseHintIsOneWindow)
{
    EXPECT_EQ(manager().mouseHelpDialog(), nullptr);
    manager().showMouseHelpDialog();
    MouseHelpDialog* first = manager().mouseHelpDialog();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    EXPECT_FALSE(first->isModal());
    first->close();
    manager().showMouseHelpDialog();
    EXPECT_EQ(manager().mouseHelpDialog(), first);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(window().findChildren<MouseHelpDialog*>().size(), 1);
}

TEST_F(MiscDialogManagerTest, DrawToolBelongsToTheProjectWindow)
{
    manager().showDrawAuxiliaryDialog();
    EXPECT_EQ(manager().drawAuxiliaryDialog(), nullptr) << "nothing without a project";

    window().newCreateProject();
    {
        ModalAnswerer answerer([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
        manager().showDrawAuxiliaryDialog();
        EXPECT_EQ(answerer.answeredClassName(), "varnel::DrawAuxiliaryDialog");
    }
    QPointer<DrawAuxiliaryDialog> first = manager().drawAuxiliaryDialog();
    ASSERT_FALSE(first.isNull());
    EXPECT_EQ(first->windowTitle(), "Draw lines and points");
    EXPECT_EQ(first->parentWidget(), createModeWindow());
    {
        ModalAnswerer answerer([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
        manager().showDrawAuxiliaryDialog();
    }
    EXPECT_EQ(manager().drawAuxiliaryDialog(), first.data()) << "kept while its window lives";

    window().newCreateProject();
    EXPECT_TRUE(first.isNull()) << "it went with its window";
    {
        ModalAnswerer answerer([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
        manager().showDrawAuxiliaryDialog();
        EXPECT_TRUE(answerer.answered());
    }
    ASSERT_NE(manager().drawAuxiliaryDialog(), nullptr);
    EXPECT_EQ(manager().drawAuxiliaryDialog()->parentWidget(), createModeWindow());
}

TEST_F(MiscDialogManagerTest, SoilVolumeDialogDeletesItselfWhenItFinishes)
{
    window().newCreateProject();
    for (const bool accept : {true, false}) {
        SCOPED_TRACE(accept ? "accepted" : "rejected");
        window().calculateSoilVolumeDialog();
        const QList<CalculateSoilVolumeDialog*> dialogs =
            createModeWindow()->findChildren<CalculateSoilVolumeDialog*>();
        ASSERT_EQ(dialogs.size(), 1);
        QPointer<CalculateSoilVolumeDialog> dialog = dialogs[0];
        EXPECT_EQ(dialog->windowTitle(), "Soil Volume Calculation");
        EXPECT_TRUE(dialog->isModal());
        EXPECT_TRUE(dialog->isVisible());
        if (accept) {
            dialog->accept();
        } else {
            dialog->reject();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(dialog.isNull());
    }
}

} // namespace
} // namespace varnel::test
