#pragma once

#include "orlin/io/PolylineImporterI.h"

namespace tin::io {

/// Reader of the binary polyline file (layout and failures: BinPoint2DListFile) into a
/// new polyline with the file's vertices in order, ids -1; the caller owns and deletes
/// it. A count of 0 or less gives a polyline without vertices.
class BinPolylineImporter : public PolylineImporterI {
public:
    tin::core::Polyline* importPolyline(const char* path) const override;
};

} // namespace tin::io
