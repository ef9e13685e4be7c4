#pragma once

#include "orlin/core/Tin.h"

namespace tin::io {

/// Reader of a whole TIN from a file; throws common::exception::InvalidFileFormatException on malformed content.
/// Implementations keep no state between calls beyond their constructor settings.
class TinImporterI {
public:
    TinImporterI() = default;
    virtual ~TinImporterI() = default;

    virtual tin::core::Tin importTin(const char* path) const = 0;
};

} // namespace tin::io
