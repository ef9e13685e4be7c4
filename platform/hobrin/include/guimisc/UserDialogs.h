#pragma once

#include <QColor>
#include <QFileDialog>
#include <QMessageBox>
#include <QString>
#include <QStringList>

class QWidget;

namespace guimisc {

class UserDialogScript;

/// The one door through which the program shows message boxes, file dialogs and the colour
/// dialog. Every such call of the libraries and the program goes through these functions
/// instead of calling QMessageBox, QFileDialog or QColorDialog directly, so that a test can
/// answer them without a modal window (see `UserDialogScript`).
///
/// Without a script the functions call Qt's static functions with the same arguments
/// (QMessageBox::information / warning / critical / question, QFileDialog::getOpenFileName /
/// getOpenFileNames / getSaveFileName / getExistingDirectory, QColorDialog::getColor) and
/// return what they return: the pressed button, the chosen name(s) or an empty result on
/// Cancel, a valid colour or an invalid one on Cancel.
///
/// A message box asked while a wait cursor is up (`restorer::WaitCursor`, the application's
/// override cursor) shows the arrow until it is answered; the wait cursor then comes back.
///
/// While a `UserDialogScript` is alive, nothing is shown: the script records the call
/// (kind, title, text, ...) and gives the answer.
///
/// A test program sets an unanswered-call handler (`setUnansweredHandler`): a call that no
/// script answers then shows nothing either; the handler hears of it (and fails the running
/// test), and the call is answered as Escape would answer it (the button Cancel, else No,
/// else the only button; a file or colour dialog cancelled), so that no test waits on a
/// modal window nobody answers. The program sets none and shows real dialogs.
///
/// A save dialog whose filter is one pattern "*.<suffix>" ("STL file (*.stl)") gives a name
/// typed without a suffix that suffix, as Qt's dialog does with a default suffix, unless the
/// name as typed is an existing file or folder: the dialog is a `QFileDialog` with
/// `setDefaultSuffix`, so that its question before overwriting a file asks about the name that
/// is written; a scripted answer gets the suffix the same way.
///
///     // in a test
///     guimisc::UserDialogScript script;              // installed until the end of scope
///     script.answer(QMessageBox::Yes)                // first box: Yes
///           .answerFile("/tmp/a.cmvn", "Project file (*.cmvn)");  // then a file dialog
///     window.saveProject();
///     ASSERT_EQ(script.records().size(), 2u);
///     EXPECT_EQ(script.records()[0].title, "Warning");
///
///     // in the code under test
///     if (guimisc::UserDialogs::question(this, tr("Warning"), tr("Save changes?"),
///             QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes) ...
///
/// GUI thread only.
class UserDialogs {
public:
    /// What was asked for; for message boxes this is also the icon shown.
    enum class Kind {
        Information,
        Warning,
        Critical,
        Question,
        OpenFileName,
        OpenFileNames,
        SaveFileName,
        ExistingDirectory,
        Color
    };

    UserDialogs() = delete;

    static QMessageBox::StandardButton information(
        QWidget* parent, const QString& title, const QString& text,
        QMessageBox::StandardButtons buttons = QMessageBox::Ok,
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
    static QMessageBox::StandardButton warning(
        QWidget* parent, const QString& title, const QString& text,
        QMessageBox::StandardButtons buttons = QMessageBox::Ok,
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
    static QMessageBox::StandardButton critical(
        QWidget* parent, const QString& title, const QString& text,
        QMessageBox::StandardButtons buttons = QMessageBox::Ok,
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
    static QMessageBox::StandardButton question(
        QWidget* parent, const QString& title, const QString& text,
        QMessageBox::StandardButtons buttons = QMessageBox::StandardButtons(QMessageBox::Yes
                                                                            | QMessageBox::No),
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);

    /// `filter` is Qt's filter string ("Images (*.png *.jpg);;All files (*)");
    /// `selectedFilter`, when given, receives the filter of the chosen name.
    static QString getOpenFileName(QWidget* parent, const QString& caption,
                                   const QString& dir = QString(),
                                   const QString& filter = QString(),
                                   QString* selectedFilter = nullptr,
                                   QFileDialog::Options options = QFileDialog::Options());
    static QStringList getOpenFileNames(QWidget* parent, const QString& caption,
                                        const QString& dir = QString(),
                                        const QString& filter = QString(),
                                        QString* selectedFilter = nullptr,
                                        QFileDialog::Options options = QFileDialog::Options());
    /// The suffix a save dialog with that filter gives a name without one: the suffix of the
    /// filter's only pattern "*.<suffix>"; empty for several filters or patterns or a
    /// pattern with other wildcards.
    static QString defaultSuffixOf(const QString& filter);
    static QString getSaveFileName(QWidget* parent, const QString& caption,
                                   const QString& dir = QString(),
                                   const QString& filter = QString(),
                                   QString* selectedFilter = nullptr,
                                   QFileDialog::Options options = QFileDialog::Options());
    static QString getExistingDirectory(
        QWidget* parent, const QString& caption, const QString& dir = QString(),
        QFileDialog::Options options = QFileDialog::ShowDirsOnly);

    static QColor getColor(const QColor& initial, QWidget* parent,
                           const QString& title = QString());

    /// Told of a call that no script answers: its kind, title or caption, and text (empty
    /// for dialogs).
    using UnansweredHandler = void (*)(Kind kind, const QString& title, const QString& text);
    /// Sets the handler (null: Qt's real dialogs again, the default) and returns the one
    /// set before.
    static UnansweredHandler setUnansweredHandler(UnansweredHandler handler);

private:
    friend class UserDialogScript;
    static UserDialogScript* s_script;
};

} // namespace guimisc
