#include "guimisc/UserDialogScript.h"

namespace guimisc {

namespace {

using Answer = UserDialogScript::Answer;
using Record = UserDialogScript::Record;

// The button Escape presses in a box with these buttons.
QMessageBox::StandardButton escapeButton(QMessageBox::StandardButtons buttons)
{
    if (buttons == QMessageBox::NoButton) {
        return QMessageBox::Ok; // Qt shows Ok when no button is asked for
    }
    for (auto b : {QMessageBox::Cancel, QMessageBox::No}) {
        if (buttons.testFlag(b)) {
            return b;
        }
    }
    const auto bits = static_cast<unsigned>(buttons);
    if ((bits & (bits - 1)) == 0) {
        return static_cast<QMessageBox::StandardButton>(bits);
    }
    return QMessageBox::NoButton;
}

Answer standardFallback(const Record& record)
{
    Answer answer;
    if (!record.isMessageBox()) {
        return answer; // cancel
    }
    answer.sort = Answer::Sort::Button;
    if (record.defaultButton != QMessageBox::NoButton) {
        answer.button = record.defaultButton;
    } else if (record.buttons == QMessageBox::NoButton) {
        answer.button = QMessageBox::Ok;
    } else {
        // Qt's buttons are bits ordered Ok, Save, SaveAll, Open, Yes, ..., No, ..., Cancel:
        // the lowest bit set is the accepting one.
        const auto bits = static_cast<unsigned>(record.buttons);
        answer.button = static_cast<QMessageBox::StandardButton>(bits & (~bits + 1));
    }
    return answer;
}

bool fits(const Answer& answer, const Record& record)
{
    switch (answer.sort) {
    case Answer::Sort::Cancel:
        return true;
    case Answer::Sort::Button:
        return record.isMessageBox();
    case Answer::Sort::Color:
        return record.kind == UserDialogs::Kind::Color;
    case Answer::Sort::Files:
        return !record.isMessageBox() && record.kind != UserDialogs::Kind::Color;
    }
    return false;
}

} // namespace

bool UserDialogScript::Record::isMessageBox() const
{
    return kind == UserDialogs::Kind::Information || kind == UserDialogs::Kind::Warning
           || kind == UserDialogs::Kind::Critical || kind == UserDialogs::Kind::Question;
}

UserDialogScript::UserDialogScript()
    : m_previous(UserDialogs::s_script), m_fallback(standardFallback)
{
    UserDialogs::s_script = this;
}

UserDialogScript::~UserDialogScript()
{
    UserDialogs::s_script = m_previous;
}

UserDialogScript& UserDialogScript::answer(QMessageBox::StandardButton button)
{
    Answer a;
    a.sort = Answer::Sort::Button;
    a.button = button;
    m_queue.push_back([a](const Record&) { return a; });
    return *this;
}

UserDialogScript& UserDialogScript::answerFile(const QString& fileName, const QString& filter)
{
    return answerFiles(QStringList{fileName}, filter);
}

UserDialogScript& UserDialogScript::answerFiles(const QStringList& fileNames,
                                                const QString& filter)
{
    Answer a;
    a.sort = Answer::Sort::Files;
    a.files = fileNames;
    a.filter = filter;
    m_queue.push_back([a](const Record&) { return a; });
    return *this;
}

UserDialogScript& UserDialogScript::answerDirectory(const QString& folder)
{
    return answerFiles(QStringList{folder});
}

UserDialogScript& UserDialogScript::answerColor(const QColor& color)
{
    Answer a;
    a.sort = Answer::Sort::Color;
    a.color = color;
    m_queue.push_back([a](const Record&) { return a; });
    return *this;
}

UserDialogScript& UserDialogScript::answerCancel()
{
    m_queue.push_back([](const Record&) { return Answer(); });
    return *this;
}

UserDialogScript& UserDialogScript::answerBy(std::function<Answer(const Record&)> decide)
{
    m_queue.push_back(std::move(decide));
    return *this;
}

void UserDialogScript::setFallback(std::function<Answer(const Record&)> decide)
{
    m_fallback = decide ? std::move(decide) : std::function<Answer(const Record&)>(standardFallback);
}

std::vector<UserDialogScript::Record> UserDialogScript::messageBoxes() const
{
    std::vector<Record> boxes;
    for (const Record& r : m_records) {
        if (r.isMessageBox()) {
            boxes.push_back(r);
        }
    }
    return boxes;
}

UserDialogScript::Answer UserDialogScript::respond(const Record& record)
{
    Record logged = record;
    Answer answer;
    bool scripted = false;
    if (!m_queue.empty()) {
        const auto decide = std::move(m_queue.front());
        m_queue.pop_front();
        answer = decide(record);
        scripted = fits(answer, record);
    }
    if (!scripted) {
        answer = m_fallback(record);
    }
    if (answer.sort == Answer::Sort::Cancel && record.isMessageBox()) {
        answer.sort = Answer::Sort::Button;
        answer.button = escapeButton(record.buttons);
    }
    logged.scripted = scripted;
    m_records.push_back(logged);
    return answer;
}

} // namespace guimisc
