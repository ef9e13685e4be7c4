#pragma once

#include "guimisc/UserDialogs.h"

#include <QColor>
#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <vector>

class QWidget;

namespace guimisc {

/// A test's stand-in for the user in front of `UserDialogs`: while an object of this class
/// lives, every message box, file dialog and colour dialog asked for is recorded instead of
/// shown, and answered from a queue. Destroying it puts back whatever was installed before
/// (scripts nest; the innermost answers).
///
/// Answers are taken in order, one per call:
/// - `answer(button)` for a message box: the call returns that button (as a test chose it:
///   it is not checked against the buttons offered);
/// - `answerFile(name, filter)` for a file dialog: the name (for `getOpenFileNames` a list of
///   one; for `getExistingDirectory` the folder), and `filter` into `selectedFilter` (when
///   `filter` is empty, the first filter of the call's filter string); `answerFiles` gives
///   several names; `answerDirectory` reads better for folder dialogs;
/// - `answerColor(colour)` for the colour dialog;
/// - `answerCancel()` for anything: an empty name, an invalid colour, and for a message box
///   the button Escape would press (Cancel, else No, else the only button, else NoButton);
/// - `answerBy(function)` computes the answer from the record when the call comes (a test
///   can look at the program's state there).
/// An answer of the wrong sort (a button for a file dialog, say) is used up and the call is
/// answered as if the queue were empty; the record says so (`scripted` false).
///
/// With the queue empty, the fallback answers: a message box with its default button (when
/// one was given), else with the first of its buttons in Qt's order (Ok, Save, Open, Yes,
/// ..., No, ..., Cancel), which is the accepting one; file and colour dialogs are cancelled.
/// `setFallback` replaces that rule.
///
/// See `UserDialogs` for an example. Not copyable; GUI thread only.
class UserDialogScript {
public:
    /// One call as the script saw it.
    struct Record {
        UserDialogs::Kind kind = UserDialogs::Kind::Information;
        QWidget* parent = nullptr;
        QString title;   ///< box title or dialog caption
        QString text;    ///< message text (empty for dialogs)
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
        QString directory;   ///< start folder of a file dialog
        QString filter;      ///< filter string of a file dialog
        QColor initialColor; ///< colour the colour dialog starts with
        bool scripted = false; ///< answered from the queue (false: by the fallback)

        bool isMessageBox() const;
    };

    /// What the user does.
    struct Answer {
        enum class Sort { Button, Files, Color, Cancel };
        Sort sort = Sort::Cancel;
        QMessageBox::StandardButton button = QMessageBox::NoButton;
        QStringList files;
        QString filter;
        QColor color;
    };

    UserDialogScript();
    ~UserDialogScript();
    UserDialogScript(const UserDialogScript&) = delete;
    UserDialogScript& operator=(const UserDialogScript&) = delete;

    UserDialogScript& answer(QMessageBox::StandardButton button);
    UserDialogScript& answerFile(const QString& fileName, const QString& filter = QString());
    UserDialogScript& answerFiles(const QStringList& fileNames, const QString& filter = QString());
    UserDialogScript& answerDirectory(const QString& folder);
    UserDialogScript& answerColor(const QColor& color);
    UserDialogScript& answerCancel();
    UserDialogScript& answerBy(std::function<Answer(const Record&)> decide);

    /// Replaces the rule for calls that find the queue empty.
    void setFallback(std::function<Answer(const Record&)> decide);

    /// Every call so far, oldest first.
    const std::vector<Record>& records() const { return m_records; }
    /// The calls of message boxes only.
    std::vector<Record> messageBoxes() const;
    /// Answers queued but not yet used.
    std::size_t pendingAnswers() const { return m_queue.size(); }
    void clearRecords() { m_records.clear(); }

    /// Called by `UserDialogs`: records the call and returns the answer.
    Answer respond(const Record& record);

private:
    UserDialogScript* m_previous;
    std::deque<std::function<Answer(const Record&)>> m_queue;
    std::function<Answer(const Record&)> m_fallback;
    std::vector<Record> m_records;
};

} // namespace guimisc
