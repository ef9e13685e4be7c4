#pragma once

#include "orlin/core/Tin.h"
#include "orlin/io/TinExporterI.h"

#include <Poco/BinaryWriter.h>

#include <fstream>
#include <memory>

namespace tin::io {

/// Writer of the TIN archive (".tin"), a POSIX tar of three entries and the
/// end-of-archive block:
///   1. "meta.txt": the 37 bytes "This file is reserved for future use.";
///   2. "coordinatePoints.tpobin": a binary point block (BinPointContainerExporter) of
///      the n distinct vertices, count n;
///   3. "triangles.tribin": per triangle three int vertex indices (positions in entry 2),
///      in the order point(0), point(1), point(2).
/// The archive can be written into an open writer so that larger archives nest it as one
/// of their entries; size() gives its exact length in advance.
///
/// Side effect: writing renumbers the TIN's vertex objects 0..n-1 in the order of
/// entry 2 (setId); since copies of a TIN share their points, that reaches every TIN that
/// shares them. The order of vertices and triangles follows hash-set traversal and is
/// not promised. Cost: O(triangles), no hashing.
///
/// The exporter made from a TIN holds its own copy (sharing triangles and points); copies
/// of the exporter share that copy. The operations without a TIN argument throw
/// common::exception::RuntimeException on an exporter made without one.
class TinTinExporter : public TinExporterI {
public:
    static constexpr const char* META_NAME = "meta.txt";
    static constexpr const char* META_TEXT = "This file is reserved for future use.";
    static constexpr const char* POINTS_NAME = "coordinatePoints.tpobin";
    static constexpr const char* TRIANGLES_NAME = "triangles.tribin";

    TinTinExporter() = default;
    explicit TinTinExporter(tin::core::Tin const& tin);

    /// Writes a whole file through common::io::SafeFileWriter; throws
    /// common::exception::FileOpenException when the path cannot be opened and
    /// common::exception::RuntimeException when writing fails, both naming the path, and a
    /// failure leaves the earlier file untouched.
    void exportTin(const char* path, tin::core::Tin const& tin) const override;
    void exportTin(const char* path) const;

    /// Write the archive at the writer's (stream's) position; the stream stays open and
    /// its state is the caller's to test.
    void exportTin(Poco::BinaryWriter* writer, tin::core::Tin const& tin) const;
    void exportTin(Poco::BinaryWriter* writer) const;
    void exportTin(std::ofstream* stream, tin::core::Tin const& tin) const;
    void exportTin(std::ofstream* stream) const;

    /// Bytes that exportTin(writer) writes for the held TIN; renumbers nothing.
    unsigned long long size() const;
    /// The same for any TIN.
    static unsigned long long size(tin::core::Tin const& tin);

private:
    tin::core::Tin const& heldTin() const;
    /// The triangles entry's records: each triangle's corner numbers (set beforehand), in
    /// the set's order; large sets are collected piecewise on helper threads.
    static void writeTriangleIndices(Poco::BinaryWriter& writer, const tin::core::TriangleSet& triangles);

    std::shared_ptr<const tin::core::Tin> m_tin;
};

} // namespace tin::io
