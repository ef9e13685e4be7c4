#pragma once

// Runs a shell command for a test and returns what it wrote to standard output; the exit
// status goes to `status` when asked for (as pclose gives it).

#include <array>
#include <cstdio>
#include <string>

namespace common::test {

inline std::string runCommand(const std::string& command, int* status = nullptr) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        return output;
    }
    std::array<char, 512> buffer{};
    std::size_t n = 0;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        output.append(buffer.data(), n);
    }
    const int rc = pclose(pipe);
    if (status) {
        *status = rc;
    }
    return output;
}

} // namespace common::test
