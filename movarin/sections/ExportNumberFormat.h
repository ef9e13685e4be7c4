#pragma once

#include <QString>

namespace varnel {

/// How the exports write a real number: fixed notation with 3 decimals (1.5 as "1.500",
/// 1234567.8 as "1234567.800"), whatever the locale, and a value that rounds to zero without
/// a sign ("0.000", also for -0 and -0.0004). Rounding is to the nearest of the exact binary
/// value (`std::to_chars`). Where a format asks for it, `general` writes at most 6
/// significant digits instead, as a standard output stream does by default.
///
/// A number that is not finite, or whose text would not fit `MAX_CHARS`, throws
/// `common::exception::RuntimeException` naming the value: no export writes "nan" or "inf".
class ExportNumberFormat {
public:
    /// Room one number may take in a caller's buffer (a sign, 59 digits, the point and 3
    /// decimals): magnitudes up to 1e59.
    static constexpr int MAX_CHARS = 64;

    /// Writes the number at `out`, which must have `MAX_CHARS` bytes of room, and returns the
    /// end of what was written. No terminating zero.
    static char* appendFixed(char* out, double value);
    /// Writes the decimal integer at `out` (at most 11 bytes) and returns the end.
    static char* appendInt(char* out, int value);
    /// The number as text.
    static QString fixed(double value);
    /// The number in general notation with at most 6 significant digits, whatever the
    /// locale: 12.5 as "12.5", 1234.5678 as "1234.57", 0.79295 as "0.79295", 1234567.8 as
    /// "1.23457e+06" (what `printf("%g")` and a default `std::ostream` give), and -0 as "0".
    /// Refused as `fixed` refuses.
    static QString general(double value);
};

} // namespace varnel
