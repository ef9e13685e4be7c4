// The message seam: scripted answers, the log, the fallback and nesting.
#include "TestSupport.h"

#include "guimisc/UserDialogScript.h"
#include "guimisc/UserDialogs.h"
#include "guimisc/dialog/InformationDialog.h"
#include "guimisc/restorer/WaitCursor.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <vector>

using guimisc::UserDialogs;
using guimisc::UserDialogScript;
using Kind = guimisc::UserDialogs::Kind;

namespace {

// What the handler below was told, one entry per call.
struct UnansweredCall {
    Kind kind;
    QString title;
    QString text;
};
std::vector<UnansweredCall> unansweredCalls;

void recordUnanswered(Kind kind, const QString& title, const QString& text)
{
    unansweredCalls.push_back({kind, title, text});
}

// Puts another handler in place while it lives (null: the real dialogs), then the earlier one.
class HandlerInPlace {
public:
    explicit HandlerInPlace(UserDialogs::UnansweredHandler handler)
        : m_previous(UserDialogs::setUnansweredHandler(handler))
    {
        unansweredCalls.clear();
    }
    ~HandlerInPlace() { UserDialogs::setUnansweredHandler(m_previous); }
    HandlerInPlace(const HandlerInPlace&) = delete;
    HandlerInPlace& operator=(const HandlerInPlace&) = delete;

private:
    UserDialogs::UnansweredHandler m_previous;
};

// Every modal window that comes up while it lives, closed at once and counted.
class ModalCloser {
public:
    ModalCloser()
    {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                ++shown;
                modal->close();
            }
        });
        m_timer.start();
    }
    int shown = 0;

private:
    QTimer m_timer;
};

} // namespace

// The test programs' own main sets the handler that fails the test: a box nobody scripted
// ends as a failure naming it instead of a modal window nobody answers.
TEST(UserDialogs, ABoxThatNoScriptAnswersFailsTheTestInsteadOfWaiting)
{
    EXPECT_NONFATAL_FAILURE(
        EXPECT_EQ(UserDialogs::warning(nullptr, "Warning", "Project file x.emvn does not exists.",
                                       QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel),
                  QMessageBox::Cancel),
        "title \"Warning\", text \"Project file x.emvn does not exists.\"");
    EXPECT_NONFATAL_FAILURE(
        EXPECT_TRUE(UserDialogs::getOpenFileName(nullptr, "Open project file").isEmpty()),
        "open-file dialog that no test script answers was asked: title \"Open project file\"");
}

TEST(UserDialogs, TheUnansweredHandlerHearsOfWhatNoScriptAnswersAndNothingShows)
{
    const HandlerInPlace recording(&recordUnanswered);
    const ModalCloser closer;
    EXPECT_EQ(UserDialogs::warning(nullptr, "Warning", "Save?",
                                   QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                   QMessageBox::Yes),
              QMessageBox::Cancel);
    EXPECT_EQ(UserDialogs::question(nullptr, "Warning", "Delete?"), QMessageBox::No);
    EXPECT_EQ(UserDialogs::critical(nullptr, "Error", "Saving project failed."), QMessageBox::Ok);
    EXPECT_TRUE(UserDialogs::getSaveFileName(nullptr, "Save project file", QString(),
                                             "project file (*.emvn)")
                    .isEmpty());
    EXPECT_TRUE(UserDialogs::getOpenFileNames(nullptr, "Import").isEmpty());
    EXPECT_TRUE(UserDialogs::getExistingDirectory(nullptr, "Folder").isEmpty());
    EXPECT_FALSE(UserDialogs::getColor(Qt::red, nullptr, "Colour").isValid());
    QApplication::processEvents();
    EXPECT_EQ(closer.shown, 0);
    ASSERT_EQ(unansweredCalls.size(), 7u);
    EXPECT_EQ(unansweredCalls[0].kind, Kind::Warning);
    EXPECT_EQ(unansweredCalls[0].title, "Warning");
    EXPECT_EQ(unansweredCalls[0].text, "Save?");
    EXPECT_EQ(unansweredCalls[2].kind, Kind::Critical);
    EXPECT_EQ(unansweredCalls[3].kind, Kind::SaveFileName);
    EXPECT_EQ(unansweredCalls[3].title, "Save project file");
    EXPECT_EQ(unansweredCalls[6].kind, Kind::Color);

    // A script answers what it is asked; the handler hears nothing of it, before or after.
    {
        UserDialogScript script;
        script.answer(QMessageBox::Yes);
        EXPECT_EQ(UserDialogs::warning(nullptr, "Warning", "Save?",
                                       QMessageBox::Yes | QMessageBox::No),
                  QMessageBox::Yes);
        EXPECT_EQ(UserDialogs::warning(nullptr, "Warning", "Again?",
                                       QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes),
                  QMessageBox::Yes)
            << "the script's own fallback";
        EXPECT_EQ(script.records().size(), 2u);
    }
    EXPECT_EQ(unansweredCalls.size(), 7u);
    EXPECT_EQ(UserDialogs::information(nullptr, "Information", "Done."), QMessageBox::Ok);
    EXPECT_EQ(unansweredCalls.size(), 8u) << "the stand-in went with its call";
}

