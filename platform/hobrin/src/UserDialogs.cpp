#include "guimisc/UserDialogs.h"

#include "guimisc/UserDialogScript.h"

#include <QApplication>
#include <QColorDialog>
#include <QCursor>
#include <QFileInfo>
#include <QRegularExpression>

#include <optional>

namespace guimisc {

UserDialogScript* UserDialogs::s_script = nullptr;

namespace {

UserDialogs::UnansweredHandler unansweredHandler = nullptr;

// While a handler is set, a call that finds no script installed is answered by a script of
// its own for the length of the call, which tells the handler and cancels.
class StandInScript {
public:
    explicit StandInScript(const UserDialogScript* installed)
    {
        if (installed == nullptr && unansweredHandler != nullptr) {
            m_script.emplace();
            m_script->setFallback([handler = unansweredHandler](const UserDialogScript::Record& r) {
                handler(r.kind, r.title, r.text);
                return UserDialogScript::Answer();
            });
        }
    }

private:
    std::optional<UserDialogScript> m_script;
};

using Kind = UserDialogs::Kind;
using Record = UserDialogScript::Record;
using Answer = UserDialogScript::Answer;

using QtMessageBox = QMessageBox::StandardButton (*)(QWidget*, const QString&, const QString&,
                                                     QMessageBox::StandardButtons,
                                                     QMessageBox::StandardButton);

// A box that reports on a long operation shows while the operation's wait cursor is up (the
// application's override cursor, over every window): the user is to answer it, so it gets the
// arrow until it is answered, and the wait cursor comes back for the rest of the operation.
class ArrowWhileAsked {
public:
    ArrowWhileAsked() : m_busy(QApplication::overrideCursor() != nullptr)
    {
        if (m_busy) {
            QApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
        }
    }
    ~ArrowWhileAsked()
    {
        if (m_busy) {
            QApplication::restoreOverrideCursor();
        }
    }
    ArrowWhileAsked(const ArrowWhileAsked&) = delete;
    ArrowWhileAsked& operator=(const ArrowWhileAsked&) = delete;

private:
    bool m_busy;
};

// A message box of the given kind: answered by the script while one is installed, else shown
// by Qt's static function.
QMessageBox::StandardButton message(UserDialogScript* script, Kind kind, QtMessageBox show,
                                    QWidget* parent, const QString& title, const QString& text,
                                    QMessageBox::StandardButtons buttons,
                                    QMessageBox::StandardButton defaultButton)
{
    const ArrowWhileAsked arrow;
    if (script == nullptr) {
        return show(parent, title, text, buttons, defaultButton);
    }
    Record r;
    r.kind = kind;
    r.parent = parent;
    r.title = title;
    r.text = text;
    r.buttons = buttons;
    r.defaultButton = defaultButton;
    return script->respond(r).button;
}

// Qt's save dialog with a default suffix, except that a name typed without one that names an
// existing file (a device, say) is taken as it is: the user chose that file.
class SaveDialogWithSuffix : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

protected:
    void accept() override
    {
        const QString suffix = defaultSuffix();
        const QString chosen = selectedFiles().value(0);
        if (!suffix.isEmpty() && chosen.endsWith(QLatin1Char('.') + suffix)) {
            const QFileInfo typed(chosen.left(chosen.size() - suffix.size() - 1));
            if (typed.exists() && !typed.isDir()) {
                setDefaultSuffix(QString());
            }
        }
        QFileDialog::accept();
        setDefaultSuffix(suffix); // for the next try when the dialog stayed open
    }
};

// The chosen names of a scripted file dialog, with the selected filter filled in.
QStringList scriptedFiles(UserDialogScript* script, Kind kind, QWidget* parent,
                          const QString& caption, const QString& dir, const QString& filter,
                          QString* selectedFilter)
{
    Record r;
    r.kind = kind;
    r.parent = parent;
    r.title = caption;
    r.directory = dir;
    r.filter = filter;
    const Answer answer = script->respond(r);
    if (answer.sort != Answer::Sort::Files || answer.files.isEmpty()) {
        return {};
    }
    if (selectedFilter != nullptr) {
        if (!answer.filter.isEmpty()) {
            *selectedFilter = answer.filter;
        } else if (selectedFilter->isEmpty()) {
            *selectedFilter = filter.section(QStringLiteral(";;"), 0, 0);
        }
    }
    return answer.files;
}

QString firstOf(const QStringList& files)
{
    return files.isEmpty() ? QString() : files.first();
}

} // namespace

QMessageBox::StandardButton UserDialogs::information(QWidget* parent, const QString& title,
                                                     const QString& text,
                                                     QMessageBox::StandardButtons buttons,
                                                     QMessageBox::StandardButton defaultButton)
{
    const StandInScript standIn(s_script);
    return message(s_script, Kind::Information, &QMessageBox::information, parent, title, text,
                   buttons, defaultButton);
}

QMessageBox::StandardButton UserDialogs::warning(QWidget* parent, const QString& title,
                                                 const QString& text,
                                                 QMessageBox::StandardButtons buttons,
                                                 QMessageBox::StandardButton defaultButton)
{
    const StandInScript standIn(s_script);
    return message(s_script, Kind::Warning, &QMessageBox::warning, parent, title, text, buttons,
                   defaultButton);
}

