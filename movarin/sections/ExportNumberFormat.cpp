#include "movarin/sections/ExportNumberFormat.h"

#include <common/exception/RuntimeException.h>

#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace varnel {

namespace {

constexpr int DECIMALS = 3;
constexpr int SIGNIFICANT_DIGITS = 6;

[[noreturn]] void refuse(double value)
{
    throw common::exception::RuntimeException("Number cannot be written: " + std::to_string(value));
}

} // namespace

char* ExportNumberFormat::appendFixed(char* out, double value)
{
    if (!std::isfinite(value)) {
        refuse(value);
    }
    const std::to_chars_result result =
        std::to_chars(out, out + MAX_CHARS, value, std::chars_format::fixed, DECIMALS);
    if (result.ec != std::errc()) {
        refuse(value);
    }
    // "-0.000": drop the sign of a value that rounds to zero.
    if (*out == '-') {
        bool zero = true;
        for (const char* c = out + 1; c != result.ptr && zero; ++c) {
            zero = *c == '0' || *c == '.';
        }
        if (zero) {
            std::char_traits<char>::move(out, out + 1,
                                         static_cast<std::size_t>(result.ptr - out - 1));
            return result.ptr - 1;
        }
    }
    return result.ptr;
}

char* ExportNumberFormat::appendInt(char* out, int value)
{
    return std::to_chars(out, out + 11, value).ptr;
}

QString ExportNumberFormat::fixed(double value)
{
    char text[MAX_CHARS];
    const char* end = appendFixed(text, value);
    return QString::fromLatin1(text, static_cast<int>(end - text));
}

QString ExportNumberFormat::general(double value)
{
    if (!std::isfinite(value)) {
        refuse(value);
    }
    // As for fixed numbers, a zero carries no sign: -0.0 + 0.0 is +0.0.
    const double unsignedZero = value + 0.0;
    char text[MAX_CHARS];
    const std::to_chars_result result = std::to_chars(
        text, text + MAX_CHARS, unsignedZero, std::chars_format::general, SIGNIFICANT_DIGITS);
    if (result.ec != std::errc()) {
        refuse(value);
    }
    return QString::fromLatin1(text, static_cast<int>(result.ptr - text));
}

} // namespace varnel
