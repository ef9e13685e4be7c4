#pragma once

// The fuzzer's bytes as a file of this process, for readers that take a path. The file is
// rewritten for every input and removed when the process ends.

#include "common/exception/RuntimeException.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace fuzz {

class FuzzFile {
public:
    explicit FuzzFile(const std::string& extension)
        : m_path((std::filesystem::temp_directory_path()
                  / ("movarin_fuzz_" + std::to_string(::getpid()) + extension)).string())
    {
    }
    ~FuzzFile() { std::remove(m_path.c_str()); }

    /// Writes the bytes and returns the file's path.
    const char* write(const std::uint8_t* data, std::size_t size)
    {
        std::ofstream out(m_path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        return m_path.c_str();
    }

private:
    std::string m_path;
};

/// Writes the bytes to this target's file (named with `extension`) and runs read(path). A
/// common::exception::RuntimeException is a reader's documented answer to bad input; any other
/// exception, a crash or a sanitizer report is a finding.
template <class Read>
int readAsFile(const char* extension, const std::uint8_t* data, std::size_t size, Read&& read)
{
    static FuzzFile file(extension);
    const char* path = file.write(data, size);
    try {
        read(path);
    } catch (const common::exception::RuntimeException&) {
    }
    return 0;
}

} // namespace fuzz
