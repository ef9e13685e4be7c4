#include "guimisc/exception/QStringRuntimeError.h"

namespace guimisc::exception {

QStringRuntimeError::QStringRuntimeError(const QString& message)
    : m_message(message), m_utf8(message.toUtf8())
{
}

const char* QStringRuntimeError::what() const noexcept
{
    return m_utf8.constData();
}

} // namespace guimisc::exception
