#include "guimisc/StringSupport.h"

namespace guimisc {

std::string StringSupport::toStr(const QString& text)
{
    return text.toLocal8Bit().toStdString();
}

bool StringSupport::isAscii(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 128) {
            return false;
        }
    }
    return true;
}

} // namespace guimisc
