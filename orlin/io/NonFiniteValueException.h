#pragma once

#include "common/exception/RuntimeException.h"

namespace tin::io {

/// Thrown by the binary writers (the point block, and with it the TIN archive, and the 2-D
/// vertex list of polygons and polylines) for a coordinate or elevation that is NaN or
/// infinite: their readers refuse such a value, so a file holding one could never be read
/// back. A writer that takes a path leaves the earlier file there as it was. The message is
/// MESSAGE; callers that name what was being saved catch this class.
class NonFiniteValueException : public common::exception::RuntimeException {
public:
    static constexpr const char* MESSAGE = "Cannot write a coordinate that is not a finite number";

    NonFiniteValueException() : RuntimeException(MESSAGE) {}
};

} // namespace tin::io
