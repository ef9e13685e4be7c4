#include "guimisc/UserDialogs.h"

#include "guimisc/UserDialogScript.h"

#include <QColorDialog>

namespace guimisc {

UserDialogScript* UserDialogs::s_script = nullptr;

namespace {

using Kind = UserDialogs::Kind;
using Record = UserDialogScript::Record;
using Answer = UserDialogScript::Answer;

Record messageRecord(Kind kind, QWidget* parent, const QString& title, const QString& text,
                     QMessageBox::StandardButtons buttons,
                     QMessageBox::StandardButton defaultButton)
{
    Record r;
    r.kind = kind;
    r.parent = parent;
    r.title = title;
    r.text = text;
    r.buttons = buttons;
    r.defaultButton = defaultButton;
    return r;
}

Record fileRecord(Kind kind, QWidget* parent, const QString& caption, const QString& dir,
                  const QString& filter)
{
    Record r;
    r.kind = kind;
    r.parent = parent;
    r.title = caption;
    r.directory = dir;
    r.filter = filter;
    return r;
}

QMessageBox::StandardButton scriptedButton(UserDialogScript* script, const Record& record)
{
    return script->respond(record).button;
}

// The chosen names of a scripted file dialog, with the selected filter filled in.
QStringList scriptedFiles(UserDialogScript* script, const Record& record,
                          QString* selectedFilter)
{
    const Answer answer = script->respond(record);
    if (answer.sort != Answer::Sort::Files || answer.files.isEmpty()) {
        return {};
    }
    if (selectedFilter != nullptr) {
        if (!answer.filter.isEmpty()) {
            *selectedFilter = answer.filter;
        } else if (selectedFilter->isEmpty()) {
            *selectedFilter = record.filter.section(QStringLiteral(";;"), 0, 0);
        }
    }
    return answer.files;
}

} // namespace

QMessageBox::StandardButton UserDialogs::information(QWidget* parent, const QString& title,
                                                     const QString& text,
                                                     QMessageBox::StandardButtons buttons,
                                                     QMessageBox::StandardButton defaultButton)
{
    if (s_script != nullptr) {
        return scriptedButton(
            s_script, messageRecord(Kind::Information, parent, title, text, buttons, defaultButton));
    }
    return QMessageBox::information(parent, title, text, buttons, defaultButton);
}

QMessageBox::StandardButton UserDialogs::warning(QWidget* parent, const QString& title,
                                                 const QString& text,
                                                 QMessageBox::StandardButtons buttons,
                                                 QMessageBox::StandardButton defaultButton)
{
    if (s_script != nullptr) {
        return scriptedButton(
            s_script, messageRecord(Kind::Warning, parent, title, text, buttons, defaultButton));
    }
    return QMessageBox::warning(parent, title, text, buttons, defaultButton);
}

QMessageBox::StandardButton UserDialogs::critical(QWidget* parent, const QString& title,
                                                  const QString& text,
                                                  QMessageBox::StandardButtons buttons,
                                                  QMessageBox::StandardButton defaultButton)
{
    if (s_script != nullptr) {
        return scriptedButton(
            s_script, messageRecord(Kind::Critical, parent, title, text, buttons, defaultButton));
    }
    return QMessageBox::critical(parent, title, text, buttons, defaultButton);
}

QMessageBox::StandardButton UserDialogs::question(QWidget* parent, const QString& title,
                                                  const QString& text,
                                                  QMessageBox::StandardButtons buttons,
                                                  QMessageBox::StandardButton defaultButton)
{
    if (s_script != nullptr) {
        return scriptedButton(
            s_script, messageRecord(Kind::Question, parent, title, text, buttons, defaultButton));
    }
    return QMessageBox::question(parent, title, text, buttons, defaultButton);
}

QString UserDialogs::getOpenFileName(QWidget* parent, const QString& caption, const QString& dir,
                                     const QString& filter, QString* selectedFilter,
                                     QFileDialog::Options options)
{
    if (s_script != nullptr) {
        const QStringList files = scriptedFiles(
            s_script, fileRecord(Kind::OpenFileName, parent, caption, dir, filter), selectedFilter);
        return files.isEmpty() ? QString() : files.first();
    }
    return QFileDialog::getOpenFileName(parent, caption, dir, filter, selectedFilter, options);
}

QStringList UserDialogs::getOpenFileNames(QWidget* parent, const QString& caption,
                                          const QString& dir, const QString& filter,
                                          QString* selectedFilter, QFileDialog::Options options)
{
    if (s_script != nullptr) {
        return scriptedFiles(s_script,
                             fileRecord(Kind::OpenFileNames, parent, caption, dir, filter),
                             selectedFilter);
    }
    return QFileDialog::getOpenFileNames(parent, caption, dir, filter, selectedFilter, options);
}

QString UserDialogs::getSaveFileName(QWidget* parent, const QString& caption, const QString& dir,
                                     const QString& filter, QString* selectedFilter,
                                     QFileDialog::Options options)
{
    if (s_script != nullptr) {
        const QStringList files = scriptedFiles(
            s_script, fileRecord(Kind::SaveFileName, parent, caption, dir, filter), selectedFilter);
        return files.isEmpty() ? QString() : files.first();
    }
    return QFileDialog::getSaveFileName(parent, caption, dir, filter, selectedFilter, options);
}

QString UserDialogs::getExistingDirectory(QWidget* parent, const QString& caption,
                                          const QString& dir, QFileDialog::Options options)
{
    if (s_script != nullptr) {
        const QStringList files = scriptedFiles(
            s_script, fileRecord(Kind::ExistingDirectory, parent, caption, dir, QString()), nullptr);
        return files.isEmpty() ? QString() : files.first();
    }
    return QFileDialog::getExistingDirectory(parent, caption, dir, options);
}

QColor UserDialogs::getColor(const QColor& initial, QWidget* parent, const QString& title)
{
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

} // namespace guimisc