QMessageBox::StandardButton UserDialogs::critical(QWidget* parent, const QString& title,
                                                  const QString& text,
                                                  QMessageBox::StandardButtons buttons,
                                                  QMessageBox::StandardButton defaultButton)
{
    const StandInScript standIn(s_script);
    return message(s_script, Kind::Critical, &QMessageBox::critical, parent, title, text, buttons,
                   defaultButton);
}

QMessageBox::StandardButton UserDialogs::question(QWidget* parent, const QString& title,
                                                  const QString& text,
                                                  QMessageBox::StandardButtons buttons,
                                                  QMessageBox::StandardButton defaultButton)
{
    const StandInScript standIn(s_script);
    return message(s_script, Kind::Question, &QMessageBox::question, parent, title, text, buttons,
                   defaultButton);
}

QString UserDialogs::getOpenFileName(QWidget* parent, const QString& caption, const QString& dir,
                                     const QString& filter, QString* selectedFilter,
                                     QFileDialog::Options options)
{
    const StandInScript standIn(s_script);
    if (s_script != nullptr) {
        return firstOf(scriptedFiles(s_script, Kind::OpenFileName, parent, caption, dir, filter,
                                     selectedFilter));
    }
    return QFileDialog::getOpenFileName(parent, caption, dir, filter, selectedFilter, options);
}

QStringList UserDialogs::getOpenFileNames(QWidget* parent, const QString& caption,
                                          const QString& dir, const QString& filter,
                                          QString* selectedFilter, QFileDialog::Options options)
{
    const StandInScript standIn(s_script);
    if (s_script != nullptr) {
        return scriptedFiles(s_script, Kind::OpenFileNames, parent, caption, dir, filter,
                             selectedFilter);
    }
    return QFileDialog::getOpenFileNames(parent, caption, dir, filter, selectedFilter, options);
}

QString UserDialogs::defaultSuffixOf(const QString& filter)
{
    if (filter.contains(QLatin1String(";;"))) {
        return QString();
    }
    // "Text (*.ext)" or a bare "*.ext".
    static const QRegularExpression onePattern(
        QStringLiteral(R"(^(?:[^(]*\(\s*)?\*\.([^*?\[\]\s().]+)\s*\)?\s*$)"));
    const QRegularExpressionMatch match = onePattern.match(filter.trimmed());
    return match.hasMatch() ? match.captured(1) : QString();
}

QString UserDialogs::getSaveFileName(QWidget* parent, const QString& caption, const QString& dir,
                                     const QString& filter, QString* selectedFilter,
                                     QFileDialog::Options options)
{
    const StandInScript standIn(s_script);
    const QString suffix = defaultSuffixOf(filter);
    if (s_script != nullptr) {
        QString name = firstOf(scriptedFiles(s_script, Kind::SaveFileName, parent, caption, dir,
                                             filter, selectedFilter));
        // What the dialog below does with its default suffix.
        const QFileInfo info(name);
        if (!name.isEmpty() && !suffix.isEmpty() && !info.fileName().contains(QLatin1Char('.'))
            && !info.exists()) {
            name += QLatin1Char('.') + suffix;
        }
        return name;
    }
    if (suffix.isEmpty()) {
        return QFileDialog::getSaveFileName(parent, caption, dir, filter, selectedFilter, options);
    }
    // QFileDialog::getSaveFileName with a default suffix, which the static function lacks.
    SaveDialogWithSuffix dialog(parent, caption, dir, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOptions(options);
    dialog.setDefaultSuffix(suffix);
    if (selectedFilter != nullptr && !selectedFilter->isEmpty()) {
        dialog.selectNameFilter(*selectedFilter);
    }
    if (dialog.exec() != QDialog::Accepted) {
        return QString();
    }
    if (selectedFilter != nullptr) {
        *selectedFilter = dialog.selectedNameFilter();
    }
    return dialog.selectedFiles().value(0);
}

QString UserDialogs::getExistingDirectory(QWidget* parent, const QString& caption,
                                          const QString& dir, QFileDialog::Options options)
{
    const StandInScript standIn(s_script);
    if (s_script != nullptr) {
        return firstOf(scriptedFiles(s_script, Kind::ExistingDirectory, parent, caption, dir,
                                     QString(), nullptr));
    }
    return QFileDialog::getExistingDirectory(parent, caption, dir, options);
}

QColor UserDialogs::getColor(const QColor& initial, QWidget* parent, const QString& title)
{
    const StandInScript standIn(s_script);
    if (s_script != nullptr) {
        Record r;
        r.kind = Kind::Color;
        r.parent = parent;
        r.title = title;
        r.initialColor = initial;
        const Answer answer = s_script->respond(r);
        return answer.sort == Answer::Sort::Color ? answer.color : QColor();
    }
    return QColorDialog::getColor(initial, parent, title);
}

UserDialogs::UnansweredHandler UserDialogs::setUnansweredHandler(UnansweredHandler handler)
{
    const UnansweredHandler previous = unansweredHandler;
    unansweredHandler = handler;
    return previous;
}

} // namespace guimisc