TEST(UserDialogs, ScriptedBoxAnswersWithChosenButtonAndRecordsIt)
{
    QWidget parent;
    UserDialogScript script;
    script.answer(QMessageBox::No).answer(QMessageBox::Cancel);
    EXPECT_EQ(UserDialogs::question(&parent, "Warning", "Save changes?",
                                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                    QMessageBox::Yes),
              QMessageBox::No);
    EXPECT_EQ(UserDialogs::warning(nullptr, "Warning", "Second"), QMessageBox::Cancel);
    EXPECT_EQ(UserDialogs::critical(nullptr, "Error", "Could not overwrite x."), QMessageBox::Ok);
    EXPECT_EQ(script.pendingAnswers(), 0u);

    ASSERT_EQ(script.records().size(), 3u);
    const auto& first = script.records()[0];
    EXPECT_EQ(first.kind, Kind::Question);
    EXPECT_EQ(first.parent, &parent);
    EXPECT_EQ(first.title, "Warning");
    EXPECT_EQ(first.text, "Save changes?");
    EXPECT_EQ(first.defaultButton, QMessageBox::Yes);
    EXPECT_EQ(script.records()[2].kind, Kind::Critical);
    EXPECT_FALSE(script.records()[2].scripted); // answered by the fallback
}

TEST(UserDialogs, FallbackCancelAndMismatchedAnswers)
{
    UserDialogScript script;
    // Empty queue: the default button, else the accepting one; dialogs are cancelled.
    EXPECT_EQ(UserDialogs::question(nullptr, "Warning", "q", QMessageBox::Yes | QMessageBox::No,
                                    QMessageBox::No),
              QMessageBox::No);
    EXPECT_EQ(UserDialogs::question(nullptr, "Warning", "q"), QMessageBox::Yes);
    EXPECT_EQ(UserDialogs::information(nullptr, "Info", "i"), QMessageBox::Ok);
    EXPECT_TRUE(UserDialogs::getOpenFileName(nullptr, "Open").isEmpty());
    EXPECT_FALSE(UserDialogs::getColor(Qt::red, nullptr).isValid());

    // Cancel presses Escape's button in a box.
    script.answerCancel().answerCancel().answerCancel();
    EXPECT_EQ(UserDialogs::question(nullptr, "W", "q",
                                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel),
              QMessageBox::Cancel);
    EXPECT_EQ(UserDialogs::question(nullptr, "W", "q"), QMessageBox::No);
    EXPECT_EQ(UserDialogs::warning(nullptr, "W", "w"), QMessageBox::Ok);

    // A file answer where a box comes is used up; the box gets the fallback.
    script.answerFile("/tmp/x").answer(QMessageBox::Yes);
    EXPECT_EQ(UserDialogs::warning(nullptr, "W", "w", QMessageBox::Yes | QMessageBox::No,
                                   QMessageBox::No),
              QMessageBox::No);
    EXPECT_FALSE(script.records().back().scripted);
    EXPECT_TRUE(UserDialogs::getSaveFileName(nullptr, "Save").isEmpty());
    EXPECT_EQ(script.pendingAnswers(), 0u);

    script.setFallback([](const UserDialogScript::Record&) {
        UserDialogScript::Answer a;
        a.sort = UserDialogScript::Answer::Sort::Button;
        a.button = QMessageBox::Abort;
        return a;
    });
    EXPECT_EQ(UserDialogs::critical(nullptr, "E", "e"), QMessageBox::Abort);
    EXPECT_EQ(script.messageBoxes().size(), 8u);
}

