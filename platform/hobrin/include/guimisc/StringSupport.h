#pragma once

#include <QString>
#include <QStringList>

#include <string>

namespace guimisc {

/// Conversions between Qt strings and the 8-bit strings of the libraries that take file
/// names as `std::string` (GDAL, shapelib, the TIN readers), and the fields of a line of
/// comma-separated text.
class StringSupport {
public:
    StringSupport() = delete;

    /// The text in the local 8-bit encoding (`QString::toLocal8Bit`; UTF-8 here).
    static std::string toStr(const QString& text);

    /// True when every character of the text is below 128 (an empty text is ASCII).
    static bool isAscii(const QString& text);

    /// True when the text holds a control character of ASCII: U+0000 to U+001F (line breaks
    /// and tabs among them) or U+007F. Text files and XML that other programs read must not
    /// carry them.
    static bool hasControlCharacter(const QString& text);

    /// The fields of one line of comma-separated text (the line without its line break),
    /// split at every comma outside double quotes. A double quote opens or closes a quoted
    /// stretch, which may hold commas; inside one, two double quotes stand for one. The
    /// enclosing quotes are dropped and blanks are kept as they are, so
    /// `a, "b,c" ,"x""y"` gives `a`, ` b,c `, `x"y`. A line with n commas outside quotes
    /// gives n + 1 fields (an empty line one empty field); a quote left open runs to the end
    /// of the line.
    static QStringList parseCSVLine(const QString& line);
};

} // namespace guimisc
