#include "common/io/IoUtil.h"

#include "common/exception/FileOpenException.h"
#include "common/exception/RuntimeException.h"

#include <Poco/BinaryWriter.h>

#include <filesystem>
#include <system_error>

namespace common::io {

namespace {

template <typename Stream>
Stream openChecked(const std::string& path, std::ios::openmode mode) {
    // A directory opens as a stream on Linux but reads as an empty file.
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) {
        throw common::exception::FileOpenException(path);
    }
    Stream stream(path, mode);
    if (!stream.is_open()) {
        throw common::exception::FileOpenException(path);
    }
    return stream;
}

} // namespace

std::ofstream IoUtil::openOutBinary(const std::string& path) {
    return openChecked<std::ofstream>(path, std::ios::out | std::ios::trunc | std::ios::binary);
}

std::ofstream IoUtil::openOutAscii(const std::string& path) {
    return openChecked<std::ofstream>(path, std::ios::out | std::ios::trunc);
}

std::ifstream IoUtil::openInBinary(const std::string& path) {
    return openChecked<std::ifstream>(path, std::ios::in | std::ios::binary);
}

std::ifstream IoUtil::openInAscii(const std::string& path) {
    return openChecked<std::ifstream>(path, std::ios::in);
}

void IoUtil::writeWithSize(Poco::BinaryWriter& writer, const std::string& text, int width) {
    if (width < 0) {
        throw common::exception::RuntimeException("Negative field width in writeWithSize");
    }
    const std::size_t w = static_cast<std::size_t>(width);
    std::string field = text.substr(0, w);
    field.resize(w, '\0');
    writer.writeRaw(field);
}

} // namespace common::io
