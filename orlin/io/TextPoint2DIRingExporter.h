#pragma once

#include "orlin/core/Point2DIRing.h"

#include <memory>
#include <ostream>
#include <vector>

namespace tin::io {

/// Human-readable listing of 2-D point rings for inspection; nothing reads it back.
///
/// Per ring a heading line "Ring: " with the ring's number (none for a single ring or
/// index -1), then one line per distinct point (the closing repetition of the first point
/// is left out): two spaces and "x,y" (COORDINATES, `precision` significant digits,
/// locale-independent) or one space and the point's id (IDS); any other mode writes the
/// headings only. Every line of a block starts with the caller's prefix. Lines end with
/// '\n'. The operations that take a path keep their mode in the object; exportRing()
/// uses the mode the latest of them left.
///
/// Throws common::exception::FileOpenException when the path cannot be opened and
/// common::exception::RuntimeException when writing fails, both naming the path; the file is
/// written through common::io::SafeFileWriter, so a failure leaves the earlier file untouched.
class TextPoint2DIRingExporter {
public:
    enum Mode : int {
        COORDINATES = 0,
        IDS = 1,
    };

    static constexpr int DEFAULT_PRECISION = 10;

    TextPoint2DIRingExporter() = default;
    explicit TextPoint2DIRingExporter(int precision) : m_precision(precision) {}

    int precision() const { return m_precision; }
    Mode mode() const { return m_mode; }

    /// One ring, heading without a number.
    void exportPoint2DIRing(const char* path, tin::core::Point2DIRing const& ring, Mode mode) const;
    /// All rings in vector order, numbered from 1.
    void exportPoint2DIRings(const char* path, std::vector<std::shared_ptr<tin::core::Point2DIRing>> const& rings,
                             Mode mode) const;
    /// One ring's block on an open stream; index -1 writes no number.
    void exportRing(std::ostream* stream, const char* prefix, tin::core::Point2DIRing const& ring, int index) const;

private:
    int m_precision = DEFAULT_PRECISION;
    mutable Mode m_mode = COORDINATES;
};

} // namespace tin::io
