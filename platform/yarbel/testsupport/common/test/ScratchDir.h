#pragma once

// A scratch folder per test process, shared by the test programs of every library and
// removed when the process ends.

#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

namespace common::test {

inline std::filesystem::path scratchPath() {
    return std::filesystem::temp_directory_path() / ("movarin_tests_" + std::to_string(::getpid()));
}

struct ScratchCleanup {
    ~ScratchCleanup() {
        std::error_code ignored;
        std::filesystem::remove_all(scratchPath(), ignored);
    }
};
inline ScratchCleanup scratchCleanup;

inline std::filesystem::path scratchDir() {
    std::filesystem::create_directories(scratchPath());
    return scratchPath();
}

inline std::string scratchFile(const std::string& name) {
    return (scratchDir() / name).string();
}

} // namespace common::test
