#pragma once

#include "orlin/core/Point2D.h"

#include <exception>
#include <string>
#include <vector>

namespace tin::io {

/// The file layout shared by the binary polygon and polyline files: an int vertex count,
/// then x and y of each vertex as doubles, little-endian; no header, no trailer, no
/// closing vertex, no elevations or ids. A polygon and a polyline with the same vertices
/// give identical files, and either reader accepts either file.
///
/// read() checks the count against the file's size: a file whose size is not
/// 4 + 16 * count bytes (4 for a count of 0 or less) throws
/// common::exception::InvalidFileFormatException("Invalid file size", path), a read error
/// common::exception::RuntimeException (see FileBytes), a NaN or infinite x or y
/// BinPointBlockReader::NOT_FINITE.
/// write() refuses such a vertex before it writes anything (NonFiniteValueException) and
/// throws common::exception::RuntimeException when writing fails; either leaves the earlier
/// file untouched (common::io::SafeFileWriter). Both throw
/// common::exception::FileOpenException for a path that cannot be opened.
///
/// write() leaves a regular file that holds exactly the bytes it would write as it is (it
/// reads the file back first, which costs far less than making a new file), so that saving
/// a project again touches only the geometry that changed.
class BinPoint2DListFile {
public:
    static void write(const char* path, const std::vector<tin::core::Point2D>& points);
    /// Vertices in file order, ids -1. Cost: one open and one read of the file.
    static std::vector<tin::core::Point2D> read(const char* path);

    /// What readMany() found at one path: the vertices, or `missing` when there is no entry
    /// of that name at all (a dangling link is one), or what read() threw.
    struct Read {
        std::vector<tin::core::Point2D> points;
        bool missing = false;
        std::exception_ptr failure;
    };
    /// read() of each path, in the order given; a long list is read side by side by the
    /// calling thread and the helper threads that tin::support::LaneThreads grants a batch
    /// (a project of 100,000 polylines has as many files). Throws nothing of its own.
    static std::vector<Read> readMany(const std::vector<std::string>& paths);
};

} // namespace tin::io
