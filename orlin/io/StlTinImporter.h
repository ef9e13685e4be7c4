#pragma once

#include "orlin/core/Tin.h"
#include "orlin/io/StlType.h"
#include "orlin/io/TinImporterI.h"

namespace tin::io {

/// Reader of STL surfaces, ASCII or binary, into a TIN. Each vertex becomes a
/// tin::core::Point interned by the point factory, so vertices that facets share in the
/// file (and vertices of TINs already in memory at the same position) are one shared
/// point. Facets whose vertices coincide are dropped (Tin::addTriangle refuses them).
///
/// Form: STL_DETECT (the default) decides from the file: it is ASCII when line 1, trimmed,
/// begins with "solid" and line 2, trimmed, begins with "facet normal" or "endsolid", unless
/// the file's size is exactly 84 + 50 n for the facet count n stored at byte 80 (a binary
/// file whose header happens to begin with "solid"); otherwise it is binary.
///
/// ASCII: line 1, trimmed, begins with "solid"; facets of "facet normal ...", "outer
/// loop", three "vertex x y z" (separated by spaces or tabs, numbers locale-independent),
/// "endloop", "endfacet", compared after trimming and without regard to case; blank lines
/// between facets are skipped; reading ends at a line beginning with "endsolid" or at the
/// end of the file. Normals are not
/// read. Binary: 80-byte header (not read), unsigned facet count, 50 bytes per facet
/// (normal not read, three float vertices, two attribute bytes not read); fewer than 50
/// bytes after the last record (a stray line end some writers add) are ignored.
///
/// Failures throw common::exception::InvalidFileFormatException with the path: ASCII
/// keyword + " not found" ("solid", "facet normal", "outer loop", "vertex", "endloop",
/// "endfacet") or "Wrong vertex definition" (not 4 tokens, or a coordinate that is not a
/// finite number), each with the line number; binary "Invalid file size" (not 84 + 50 n
/// bytes, up to that remainder), "Invalid file format" (read error) or
/// BinPointBlockReader::NOT_FINITE (a NaN or infinite corner coordinate). A path that cannot
/// be opened throws common::exception::FileOpenException.
/// Cost: one look-up per vertex in a flat table of the distinct vertices, one bulk factory
/// request for them all (PointFactory::factoryAll), one Tin::addTriangle per facet; until
/// then the facets are kept as vertex numbers (12 bytes a facet, 24 a distinct vertex).
/// A binary file of 16384 facets or more, in a process that may run on more than one
/// processor, is read, decoded and numbered on a second thread while the calling thread
/// interns the vertices numbered so far; that thread makes no point, uses no factory and
/// ends before importTin() returns or throws. The coordinates and points then reserve
/// address space for every corner (120 bytes a facet), of which only the pages used are
/// touched.
class StlTinImporter : public TinImporterI {
public:
    StlTinImporter() = default;
    explicit StlTinImporter(StlType type) : m_type(type) {}

    StlType type() const { return m_type; }

    tin::core::Tin importTin(const char* path) const override;

private:
    StlType m_type = STL_DETECT;
};

} // namespace tin::io
