#include "guimisc/ErrorMessage.h"

namespace guimisc {

ErrorMessage::ErrorMessage(const QString& message) : m_message(message), m_utf8(message.toUtf8()) {}

const char* ErrorMessage::what() const noexcept
{
    return m_utf8.constData();
}

} // namespace guimisc
