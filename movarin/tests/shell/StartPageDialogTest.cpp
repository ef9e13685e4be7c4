// The start page: the choice each control reports, the recent projects it lists and how it
// shortens them, and the links it reads for a locale.
#include "movarin/shell/SettingsKeys.h"
#include "movarin/shell/StartPageDialog.h"
#include "movarin/shell/StartPageLink.h"
#include "movarin/shell/StartPageLinks.h"
#include "movarin/shell/StartPageRecentProject.h"
#include "movarin/shell/StartPageRecentProjectList.h"

#include "RecordingPaintDevice.h"

#include "support/ModalAnswerer.h"
#include "support/QtPrinters.h"
#include "support/ScratchSettings.h"

#include <guimisc/SettingsSupport.h>

#include <QApplication>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QResource>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

namespace varnel::test {
namespace {

class StartPageDialogTest : public ScratchSettingsTest {};

// Runs the start page with the action of the user and returns exec()'s result.
int runStartPage(StartPageDialog& dialog, std::function<void(QWidget*)> action)
{
    ModalAnswerer answerer(std::move(action));
    const int result = dialog.exec();
    EXPECT_TRUE(answerer.answered());
    EXPECT_FALSE(answerer.leftOpen());
    EXPECT_EQ(answerer.answeredClassName(), "varnel::StartPageDialog");
    return result;
}

TEST_F(StartPageDialogTest, EachControlReportsItsChoice)
{
    const QStringList recent = {"/work/rivers/upper.cmvn", "/work/rivers/lower.emvn",
                                "/work/rivers/delta.v2.cmvn"};
    guimisc::SettingsSupport::setValue(settings::generalRecentProjects, recent);
    {
        SCOPED_TRACE("Ctrl+N");
        StartPageDialog dialog;
        EXPECT_EQ(runStartPage(dialog,
                               [](QWidget* modal) {
                                   QApplication::setActiveWindow(modal);
                                   QTest::keyClick(modal, Qt::Key_N, Qt::ControlModifier);
                               }),
                  QDialog::Accepted);
        EXPECT_EQ(dialog.choice(), StartPageDialog::NewCreateProject);
        EXPECT_TRUE(dialog.filename().isEmpty());
    }
    {
        SCOPED_TRACE("Open Project File");
        StartPageDialog dialog;
        EXPECT_EQ(runStartPage(dialog,
                               [](QWidget* modal) {
                                   QTest::mouseClick(
                                       modal->findChild<QPushButton*>("openProjectButton"),
                                       Qt::LeftButton);
                               }),
                  QDialog::Accepted);
        EXPECT_EQ(dialog.choice(), StartPageDialog::OpenOtherProject);
    }
    {
        SCOPED_TRACE("a recent project");
        StartPageDialog dialog;
        EXPECT_EQ(runStartPage(dialog,
                               [](QWidget* modal) {
                                   const auto entries =
                                       modal->findChildren<StartPageRecentProject*>();
                                   ASSERT_EQ(entries.size(), 3);
                                   QTest::mouseClick(entries[2], Qt::LeftButton);
                               }),
                  QDialog::Accepted);
        EXPECT_EQ(dialog.choice(), StartPageDialog::OpenRecentProject);
        EXPECT_EQ(dialog.filename(), "/work/rivers/delta.v2.cmvn");
    }
    {
        SCOPED_TRACE("Close");
        StartPageDialog dialog;
        EXPECT_EQ(runStartPage(dialog,
                               [](QWidget* modal) {
                                   auto box = modal->findChild<QDialogButtonBox*>("buttonBox");
                                   QTest::mouseClick(box->button(QDialogButtonBox::Close),
                                                     Qt::LeftButton);
                               }),
                  QDialog::Rejected);
        EXPECT_EQ(dialog.choice(), StartPageDialog::NoChoice);
        EXPECT_TRUE(dialog.filename().isEmpty());
    }
    // No control asks for a new edit-mode project, but its code stays reachable.
    StartPageDialog dialog;
    dialog.handleNewEditProjectButtonClick();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.choice(), StartPageDialog::NewEditProject);
}

TEST_F(StartPageDialogTest, ListsTheFirstSixRecentProjectsInStoredOrder)
{
    QStringList stored;
    for (int i = 0; i < 10; ++i) {
        stored << QStringLiteral("/p/project%1.cmvn").arg(9 - i);
    }
    guimisc::SettingsSupport::setValue(settings::generalRecentProjects, stored);
    StartPageRecentProjectList list;
    EXPECT_EQ(list.count(), 6);
    QStringList shown;
    for (int i = 0; i < list.layout()->count(); ++i) {
        if (auto entry = qobject_cast<StartPageRecentProject*>(list.layout()->itemAt(i)->widget())) {
            shown << entry->path();
        }
    }
    EXPECT_EQ(shown, stored.mid(0, 6));
    // Six is the limit for later additions too.
    list.addRecentProject("/p/extra.cmvn");
    EXPECT_EQ(list.findChildren<StartPageRecentProject*>().size(), 6);

    guimisc::SettingsSupport::remove(settings::generalRecentProjects);
    StartPageRecentProjectList empty;
    EXPECT_EQ(empty.count(), 0);
    EXPECT_TRUE(empty.findChildren<StartPageRecentProject*>().isEmpty());
}

TEST_F(StartPageDialogTest, LongPathsAndUrlsAreShortened)
{
    const QString path34 = "/data/projects/2024/rive/abcd.cmvn";
    const QString path35 = "/data/projects/2024/river/abcd.cmvn";
    ASSERT_EQ(path34.length(), 34);
    ASSERT_EQ(path35.length(), 35);
    EXPECT_EQ(StartPageRecentProject(path34).description(), path34);
    const StartPageRecentProject shortened(path35);
    EXPECT_EQ(shortened.description(), "/data/projec...2024/river/abcd.cmvn");
    EXPECT_EQ(shortened.title(), "abcd");
    // A file name longer than 21 characters keeps the whole folder in front.
    EXPECT_EQ(StartPageRecentProject("/a/b/a-very-long-project-file-name.cmvn").description(),
              "/a/b.../a/b/a-very-long-project-file-name.cmvn");
    EXPECT_EQ(StartPageRecentProject("/a/b/survey.2024.cmvn").title(), "survey");

    const QString url39 = "https://example.org/abcdefghijklmnopqrs";
    const QString url40 = url39 + "t";
    ASSERT_EQ(url39.length(), 39);
    const StartPageLink whole("Site", url39);
    EXPECT_EQ(whole.description(), url39);
    const StartPageLink cut("Site", url40);
    EXPECT_EQ(cut.description(), "https://example.org/ab...fghijklmnopqrst");
    EXPECT_EQ(cut.toolTip(), url40);
    EXPECT_EQ(cut.title(), "Site");
    EXPECT_EQ(cut.url(), url40);
}

// A name wider than the entry ends in an ellipsis instead of being cut through a letter; a
// short one is drawn whole.
TEST_F(StartPageDialogTest, EntriesElideWhatIsWiderThanThey)
{
    StartPageRecentProject longPath(
        "/work/rivers/lower-reach-after-the-great-flood-of-2019-with-new-levees.emvn");
    StartPageRecentProject shortPath("/tmp/river.stl");
    for (StartPageRecentProject* entry : {&longPath, &shortPath}) {
        entry->resize(200, 40);
        RecordingPaintDevice device;
        entry->render(&device);
        const std::vector<PaintRecord> texts = device.recordsOf(PaintRecord::Text);
        ASSERT_EQ(texts.size(), 2u);
        for (const PaintRecord& text : texts) {
            // The text starts 20 pixels in and must end inside the entry.
            EXPECT_LE(QFontMetrics(text.font).horizontalAdvance(text.text), 200 - 20)
                << text.text.toStdString();
        }
        if (entry == &shortPath) {
            EXPECT_EQ(texts[0].text, "river");
            EXPECT_EQ(texts[1].text, "/tmp/river.stl");
        } else {
            EXPECT_TRUE(texts[0].text.endsWith(QChar(0x2026))) << texts[0].text.toStdString();
            EXPECT_TRUE(texts[1].text.endsWith(QChar(0x2026))) << texts[1].text.toStdString();
            EXPECT_TRUE(longPath.description().startsWith(texts[1].text.chopped(1)));
        }
    }
}

// Registers a compiled link document set as ":/data/..." while the object lives.
class LinkDocuments {
public:
    explicit LinkDocuments(const char* set)
        : m_path(QStringLiteral(MOVARIN_SHELL_LINKS_DIR "/shell_links_%1.rcc").arg(set))
    {
        EXPECT_TRUE(QResource::registerResource(m_path)) << m_path.toStdString();
    }
    ~LinkDocuments() { QResource::unregisterResource(m_path); }

private:
    QString m_path;
};

// What the links widget shows, top to bottom.
QStringList shownLinks(const StartPageLinks& links)
{
    QStringList shown;
    for (int i = 0; i < links.layout()->count(); ++i) {
        QWidget* widget = links.layout()->itemAt(i)->widget();
        if (auto link = qobject_cast<StartPageLink*>(widget)) {
            shown << "link " + link->title() + " " + link->description();
        } else if (auto heading = qobject_cast<QLabel*>(widget)) {
            shown << "heading " + heading->text();
        }
    }
    return shown;
}

const QStringList englishLinks = {
    "heading Manuals", "link User guide https://example.org/movarin/guide",
    "link Tutorial with a rather long address https://example.org/mo...-tin/index.html",
    "heading Community", "link Forum https://example.org/forum",
    "link  https://example.org/untitled"};

TEST_F(StartPageDialogTest, LinksComeFromTheLocalesDocumentElseTheDefaultOne)
{
    StartPageLinks links;
    links.loadLinks("ja_JP");
    EXPECT_TRUE(shownLinks(links).isEmpty()) << "no document compiled in";
    {
        const LinkDocuments documents("full");
        links.loadLinks("ja_JP");
        EXPECT_EQ(shownLinks(links),
                  QStringList({QString::fromUtf8("heading マニュアル"),
                               QString::fromUtf8("link ユーザーガイド https://example.org/ja/guide")}));
        links.loadLinks("fr_FR");
        EXPECT_EQ(shownLinks(links), englishLinks);
    }
    {
        const LinkDocuments documents("default");
        StartPageDialog dialog;
        dialog.loadLinks("ja_JP");
        const auto shown = dialog.findChild<StartPageLinks*>();
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(shownLinks(*shown), englishLinks);
    }
    const LinkDocuments documents("malformed");
    links.loadLinks("en_US");
    EXPECT_TRUE(shownLinks(links).isEmpty());
}

// Stands in for the desktop's web browser.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened << url; }
};

TEST_F(StartPageDialogTest, ClickingALinkOpensItsUrl)
{
    const LinkDocuments documents("default");
    UrlRecorder browser;
    QDesktopServices::setUrlHandler("https", &browser, "open");
    StartPageLinks links;
    links.loadLinks("en_US");
    const auto entries = links.findChildren<StartPageLink*>();
    ASSERT_EQ(entries.size(), 4);
    QTest::mouseClick(entries[1], Qt::LeftButton);
    QDesktopServices::unsetUrlHandler("https");
    ASSERT_EQ(browser.opened.size(), 1);
    EXPECT_EQ(browser.opened[0], QUrl("https://example.org/movarin/tutorials/first-tin/index.html"));
}

} // namespace
} // namespace varnel::test

#include "StartPageDialogTest.moc"