TEST(UserDialogs, FileAndColourDialogsAnswerWithNamesFiltersAndColours)
{
    UserDialogScript script;
    const QString filters = "Project file (*.cmvn *.emvn);;STL (*.stl)";
    script.answerFile("/data/a b.cmvn")
        .answerFile(QString::fromUtf8("/data/測量.stl"), "STL (*.stl)")
        .answerFiles({"/d/1.tpo", "/d/2.tpo"})
        .answerDirectory("/work/space")
        .answerColor(QColor(10, 20, 30))
        .answerCancel();

    QString selected;
    EXPECT_EQ(UserDialogs::getOpenFileName(nullptr, "Open project file", "/start", filters, &selected),
              "/data/a b.cmvn");
    EXPECT_EQ(selected, "Project file (*.cmvn *.emvn)"); // the first filter when none was chosen
    selected.clear();
    EXPECT_EQ(UserDialogs::getSaveFileName(nullptr, "Save", "/start", filters, &selected),
              QString::fromUtf8("/data/測量.stl"));
    EXPECT_EQ(selected, "STL (*.stl)");
    EXPECT_EQ(UserDialogs::getOpenFileNames(nullptr, "Import", "/d", "Points (*.tpo)"),
              (QStringList{"/d/1.tpo", "/d/2.tpo"}));
    EXPECT_EQ(UserDialogs::getExistingDirectory(nullptr, "Folder", "/"), "/work/space");
    EXPECT_EQ(UserDialogs::getColor(Qt::red, nullptr, "Colour"), QColor(10, 20, 30));
    selected = "kept";
    EXPECT_TRUE(UserDialogs::getOpenFileName(nullptr, "Open", "/", filters, &selected).isEmpty());
    EXPECT_EQ(selected, "kept"); // a cancelled dialog leaves the filter alone

    const auto& r = script.records();
    ASSERT_EQ(r.size(), 6u);
    EXPECT_EQ(r[0].directory, "/start");
    EXPECT_EQ(r[0].filter, filters);
    EXPECT_EQ(r[4].initialColor, QColor(Qt::red));
}

TEST(UserDialogs, ComputedAnswersAndNestedScripts)
{
    UserDialogScript outer;
    int seen = 0;
    outer.answerBy([&seen](const UserDialogScript::Record& record) {
        ++seen;
        UserDialogScript::Answer a;
        a.sort = UserDialogScript::Answer::Sort::Button;
        a.button = record.text.contains("delete") ? QMessageBox::Yes : QMessageBox::No;
        return a;
    });
    {
        UserDialogScript inner;
        inner.answer(QMessageBox::Retry);
        EXPECT_EQ(UserDialogs::warning(nullptr, "W", "x"), QMessageBox::Retry);
        EXPECT_TRUE(outer.records().empty());
    }
    EXPECT_EQ(UserDialogs::question(nullptr, "Warning", "Really delete?"), QMessageBox::Yes);
    EXPECT_EQ(seen, 1);
}

TEST(UserDialogs, ABoxAskedUnderTheWaitCursorShowsTheArrowUntilAnswered)
{
    auto shape = [] {
        const QCursor* cursor = QApplication::overrideCursor();
        return cursor ? int(cursor->shape()) : -1;
    };
    std::vector<int> asked;
    UserDialogScript script;
    script.setFallback([&](const UserDialogScript::Record&) {
        asked.push_back(shape());
        UserDialogScript::Answer a;
        a.sort = UserDialogScript::Answer::Sort::Button;
        a.button = QMessageBox::Ok;
        return a;
    });
    UserDialogs::critical(nullptr, "Error", "Saving project failed.");
    {
        guimisc::restorer::WaitCursor busy;
        UserDialogs::critical(nullptr, "Error", "Saving project failed.");
        EXPECT_EQ(shape(), int(Qt::WaitCursor)) << "the operation goes on under its cursor";
    }
    EXPECT_EQ(asked, (std::vector<int>{-1, int(Qt::ArrowCursor)}));
    EXPECT_EQ(shape(), -1);
}

