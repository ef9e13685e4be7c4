#pragma once

#include "GmlGridCoverage.h"

#include <optional>
#include <string>

class QString;

namespace tingml::io {

/// Streaming reader of the elevation grid of one JPGIS GML file (QXmlStreamReader, one pass,
/// no DOM; UTF-8 with or without a byte-order mark, LF or CRLF).
///
/// It takes gml:Envelope (lowerCorner and upperCorner, "latitude longitude" in degrees; the last
/// envelope before the grid counts), gml:GridEnvelope (low and high, "column row"), the
/// gml:tupleList lines "kind,elevation", gml:sequenceRule (order "+x-y" and rule "Linear" only)
/// and gml:startPoint ("column row", the low corner when absent); the tuple list may come before
/// the start point. A tuple whose kind is "データなし" or whose elevation is -9999 is kept as NaN.
/// A list that ends early leaves the remaining cells without data.
///
/// A file with none of the grid's elements (other JPGIS content) gives nothing. Every other
/// fault throws common::exception::InvalidFileFormatException naming `name` and the line: a
/// file that does not open, malformed XML, a document type declaration (no DTD or entity is
/// resolved), a missing element, a value that is not a number, an empty or upside-down
/// envelope or grid, a start point outside the grid, another sequence order, more tuples than
/// cells from the start point, a second grid.
/// Cost: O(file size); the tuples' elevations are held (8 bytes each), nothing else.
class GmlGridReader {
public:
    static std::optional<GmlGridCoverage> read(const QString& path, const std::string& name);
};

} // namespace tingml::io
