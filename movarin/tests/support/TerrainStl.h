#pragma once

#include <QString>

#include <cstddef>

namespace tin::core {
class Tin;
}

namespace varnel::test {

/// A terrain TIN of the kind an engineer opens from STL, and that TIN written as the
/// program's own export writes it: the shared STL models are closed solids, which do not
/// open as a project.
///
/// The terrain: `columns` by `rows` cells of about 5 m from (2000, 1000), the nodes moved by
/// up to 0.8 m so that the triangles are not a regular grid, two triangles a cell; a valley
/// along y between ridges, its floor near -60 m and its sides near 60 m, which spans most of
/// the default colour map. Single-valued by construction.
struct TerrainStl {
    static tin::core::Tin terrain(int columns = 48, int rows = 36);
    /// Writes `terrain(columns, rows)` to `path` in the binary (single precision) or ASCII
    /// form of `tin::io::StlTinExporter`; the number of facets written. Throws when the file
    /// cannot be written.
    static std::size_t write(const QString& path, bool binary = true, int columns = 48, int rows = 36);
};

} // namespace varnel::test
