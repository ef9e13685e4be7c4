#pragma once

#include <QString>

namespace guimisc::xml::detail {

// The text forms of typed attributes, shared by XmlSupport and the containers.
QString doubleToText(double value);
bool textToDouble(const QString& text, double* value);
bool textToInt(const QString& text, int* value);
QString booleanToText(bool value);
bool textToBoolean(const QString& text, bool* value);

} // namespace guimisc::xml::detail
