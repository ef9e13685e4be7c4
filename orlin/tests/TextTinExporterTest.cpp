// Text dump of a TIN: line counts and line formats of both modes.

#include "IoTestSupport.h"

#include "orlin/core/Point.h"
#include "orlin/io/TextTinExporter.h"

#include <gtest/gtest.h>

#include <set>

using tin::core::Point;
using tin::core::Tin;
using tin::io::TextTinExporter;

namespace {

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        result.push_back(line);
    }
    return result;
}

Tin twoTriangles() {
    Tin tin;
    tin.addTriangle(Point(0, 0, 1.5), Point(1, 0, 2.25), Point(1, 1, 3));
    tin.addTriangle(Point(0, 0, 1.5), Point(1, 1, 3), Point(0, 1, 12.34567890123));
    int id = 10;
    std::set<const Point*> seen;
    for (const auto& t : tin.allTriangles()) {
        for (int i = 0; i < 3; ++i) {
            if (seen.insert(t->point(i).get()).second) {
                t->point(i)->setId(id++);
            }
        }
    }
    return tin;
}

} // namespace

TEST(TextTinExporterTest, IdModeListsEightLines) {
    const Tin tin = twoTriangles();
    const std::string path = iotest::scratchFile("ids.txt");
    TextTinExporter().exportTin(path.c_str(), tin, TextTinExporter::IDS);
    const auto text = lines(iotest::readFile(path));
    ASSERT_EQ(text.size(), 8u);
    EXPECT_EQ(text[0], "Triangle 1");
    EXPECT_EQ(text[4], "Triangle 2");
    std::set<std::string> idLines;
    for (int k : {1, 2, 3, 5, 6, 7}) {
        EXPECT_EQ(text[k].substr(0, 2), "  ");
        idLines.insert(text[k]);
    }
    EXPECT_EQ(idLines, (std::set<std::string>{"  10", "  11", "  12", "  13"}));
}

TEST(TextTinExporterTest, CoordinateModeUsesPrecisionAndCommas) {
    Tin tin;
    tin.addTriangle(Point(0, 0, 1.5), Point(1, 0, 2.25), Point(0.5, 1, 12.34567890123));
    const std::string path = iotest::scratchFile("coords.txt");
    TextTinExporter().exportTin(path.c_str(), tin);
    const auto text = lines(iotest::readFile(path));
    ASSERT_EQ(text.size(), 4u);
    const std::set<std::string> vertices(text.begin() + 1, text.end());
    EXPECT_EQ(vertices, (std::set<std::string>{"  0,0,1.5", "  1,0,2.25", "  0.5,1,12.3456789"}));

    TextTinExporter(4).exportTin(path.c_str(), tin);
    EXPECT_NE(iotest::readFile(path).find("  0.5,1,12.35\n"), std::string::npos);
}
