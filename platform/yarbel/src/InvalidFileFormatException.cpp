#include "common/exception/InvalidFileFormatException.h"

#include <charconv>

namespace common::exception {

std::string InvalidFileFormatException::compose(const std::string& message, const std::string* fileName,
                                                const int* line) {
    std::string text = message;
    if (fileName) {
        text += ": ";
        text += *fileName;
    }
    if (line) {
        char digits[16];
        const auto end = std::to_chars(digits, digits + sizeof digits, *line).ptr;
        text += " (line ";
        text.append(digits, end);
        text += ")";
    }
    return text;
}

InvalidFileFormatException::InvalidFileFormatException(const std::string& message)
    : RuntimeException(compose(message, nullptr, nullptr)), message_(message) {}

InvalidFileFormatException::InvalidFileFormatException(const std::string& message, const std::string& fileName)
    : RuntimeException(compose(message, &fileName, nullptr)), message_(message), fileName_(fileName),
      hasFileName_(true) {}

InvalidFileFormatException::InvalidFileFormatException(const std::string& message, int line)
    : RuntimeException(compose(message, nullptr, &line)), message_(message), line_(line), hasLine_(true) {}

InvalidFileFormatException::InvalidFileFormatException(const std::string& message, const std::string& fileName,
                                                       int line)
    : RuntimeException(compose(message, &fileName, &line)), message_(message), fileName_(fileName), line_(line),
      hasFileName_(true), hasLine_(true) {}

} // namespace common::exception
