#pragma once

#include "orlin/core/PointSet.h"

namespace tin::io {

/// Writer of the points of a point set to a file.
/// Implementations keep no state between calls beyond their constructor settings.
class PointSetExporter {
public:
    PointSetExporter() = default;
    virtual ~PointSetExporter() = default;

    virtual void exportPointSet(const char* path, tin::core::PointSet const& set) const = 0;
};

} // namespace tin::io
