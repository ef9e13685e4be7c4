#pragma once

// Helpers shared by the file-format tests: scratch files, raw byte files and a
// coordinate-based comparison of TINs.

#include "common/test/RunCommand.h"
#include "common/test/ScratchDir.h"
#include "orlin/core/Point.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"

#include <Poco/BinaryWriter.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace iotest {

using common::test::runCommand;
using common::test::scratchDir;
using common::test::scratchFile;

inline void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

/// Little-endian bytes of plain values, built independently of the writers under test.
class Bytes {
public:
    Bytes& header(const std::string& title = "Points binary file", const std::string& version = "v0.1") {
        std::string field(64, '\0');
        field.replace(0, title.size(), title);
        field.replace(48, version.size(), version);
        data += field;
        return *this;
    }
    Bytes& i32(int v) { return raw(&v, sizeof v); }
    Bytes& f64(double v) { return raw(&v, sizeof v); }
    Bytes& xyz(double x, double y, double z) { return f64(x).f64(y).f64(z); }
    Bytes& zeros(std::size_t n) {
        data.append(n, '\0');
        return *this;
    }
    std::string data;

private:
    Bytes& raw(const void* p, std::size_t n) {
        data.append(static_cast<const char*>(p), n);
        return *this;
    }
};

using Corner = std::array<double, 3>;
using TriangleKey = std::array<Corner, 3>;

/// The triangles of a TIN by vertex coordinates, each rotated to start at its smallest
/// corner (so orientation is kept), sorted: equal for TINs with the same triangles.
inline std::vector<TriangleKey> triangleKeys(const tin::core::Tin& tin) {
    std::vector<TriangleKey> keys;
    for (const auto& t : tin.allTriangles()) {
        TriangleKey key;
        for (int i = 0; i < 3; ++i) {
            key[i] = {t->point(i)->x(), t->point(i)->y(), t->point(i)->elevation()};
        }
        std::rotate(key.begin(), std::min_element(key.begin(), key.end()), key.end());
        keys.push_back(key);
    }
    std::sort(keys.begin(), keys.end());
    return keys;
}

/// A counter-clockwise grid TIN of nx x ny cells with a non-planar surface.
inline tin::core::Tin gridTin(int nx, int ny, double x0 = 0.0, double y0 = 0.0) {
    tin::core::Tin tin;
    auto z = [](double x, double y) { return 0.25 * x * x - 0.5 * y + 0.125 * x * y; };
    for (int i = 0; i < nx; ++i) {
        for (int j = 0; j < ny; ++j) {
            const double xa = x0 + i, xb = x0 + i + 1, ya = y0 + j, yb = y0 + j + 1;
            const tin::core::Point a(xa, ya, z(xa, ya)), b(xb, ya, z(xb, ya)), c(xb, yb, z(xb, yb)),
                d(xa, yb, z(xa, yb));
            tin.addTriangle(a, b, c);
            tin.addTriangle(a, c, d);
        }
    }
    return tin;
}

} // namespace iotest
