#include "orlin/core/MagnitudeRelationException.h"

namespace common::exception {

// Defined out of line so that the class's type information lives in this library and a
// throw from one library is caught by type in another.
MagnitudeRelationException::MagnitudeRelationException(const MagnitudeRelationException& other) =
    default;

MagnitudeRelationException&
MagnitudeRelationException::operator=(const MagnitudeRelationException& other) = default;

MagnitudeRelationException::~MagnitudeRelationException() = default;

} // namespace common::exception
