#pragma once

#include "orlin/core/Tin.h"
#include "orlin/io/TinExporterI.h"

namespace tin::io {

/// Human-readable listing of a TIN's triangles for inspection; nothing reads it back.
///
/// Per triangle, counted from 1 in the TIN's traversal order (not promised): a line
/// "Triangle k", then one line per point 0, 1, 2: two spaces and "x,y,elevation"
/// (COORDINATES, with `precision` significant digits, locale-independent) or two spaces
/// and the point's id (IDS); any other mode writes the heading lines only. Lines end with
/// '\n'. The latest export's mode is kept in the object.
///
/// Throws common::exception::FileOpenException when the path cannot be opened and
/// common::exception::RuntimeException when writing fails, both naming the path; the file is
/// written through common::io::SafeFileWriter, so a failure leaves the earlier file untouched.
class TextTinExporter : public TinExporterI {
public:
    enum Mode : int {
        COORDINATES = 0,
        IDS = 1,
    };

    static constexpr int DEFAULT_PRECISION = 10;

    TextTinExporter() = default;
    explicit TextTinExporter(int precision) : m_precision(precision) {}

    int precision() const { return m_precision; }
    /// The mode of the latest export (COORDINATES before any).
    Mode mode() const { return m_mode; }

    /// Lists the vertices as coordinates.
    void exportTin(const char* path, tin::core::Tin const& tin) const override;
    void exportTin(const char* path, tin::core::Tin const& tin, Mode mode) const;

private:
    int m_precision = DEFAULT_PRECISION;
    mutable Mode m_mode = COORDINATES;
};

} // namespace tin::io
