#include "guimisc/StringSupport.h"

#include <algorithm>

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

bool StringSupport::hasControlCharacter(const QString& text)
{
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; });
}

QStringList StringSupport::parseCSVLine(const QString& line)
{
    const QChar quote = QLatin1Char('"');
    const QChar comma = QLatin1Char(',');
    QStringList fields;
    QString field;
    bool quoted = false;
    for (int i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (c == quote) {
            if (quoted && i + 1 < line.size() && line.at(i + 1) == quote) {
                field += quote;
                ++i;
            } else {
                quoted = !quoted;
            }
        } else if (c == comma && !quoted) {
            fields << field;
            field.clear();
        } else {
            field += c;
        }
    }
    fields << field;
    return fields;
}

} // namespace guimisc
