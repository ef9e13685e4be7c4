// Every writer that takes a path saves through the safe-save helper: a save that fails part
// way keeps the earlier file byte for byte and leaves no temporary file; a save through a
// symbolic link replaces the file the link leads to.

#include "IoTestSupport.h"

#include "common/exception/RuntimeException.h"
#include "common/test/FileSizeLimit.h"
#include "orlin/core/Point2D.h"
#include "orlin/core/Point2DIRing.h"
#include "orlin/core/PointSet.h"
#include "orlin/core/Polygon.h"
#include "orlin/core/Polyline.h"
#include "orlin/io/BinPointContainerExporter.h"
#include "orlin/io/BinPolygonExporter.h"
#include "orlin/io/BinPolylineExporter.h"
#include "orlin/io/StlTinExporter.h"
#include "orlin/io/TextPoint2DIRingExporter.h"
#include "orlin/io/TextTinExporter.h"
#include "orlin/io/TinTinExporter.h"
#include "orlin/io/TinTinImporter.h"
#include "orlin/io/TpoPointSetExporter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <cmath>
#include <functional>
#include <set>

namespace fs = std::filesystem;
using tin::core::Point2D;

namespace {

using Save = std::function<void(const std::string& path)>;

struct Writer {
    const char* name;
    Save save;
};

// Each writer writes well over the lowered file-size limit.
std::vector<Writer> writers() {
    static const tin::core::Tin tin = iotest::gridTin(30, 30);
    static const auto points = [] {
        std::vector<Point2D> v;
        for (int i = 0; i < 1000; ++i) {
            v.emplace_back(i, (i * 7) % 13);
        }
        return v;
    }();
    static const auto ring = [] {
        std::vector<std::shared_ptr<tin::core::Point2DI>> v;
        for (int i = 0; i < 1000; ++i) {
            v.push_back(std::make_shared<Point2D>(std::cos(i * 0.00628) * 1000, std::sin(i * 0.00628) * 1000, i));
        }
        v.push_back(v.front());
        return std::make_shared<tin::core::Point2DIRing>(v);
    }();
    static const auto set = [] {
        auto s = std::make_shared<tin::core::PointSet>();
        for (int i = 0; i < 1000; ++i) {
            s->addPoint(tin::core::Point(i * 1.5, i % 17, i * 0.25));
        }
        return s;
    }();
    using namespace tin::io;
    return {
        {"TIN archive", [](const std::string& p) { TinTinExporter().exportTin(p.c_str(), tin); }},
        {"binary STL", [](const std::string& p) { StlTinExporter(STL_BINARY).exportTin(p.c_str(), tin); }},
        {"ASCII STL", [](const std::string& p) { StlTinExporter(STL_ASCII).exportTin(p.c_str(), tin); }},
        {"point text", [](const std::string& p) { TpoPointSetExporter().exportPointSet(p.c_str(), *set); }},
        {"binary points",
         [](const std::string& p) {
             const auto all = set->points();
             BinPointContainerExporter().exportPoints(p.c_str(), all.begin(), all.end(), -1);
         }},
        {"polygon", [](const std::string& p) { BinPolygonExporter().exportPolygon(p.c_str(), tin::core::Polygon(points)); }},
        {"polyline",
         [](const std::string& p) { BinPolylineExporter().exportPolyline(p.c_str(), tin::core::Polyline(points)); }},
        {"TIN text dump", [](const std::string& p) { TextTinExporter().exportTin(p.c_str(), tin); }},
        {"ring text dump",
         [](const std::string& p) {
             TextPoint2DIRingExporter().exportPoint2DIRing(p.c_str(), *ring, TextPoint2DIRingExporter::COORDINATES);
         }},
    };
}

fs::path freshFolder(const std::string& name) {
    const fs::path dir = iotest::scratchDir() / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

std::set<std::string> namesIn(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

} // namespace

TEST(ExporterSafeSaveTest, FailedSaveKeepsTheEarlierFileAndNamesTheTarget) {
    const std::string earlier = "last week's file, which must survive";
    for (const Writer& writer : writers()) {
        SCOPED_TRACE(writer.name);
        const fs::path dir = freshFolder("failed");
        const std::string target = (dir / "saved.out").string();
        iotest::writeFile(target, earlier);
        {
            common::test::FileSizeLimit limit(4096);
            ASSERT_TRUE(limit.active());
            try {
                writer.save(target);
                ADD_FAILURE() << "a save past the file-size limit was reported as success";
            } catch (const common::exception::RuntimeException& e) {
                EXPECT_NE(std::string(e.what()).find(target), std::string::npos) << e.what();
            }
        }
        EXPECT_EQ(iotest::readFile(target), earlier);
        EXPECT_EQ(namesIn(dir), std::set<std::string>{"saved.out"});

        // Without the limit the same save replaces the file.
        writer.save(target);
        EXPECT_GT(fs::file_size(target), 4096u);
        EXPECT_EQ(namesIn(dir), std::set<std::string>{"saved.out"});
    }
}

TEST(ExporterSafeSaveTest, SaveThroughASymbolicLinkReplacesTheLinkedFile) {
    const fs::path realDir = freshFolder("linked");
    const fs::path linkDir = freshFolder("links");
    iotest::writeFile((realDir / "river.tin").string(), "old");
    fs::create_symlink(realDir / "river.tin", linkDir / "river.tin");

    const tin::core::Tin tin = iotest::gridTin(3, 2);
    tin::io::TinTinExporter().exportTin((linkDir / "river.tin").c_str(), tin);

    EXPECT_TRUE(fs::is_symlink(linkDir / "river.tin"));
    EXPECT_EQ(namesIn(realDir), std::set<std::string>{"river.tin"});
    const tin::core::Tin back = tin::io::TinTinImporter().importTin((realDir / "river.tin").c_str());
    EXPECT_EQ(iotest::triangleKeys(back), iotest::triangleKeys(tin));
}
