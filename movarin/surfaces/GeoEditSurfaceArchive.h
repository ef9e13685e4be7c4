#pragma once

#include "orlin/core/Point.h"
#include "orlin/core/Tin.h"

#include <mold/core/Mold.h>

#include <string>
#include <vector>

namespace varnel {

/// The files in which GeoEdit surfaces keep their geometry inside the project: ".ges" for a
/// mold-and-path surface, ".geb" for a brush surface. Both are tar archives (each entry a
/// `common::file::TarHeaderBlock`, the content, NUL padding to the 512-byte record; the
/// end-of-archive blocks after the last entry), so `tar -tvf` lists them:
///
///     .ges  "meta.txt"             37 bytes, "This file is reserved for future use."
///           "path.tpobin"          binary point block of the path (64-byte header, int32
///                                  count n, then x, y, elevation as doubles): 68 + 24 n
///           "mold.mld"             the mold as `mold::io::MoldExporter` writes it
///           "tin.tin"              the surface TIN       } each a whole TIN archive of
///           "extendedtin.tin"      the extended TIN      } `tin::io::TinTinExporter`
///           "addedtin.tin"         the added triangles   }
///           "removedtin.tin"       the removed triangles }
///     .geb  "meta.txt", "addedtin.tin", "removedtin.tin" as above.
///
/// Numbers are little-endian. Entries are read by position: their names are not looked at.
///
/// Writing goes through `common::io::SafeFileWriter`: the archive is made beside the target
/// and renamed over it only when complete, and the stream is checked after every entry, so a
/// failed write (`common::exception::RuntimeException` or `FileOpenException`, naming the
/// path) leaves the earlier file as it was.
///
/// Reading checks every entry's size against the bytes left in the file before anything is
/// allocated, read or skipped, and reads everything before handing anything out: a file
/// that is truncated, claims more than it holds or whose entries do not parse raises
/// `common::exception::InvalidFileFormatException` naming the file (its name without the
/// folder); a file that cannot be opened raises `FileOpenException`.
///
/// Cost: linear in the file; TINs are read with the TIN archive reader (vertices interned
/// through the point factory).
class GeoEditSurfaceArchive {
public:
    /// What a ".ges" holds.
    struct MoldSurface {
        std::vector<tin::core::Point> path;
        mold::core::Mold mold;
        tin::core::Tin tin;
        tin::core::Tin extendedTin;
        tin::core::Tin addedTin;
        tin::core::Tin removedTin;
    };

    /// What a ".geb" holds.
    struct BrushSurface {
        tin::core::Tin addedTin;
        tin::core::Tin removedTin;
    };

    static void writeMoldSurface(const std::string& filename, const std::vector<tin::core::Point>& path,
                                 const mold::core::Mold& mold, const tin::core::Tin& tin,
                                 const tin::core::Tin& extendedTin, const tin::core::Tin& addedTin,
                                 const tin::core::Tin& removedTin);
    static MoldSurface readMoldSurface(const std::string& filename);

    static void writeBrushSurface(const std::string& filename, const tin::core::Tin& addedTin,
                                  const tin::core::Tin& removedTin);
    static BrushSurface readBrushSurface(const std::string& filename);
};

} // namespace varnel
