#pragma once

#include "orlin/core/Tin.h"
#include "orlin/io/TinImporterI.h"

#include <Poco/BinaryReader.h>

namespace tin::io {

/// Reader of the TIN archive written by TinTinExporter. Entries are read by position:
/// names, the meta text and the padding are not checked. Vertices are interned through
/// the point factory exactly (PointFactory::factoryAllExact: a TIN read back shares vertex
/// objects with the TINs in memory wherever the values are the very same, and gives back
/// every value bit for bit as it was written); their ids are left as they were.
///
/// Failures (the partly built TIN is dropped):
/// - common::exception::InvalidFileFormatException: a damaged entry header or end of
///   archive; the points entry's "Invalid file size" / "Invalid file format" with file
///   name "loading points of Tin"; "Invalide file format (in readTrianglesContent)" when
///   the triangle indices cannot be read; "Invalid file size" from the sized import when
///   the archive's length differs from the size given; BinPointBlockReader::NOT_FINITE for
///   a NaN or infinite coordinate or elevation; BAD_INDEX when a triangle index is not a
///   position of the points entry. Read from a path, every one of them carries the path as
///   its file name instead.
/// A path that cannot be opened throws common::exception::FileOpenException.
/// Cost: one bulk factory request for the vertices and one batch addition
/// (Tin::addTriangles) for all triangles, after the whole entry has been read and checked;
/// the coordinates and indices are held meanwhile (36 bytes per vertex and triangle pair).
class TinTinImporter : public TinImporterI {
public:
    static constexpr const char* POINTS_CONTEXT = "loading points of Tin";
    static constexpr const char* BAD_INDEX = "Invalid triangle index: no such point";

    /// Reads one archive from the start of the file; bytes after it are not looked at.
    tin::core::Tin importTin(const char* path) const override;
    /// Reads one archive at the reader's position.
    tin::core::Tin importTin(Poco::BinaryReader* reader) const;
    /// Reads one archive at the reader's position and checks that it took exactly `size`
    /// bytes (for archives nested as an entry of a larger archive).
    tin::core::Tin importTin(Poco::BinaryReader* reader, unsigned long long size) const;
};

} // namespace tin::io
