// Writes the seed files of the fuzz targets with the project's own writers:
//   make_fuzz_seeds DIR
// makes DIR/<target>/ per fuzz target (tin_archive, stl, point_text, binary_points,
// polygon_polyline, mold, tar_header), each holding a few small valid files.

#include "common/file/TarHeaderBlock.h"
#include "common/io/ByteOrder.h"
#include "mold/core/Mold.h"
#include "mold/io/MoldExporter.h"
#include "orlin/core/Point.h"
#include "orlin/core/Point2D.h"
#include "orlin/core/PointSet.h"
#include "orlin/core/Polygon.h"
#include "orlin/core/Polyline.h"
#include "orlin/core/Tin.h"
#include "orlin/io/BinPointContainerExporter.h"
#include "orlin/io/BinPolygonExporter.h"
#include "orlin/io/BinPolylineExporter.h"
#include "orlin/io/StlTinExporter.h"
#include "orlin/io/TinTinExporter.h"
#include "orlin/io/TpoPointSetExporter.h"

#include <Poco/BinaryWriter.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A small counter-clockwise grid TIN with a non-planar surface.
tin::core::Tin gridTin(int nx, int ny)
{
    tin::core::Tin tin;
    auto z = [](double x, double y) { return 0.25 * x * x - 0.5 * y; };
    for (int i = 0; i < nx; ++i) {
        for (int j = 0; j < ny; ++j) {
            const tin::core::Point a(i, j, z(i, j)), b(i + 1, j, z(i + 1, j)), c(i + 1, j + 1, z(i + 1, j + 1)),
                d(i, j + 1, z(i, j + 1));
            tin.addTriangle(a, b, c);
            tin.addTriangle(a, c, d);
        }
    }
    return tin;
}

std::string in(const fs::path& dir, const std::string& target, const std::string& name)
{
    fs::create_directories(dir / target);
    return (dir / target / name).string();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: make_fuzz_seeds DIR\n";
        return 2;
    }
    const fs::path dir = argv[1];
    const tin::core::Tin one = gridTin(1, 1);
    const tin::core::Tin grid = gridTin(3, 2);

    tin::io::TinTinExporter().exportTin(in(dir, "tin_archive", "one.tin").c_str(), one);
    tin::io::TinTinExporter().exportTin(in(dir, "tin_archive", "grid.tin").c_str(), grid);
    tin::io::TinTinExporter().exportTin(in(dir, "tin_archive", "empty.tin").c_str(), tin::core::Tin());

    tin::io::StlTinExporter(tin::io::STL_BINARY).exportTin(in(dir, "stl", "grid.stl").c_str(), grid);
    tin::io::StlTinExporter(tin::io::STL_ASCII).exportTin(in(dir, "stl", "one_ascii.stl").c_str(), one);

    tin::core::PointSet set;
    for (int i = 0; i < 5; ++i) {
        set.addPoint(tin::core::Point(i * 1.5, i % 3, 10.0 - i));
    }
    tin::io::TpoPointSetExporter().exportPointSet(in(dir, "point_text", "five.tpo").c_str(), set);
    const auto points = set.points();
    tin::io::BinPointContainerExporter().exportPoints(in(dir, "binary_points", "five.tpobin").c_str(),
                                                      points.begin(), points.end(), 5);
    tin::io::BinPointContainerExporter().exportPoints(in(dir, "binary_points", "derived.tpobin").c_str(),
                                                      points.begin(), points.end(), -1);

    const std::vector<tin::core::Point2D> corners = {{0, 0}, {4, 0}, {4, 3}, {0, 3}};
    tin::io::BinPolygonExporter().exportPolygon(in(dir, "polygon_polyline", "square.pol").c_str(),
                                                tin::core::Polygon(corners));
    tin::io::BinPolylineExporter().exportPolyline(in(dir, "polygon_polyline", "line.pll").c_str(),
                                                  tin::core::Polyline(corners));

    const mold::core::Mold mold(mold::core::Mold::Subtract, {-2.0, 0.0, 2.0}, {1.0, -0.5, 1.0}, 0.0, 0.0);
    mold::io::MoldExporter().exportMold(in(dir, "mold", "channel.mld").c_str(), mold);

    std::ofstream tar(in(dir, "tar_header", "entry.tar"), std::ios::binary);
    Poco::BinaryWriter writer(tar, common::io::FILE_BYTE_ORDER);
    common::file::TarHeaderBlock block;
    block.setName("meta.txt");
    block.setSize(0);
    block.write(writer);
    common::file::TarHeaderBlock::writeEndOfArchive(writer);
    writer.flush();
    return tar ? 0 : 1;
}
