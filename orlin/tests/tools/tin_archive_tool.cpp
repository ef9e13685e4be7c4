// Test tool: converts between point text files and TIN archives.
//
//   tin_archive_tool tpo2tin <points.tpo> <out.tin>   triangulate the points, write the archive
//   tin_archive_tool tin2tpo <in.tin> <out.tpo>       write the TIN's vertices as point text
//   tin_archive_tool tin2tin <in.tin> <out.tin>       read an archive and write it again
//
// Exit codes: 0 done, 1 failure (message on stderr), 2 usage, 3 triangulation not built in.

#include "orlin/core/Point.h"
#include "orlin/core/PointSet.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"
#include "orlin/io/TinTinExporter.h"
#include "orlin/io/TinTinImporter.h"
#include "orlin/io/TpoPointContainerExporter.h"
#include "orlin/io/TpoPointSetImporter.h"

#if __has_include("orlin/util/PointSetToTin.h")
#include "orlin/util/PointSetToTin.h"
#define TIN_ARCHIVE_TOOL_CAN_TRIANGULATE 1
#endif

#include <exception>
#include <iostream>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

namespace {

int tpoToTin(const char* in, const char* out) {
#ifdef TIN_ARCHIVE_TOOL_CAN_TRIANGULATE
    const tin::core::PointSet set = tin::io::TpoPointSetImporter().importPointSet(in);
    const tin::core::Tin tin = tin::util::PointSetToTin::convertCleanPointSet(set, false, false);
    tin::io::TinTinExporter().exportTin(out, tin);
    std::cout << "points " << tin.pointCount() << " triangles " << tin.allTriangles().size() << "\n";
    return 0;
#else
    (void)in;
    (void)out;
    std::cerr << "triangulation is not part of this build\n";
    return 3;
#endif
}

int tinToTpo(const char* in, const char* out) {
    const tin::core::Tin tin = tin::io::TinTinImporter().importTin(in);
    std::unordered_set<std::shared_ptr<tin::core::Point>> seen;
    std::vector<std::shared_ptr<tin::core::Point>> points;
    for (const auto& triangle : tin.allTriangles()) {
        for (int i = 0; i < 3; ++i) {
            if (seen.insert(triangle->point(i)).second) {
                points.push_back(triangle->point(i));
            }
        }
    }
    tin::io::TpoPointContainerExporter(17).exportPoints(out, points.begin(), points.end());
    std::cout << "points " << points.size() << "\n";
    return 0;
}

int tinToTin(const char* in, const char* out) {
    const tin::core::Tin tin = tin::io::TinTinImporter().importTin(in);
    tin::io::TinTinExporter().exportTin(out, tin);
    std::cout << "points " << tin.pointCount() << " triangles " << tin.allTriangles().size() << "\n";
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: " << argv[0] << " tpo2tin|tin2tpo|tin2tin <input> <output>\n";
        return 2;
    }
    const std::string mode = argv[1];
    try {
        if (mode == "tpo2tin") {
            return tpoToTin(argv[2], argv[3]);
        }
        if (mode == "tin2tpo") {
            return tinToTpo(argv[2], argv[3]);
        }
        if (mode == "tin2tin") {
            return tinToTin(argv[2], argv[3]);
        }
    } catch (const std::exception& e) {
        std::cerr << "error: " << e.what() << "\n";
        return 1;
    }
    std::cerr << "unknown mode " << mode << "\n";
    return 2;
}
