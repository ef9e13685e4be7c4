// The mouse hint window: the picture of the stored language, and a close that only hides.
#include "movarin/shell/MouseHelpDialog.h"
#include "movarin/shell/SettingsKeys.h"

#include "support/ScratchSettings.h"

#include <guimisc/SettingsSupport.h>

#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLocale>
#include <QPixmap>
#include <QPointer>

#include <gtest/gtest.h>

namespace varnel::test {
namespace {

class MouseHelpDialogTest : public ScratchSettingsTest {};

QImage shownImage(const MouseHelpDialog& dialog)
{
    const QLabel* label = dialog.findChild<QLabel*>("imageLabel");
    if (label == nullptr) {
        return QImage();
    }
    return label->pixmap(Qt::ReturnByValue).toImage().convertToFormat(QImage::Format_ARGB32);
}

QImage picture(const QString& path)
{
    return QImage(path).convertToFormat(QImage::Format_ARGB32);
}

TEST_F(MouseHelpDialogTest, ShowsThePictureOfTheStoredLanguage)
{
    const QImage english = picture(":/images/imgMouseHelp.png");
    const QImage japanese = picture(":/images/ja_JP/imgMouseHelp.png");
    ASSERT_FALSE(english.isNull());
    ASSERT_FALSE(japanese.isNull());
    ASSERT_NE(english, japanese);

    {
        SCOPED_TRACE("nothing stored: the system locale's picture, if there is one");
        const QString own = QStringLiteral(":/images/%1/imgMouseHelp.png").arg(QLocale::system().name());
        const MouseHelpDialog dialog;
        EXPECT_EQ(shownImage(dialog), QFile::exists(own) ? picture(own) : english);
    }
    guimisc::SettingsSupport::setValue(settings::generalLocale, "ja_JP");
    EXPECT_EQ(shownImage(MouseHelpDialog()), japanese);
    guimisc::SettingsSupport::setValue(settings::generalLocale, "fr_FR");
    EXPECT_EQ(shownImage(MouseHelpDialog()), english);

    const MouseHelpDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), "Mouse Hint");
    EXPECT_FALSE(dialog.isSizeGripEnabled());
}

TEST_F(MouseHelpDialogTest, ClosingOnlyHidesTheWindow)
{
    QPointer<MouseHelpDialog> dialog = new MouseHelpDialog;
    dialog->move(40, 50);
    dialog->show();
    const QPoint shownAt = dialog->pos();
    EXPECT_FALSE(dialog->close()) << "the close event is refused: the window survives";
    ASSERT_FALSE(dialog.isNull());
    EXPECT_FALSE(dialog->isVisible());
    dialog->show();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->pos(), shownAt);
    delete dialog.data();
}

} // namespace
} // namespace varnel::test
