#pragma once

#include "common/exception/RuntimeException.h"

#include <string>

namespace common::exception {

/// Thrown when a file cannot be opened for reading or writing. what() reads
/// "Cannot open file: " followed by the path, so the user sees which file failed;
/// fileName() gives the path alone.
class FileOpenException : public RuntimeException {
public:
    explicit FileOpenException(const std::string& fileName);

    const std::string& fileName() const noexcept { return fileName_; }

private:
    std::string fileName_;
};

} // namespace common::exception
