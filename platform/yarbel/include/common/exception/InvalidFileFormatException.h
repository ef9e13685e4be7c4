#pragma once

#include "common/exception/RuntimeException.h"

#include <string>

namespace common::exception {

/// Thrown by readers when a file's content does not follow its format.
///
/// The message, the file name and the line are kept apart so that callers and tests can
/// compare each exactly. what() is the message, then ": " and the file name when one was
/// given, then " (line N)" when a line was given, e.g.
/// "Invalid file format: river.tpo (line 12)".
class InvalidFileFormatException : public RuntimeException {
public:
    explicit InvalidFileFormatException(const std::string& message);
    InvalidFileFormatException(const std::string& message, const std::string& fileName);
    InvalidFileFormatException(const std::string& message, int line);
    InvalidFileFormatException(const std::string& message, const std::string& fileName, int line);

    /// The message without file name or line.
    const std::string& message() const noexcept { return message_; }
    /// The file name; empty when none was given.
    const std::string& fileName() const noexcept { return fileName_; }
    bool hasFileName() const noexcept { return hasFileName_; }
    /// The line; meaningful only when hasLine() is true.
    int line() const noexcept { return line_; }
    bool hasLine() const noexcept { return hasLine_; }

private:
    static std::string compose(const std::string& message, const std::string* fileName, const int* line);

    std::string message_;
    std::string fileName_;
    int line_ = 0;
    bool hasFileName_ = false;
    bool hasLine_ = false;
};

} // namespace common::exception
