#pragma once

#include "orlin/core/PointSet.h"
#include "orlin/io/PointSetImporter.h"

namespace tin::io {

/// Reader of point text files: the system's own ".tpo" and text from other sources
/// with a few header lines before the points.
///
/// Lines end with '\n' or "\r\n". A line is split on any mix of ',', tab and space;
/// empty tokens are dropped and white space is trimmed. A line of exactly three tokens
/// that each parse completely as a finite decimal number (locale-independent; '.' is the
/// decimal separator) is a point x, y, elevation: it is added with PointSet::addPoint
/// (interned through the point factory) and its shared point gets the number of point
/// lines before it as id (two lines with the same point give one point, which keeps the
/// later id).
///
/// Before the first point every other line is a header and skipped ("x y z",
/// "X,Y,Z", titles, blank lines). After it, a line that is not a point throws
/// common::exception::InvalidFileFormatException("Invalid file format", path, line),
/// except a line that is not three tokens and is followed by nothing but white space
/// (a blank or closing last line). A file without point lines gives an empty set. A
/// path that cannot be opened throws common::exception::FileOpenException, a read error
/// common::exception::RuntimeException.
/// Cost: the file is read whole into memory and parsed in one pass (white space and
/// separators around "x,y,z" need no token copies) into one array of numbers (24 bytes a
/// line), whose points are interned in bulk factory requests (PointFactory::factoryAll).
/// A file of 262144 lines or more, in a process that may run on more than one processor,
/// is parsed on a second thread while the calling thread interns the points of the lines
/// parsed so far (see ReadAheadThread); the points made before a format error die with
/// the exception.
class TpoPointSetImporter : public PointSetImporter {
public:
    tin::core::PointSet importPointSet(const char* path) const override;
};

} // namespace tin::io
