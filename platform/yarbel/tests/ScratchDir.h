#pragma once

// A scratch directory per test process, removed when the process ends.

#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

namespace yarbeltest {

inline std::filesystem::path scratchPath() {
    return std::filesystem::temp_directory_path() / ("yarbel_tests_" + std::to_string(::getpid()));
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

} // namespace yarbeltest
