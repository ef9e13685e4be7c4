#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

namespace guimisc::exception {

/// A run-time failure described by a Qt string (a file that could not be written, say),
/// which a user command catches and shows. `what()` gives the text in UTF-8.
class QStringRuntimeError : public std::exception {
public:
    explicit QStringRuntimeError(const QString& message);

    const QString& message() const { return m_message; }
    const char* what() const noexcept override;

private:
    QString m_message;
    QByteArray m_utf8;
};

} // namespace guimisc::exception
