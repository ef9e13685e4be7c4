// Runs PROJ's command-line programs (`proj`, `cs2cs`) as an independent oracle for the
// conversions of festra; the tests of festra and of the EPSG catalogue use it. Header only.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace projprogram {

struct LonLat
{
    double lon;
    double lat;
};

struct Plane
{
    double x;
    double y;
};

/// Runs a PROJ program on the points (given through a temporary file) and reads two numbers
/// per output line.
inline std::vector<Plane> runProgram(const std::string& program, const std::vector<LonLat>& points)
{
    char inputPath[] = "/tmp/festra_points_XXXXXX";
    const int fd = mkstemp(inputPath);
    if (fd < 0) {
        return {};
    }
    std::ostringstream input;
    input.precision(17);
    for (const LonLat& p : points) {
        input << p.lon << ' ' << p.lat << '\n';
    }
    const std::string text = input.str();
    const bool written = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    close(fd);
    std::vector<Plane> result;
    if (written) {
        const std::string command = program + " < " + inputPath + " 2>/dev/null";
        if (FILE* pipe = popen(command.c_str(), "r")) {
            char line[512];
            while (std::fgets(line, sizeof line, pipe)) {
                Plane p{};
                if (std::sscanf(line, "%lf %lf", &p.x, &p.y) == 2) {
                    result.push_back(p);
                }
            }
            pclose(pipe);
        }
    }
    unlink(inputPath);
    return result;
}

} // namespace projprogram
