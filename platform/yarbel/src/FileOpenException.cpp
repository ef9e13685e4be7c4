#include "common/exception/FileOpenException.h"

namespace common::exception {

FileOpenException::FileOpenException(const std::string& fileName)
    : RuntimeException("Cannot open file: " + fileName), fileName_(fileName) {}

} // namespace common::exception
