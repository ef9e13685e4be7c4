#include "common/exception/RuntimeException.h"

namespace common::exception {

RuntimeException::RuntimeException(const std::string& message) : std::runtime_error(message) {}

RuntimeException::RuntimeException(const char* message) : std::runtime_error(message) {}

} // namespace common::exception
