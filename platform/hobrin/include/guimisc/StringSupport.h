#pragma once

#include <QString>

#include <string>

namespace guimisc {

/// Conversions between Qt strings and the 8-bit strings of the libraries that take file
/// names as `std::string` (GDAL, shapelib, the TIN readers).
class StringSupport {
public:
    StringSupport() = delete;

    /// The text in the local 8-bit encoding (`QString::toLocal8Bit`; UTF-8 here).
    static std::string toStr(const QString& text);

    /// True when every character of the text is below 128 (an empty text is ASCII).
    static bool isAscii(const QString& text);
};

} // namespace guimisc
