#include "support/TerrainStl.h"

#include "orlin/core/Point.h"
#include "orlin/core/Tin.h"
#include "orlin/io/StlTinExporter.h"
#include "orlin/io/StlType.h"

#include <QFileInfo>

#include <cmath>
#include <memory>
#include <stdexcept>
#include <vector>

namespace varnel::test {

tin::core::Tin TerrainStl::terrain(int columns, int rows)
{
    std::vector<std::shared_ptr<tin::core::Point>> nodes;
    for (int j = 0; j <= rows; ++j) {
        for (int i = 0; i <= columns; ++i) {
            const double x = 2000.0 + 5.0 * i + 0.8 * std::sin(1.7 * i + 2.3 * j);
            const double y = 1000.0 + 5.0 * j + 0.8 * std::cos(2.1 * i + 1.3 * j);
            const double across = (i - columns / 2.0) / (columns / 2.0);
            const double z = -60.0 + 110.0 * across * across + 8.0 * std::sin(j / 4.0);
            nodes.push_back(std::make_shared<tin::core::Point>(x, y, z));
        }
    }
    const auto at = [&](int i, int j) { return nodes[static_cast<std::size_t>(j * (columns + 1) + i)]; };
    tin::core::Tin tin;
    for (int j = 0; j < rows; ++j) {
        for (int i = 0; i < columns; ++i) {
            tin.addTriangle(at(i, j), at(i + 1, j), at(i + 1, j + 1));
            tin.addTriangle(at(i, j), at(i + 1, j + 1), at(i, j + 1));
        }
    }
    return tin;
}

std::size_t TerrainStl::write(const QString& path, bool binary, int columns, int rows)
{
    const tin::core::Tin tin = terrain(columns, rows);
    tin::io::StlTinExporter(binary ? tin::io::STL_BINARY : tin::io::STL_ASCII)
        .exportTin(path.toStdString().c_str(), tin);
    if (!QFileInfo(path).isFile()) {
        throw std::runtime_error("no STL written to " + path.toStdString());
    }
    return tin.allTriangles().size();
}

} // namespace varnel::test
