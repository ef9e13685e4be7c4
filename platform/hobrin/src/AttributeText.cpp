#include "AttributeText.h"

#include <QLocale>

#include <cmath>

namespace guimisc::xml::detail {

QString doubleToText(double value)
{
    // Shortest round-trip form; QString::number always uses the C locale. It drops the sign
    // of a negative zero, which would not read back bit for bit.
    if (value == 0.0 && std::signbit(value)) {
        return QStringLiteral("-0");
    }
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

bool textToDouble(const QString& text, double* value)
{
    bool ok = false;
    // QString::toDouble reads the C locale and takes no group separators, so "1,5" fails.
    const double parsed = text.trimmed().toDouble(&ok);
    if (ok) {
        *value = parsed;
    }
    return ok;
}

bool textToInt(const QString& text, int* value)
{
    bool ok = false;
    const int parsed = text.trimmed().toInt(&ok, 10);
    if (ok) {
        *value = parsed;
    }
    return ok;
}

QString booleanToText(bool value)
{
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

bool textToBoolean(const QString& text, bool* value)
{
    const QString t = text.trimmed();
    if (t == QLatin1String("true") || t == QLatin1String("1")) {
        *value = true;
        return true;
    }
    if (t == QLatin1String("false") || t == QLatin1String("0")) {
        *value = false;
        return true;
    }
    return false;
}

} // namespace guimisc::xml::detail
