#include "orlin/io/OutputFileCheck.h"

#include "common/exception/RuntimeException.h"

#include <filesystem>
#include <system_error>

namespace tin::io {

void OutputFileCheck::close(std::ofstream& stream, const std::string& path) {
    stream.flush();
    const bool writeFailed = stream.fail();
    stream.close();
    if (writeFailed || stream.fail()) {
        // Only a regular file is ours to remove (never a device such as /dev/full).
        std::error_code ignored;
        if (std::filesystem::is_regular_file(path, ignored)) {
            std::filesystem::remove(path, ignored);
        }
        throw common::exception::RuntimeException("Could not write file: " + path);
    }
}

} // namespace tin::io
