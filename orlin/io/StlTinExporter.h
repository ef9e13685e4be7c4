#pragma once

#include "orlin/core/Tin.h"
#include "orlin/io/StlType.h"
#include "orlin/io/TinExporterI.h"

namespace tin::io {

/// Writer of a TIN as an STL surface for other programs: every triangle one facet,
/// turned so that its normal points upwards (see StlFacet). Facet order follows the TIN's
/// traversal order and is not promised.
///
/// Binary (the default, and every type but STL_ASCII), little-endian: 80-byte header
/// "TIN exported by tin::io::StlTinExporter" padded with NUL, the facet count as unsigned
/// int, then per facet normal and three vertices as 32-bit floats and two zero bytes:
/// 84 + 50 n bytes. Coordinates are narrowed to float: a caller with large map
/// coordinates should shift them first.
///
/// ASCII (STL_ASCII): "solid TIN exported by tin::io::StlTinExporter", per facet
/// "facet normal nx ny nz", "outer loop", three "vertex x y z", "endloop", "endfacet",
/// then "endsolid TIN exported by tin::io::StlTinExporter"; numbers with 10 significant
/// digits, independent of the process locale; lines end with '\n'.
///
/// Throws common::exception::FileOpenException when the path cannot be opened and
/// common::exception::RuntimeException when writing fails, both naming the path; the file is
/// written through common::io::SafeFileWriter, so a failure leaves the earlier file untouched.
class StlTinExporter : public TinExporterI {
public:
    static constexpr const char* TITLE = "TIN exported by tin::io::StlTinExporter";

    StlTinExporter() = default;
    explicit StlTinExporter(StlType type) : m_type(type) {}

    StlType type() const { return m_type; }

    void exportTin(const char* path, tin::core::Tin const& tin) const override;

private:
    void exportAscii(const char* path, tin::core::Tin const& tin) const;
    void exportBinary(const char* path, tin::core::Tin const& tin) const;

    StlType m_type = STL_BINARY;
};

} // namespace tin::io
