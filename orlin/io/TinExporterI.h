#pragma once

#include "orlin/core/Tin.h"

namespace tin::io {

/// Writer of a whole TIN to a file; the format is chosen by choosing the class.
/// Implementations keep no state between calls beyond their constructor settings.
class TinExporterI {
public:
    TinExporterI() = default;
    virtual ~TinExporterI() = default;

    virtual void exportTin(const char* path, tin::core::Tin const& tin) const = 0;
};

} // namespace tin::io
