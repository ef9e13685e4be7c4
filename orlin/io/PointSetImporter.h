#pragma once

#include "orlin/core/PointSet.h"

namespace tin::io {

/// Reader of survey points from a file into a new point set (points interned through the point factory); throws common::exception::InvalidFileFormatException on malformed content, so a caller may retry the file with another reader.
/// Implementations keep no state between calls beyond their constructor settings.
class PointSetImporter {
public:
    PointSetImporter() = default;
    virtual ~PointSetImporter() = default;

    virtual tin::core::PointSet importPointSet(const char* path) const = 0;
};

} // namespace tin::io
