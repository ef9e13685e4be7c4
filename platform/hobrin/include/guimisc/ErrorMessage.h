#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

namespace guimisc {

/// A failure whose text is meant for the user as it stands: the main window shows
/// `message()` in a message box (for example when a project file cannot be read).
/// `what()` gives the same text in UTF-8, so a catch of `std::exception` reports it too.
/// Thrown and caught by value or const reference; copying copies the text.
class ErrorMessage : public std::exception {
public:
    explicit ErrorMessage(const QString& message);

    const QString& message() const { return m_message; }
    const char* what() const noexcept override;

private:
    QString m_message;
    QByteArray m_utf8;
};

} // namespace guimisc