TEST(UserDialogs, SaveDialogWithOneSuffixGivesItToANameWithout)
{
    EXPECT_EQ(UserDialogs::defaultSuffixOf("STL file (*.stl)"), "stl");
    EXPECT_EQ(UserDialogs::defaultSuffixOf("project file (*.cmvn)"), "cmvn");
    EXPECT_EQ(UserDialogs::defaultSuffixOf("*.tpo"), "tpo");
    for (const char* none : {"", "All files (*)", "Images (*.png *.jpg)", "A (*.a);;B (*.b)",
                             "Archives (*.tar.gz)", "Any (*.t?o)"}) {
        EXPECT_EQ(UserDialogs::defaultSuffixOf(none), "") << none;
    }

    UserDialogScript script;
    script.answerFile("/data/gml_tin").answerFile("/dev/null").answerFile("/data/river.v2")
        .answerFile("/data/gml_tin").answerFile("/data/gml_tin");
    EXPECT_EQ(UserDialogs::getSaveFileName(nullptr, "Export", "/data", "STL file (*.stl)"),
              "/data/gml_tin.stl");
    EXPECT_EQ(UserDialogs::getSaveFileName(nullptr, "Export", "/", "STL file (*.stl)"), "/dev/null")
        << "an existing file is taken as named";
    EXPECT_EQ(UserDialogs::getSaveFileName(nullptr, "Export", "/data", "STL file (*.stl)"),
              "/data/river.v2");
    EXPECT_EQ(UserDialogs::getSaveFileName(nullptr, "Export", "/data", "A (*.a);;B (*.b)"),
              "/data/gml_tin");
    EXPECT_EQ(UserDialogs::getOpenFileName(nullptr, "Open", "/data", "STL file (*.stl)"),
              "/data/gml_tin") << "only save dialogs add a suffix";
}

// Qt's own dialog, as the user meets it: a typed name gets the suffix before the dialog checks
// for a file to overwrite, so the question names the file that would be replaced.
TEST(UserDialogs, RealSaveDialogAsksBeforeReplacingTheSuffixedFile)
{
    const HandlerInPlace realDialogs(nullptr);
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString existing = folder.filePath("surface.stl");
    ASSERT_TRUE(hobrintest::writeFile(existing, "earlier"));

    // Answers whatever modal window comes up: the file dialog gets a typed name, the question
    // about replacing is recorded and answered No, after which the dialog is cancelled.
    QString typed;
    QString question;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto box = qobject_cast<QMessageBox*>(modal)) {
            question = box->text();
            box->button(QMessageBox::No)->click();
        } else if (auto dialog = qobject_cast<QFileDialog*>(modal)) {
            if (!question.isEmpty()) {
                dialog->reject();
            } else {
                // Typed into the name field, then the Save button.
                dialog->findChild<QLineEdit*>("fileNameEdit")->setText(typed);
                // Queued: the question it may raise runs an event loop of its own, in which
                // this timer (still inside its slot) would not fire again.
                QMetaObject::invokeMethod(
                    dialog->findChild<QDialogButtonBox*>("buttonBox")->button(QDialogButtonBox::Save),
                    "click", Qt::QueuedConnection);
            }
        }
    });
    poll.start();

    typed = "gml_tin";
    EXPECT_EQ(UserDialogs::getSaveFileName(nullptr, "Export", folder.path(), "STL file (*.stl)"),
              folder.filePath("gml_tin.stl"));
    typed = "surface";
    EXPECT_TRUE(
        UserDialogs::getSaveFileName(nullptr, "Export", folder.path(), "STL file (*.stl)").isEmpty());
    EXPECT_TRUE(question.contains("surface.stl")) << question.toStdString();
    EXPECT_EQ(hobrintest::readFile(existing), "earlier");

    // A name without suffix that is an existing file is that file (after the same question).
    const QString plain = folder.filePath("notes");
    ASSERT_TRUE(hobrintest::writeFile(plain, "kept"));
    typed = "notes";
    question.clear();
    EXPECT_TRUE(
        UserDialogs::getSaveFileName(nullptr, "Export", folder.path(), "STL file (*.stl)").isEmpty());
    EXPECT_TRUE(question.contains("notes")) << question.toStdString();
    EXPECT_FALSE(question.contains("notes.stl")) << question.toStdString();
}

TEST(UserDialogs, KeyedInformationIsRecordedEveryTime)
{
    QWidget parent;
    UserDialogScript script;
    for (int i = 0; i < 2; ++i) {
        guimisc::dialog::InformationDialog::information(&parent, "Information",
                                                        "Please define polygon by clicking.",
                                                        "geodatapolygoninit");
    }
    ASSERT_EQ(script.records().size(), 2u);
    for (const auto& record : script.records()) {
        EXPECT_EQ(record.kind, Kind::Information);
        EXPECT_EQ(record.parent, &parent);
        EXPECT_EQ(record.title, "Information");
        EXPECT_EQ(record.text, "Please define polygon by clicking.");
        EXPECT_EQ(record.buttons, QMessageBox::Ok);
    }
}
