// Text dump of 2-D rings: heading and point lines of both modes.

#include "IoTestSupport.h"

#include "orlin/core/Point2D.h"
#include "orlin/core/Point2DIRing.h"
#include "orlin/io/TextPoint2DIRingExporter.h"

#include <gtest/gtest.h>

using tin::core::Point2D;
using tin::core::Point2DI;
using tin::core::Point2DIRing;
using tin::io::TextPoint2DIRingExporter;

namespace {

std::shared_ptr<Point2DIRing> square(double x0, int firstId) {
    std::vector<std::shared_ptr<Point2DI>> corners = {
        std::make_shared<Point2D>(x0, 0, firstId), std::make_shared<Point2D>(x0 + 2, 0, firstId + 1),
        std::make_shared<Point2D>(x0 + 2, 2.5, firstId + 2), std::make_shared<Point2D>(x0, 2.5, firstId + 3)};
    corners.push_back(corners.front());
    return std::make_shared<Point2DIRing>(corners);
}

} // namespace

TEST(TextPoint2DIRingExporterTest, SquareGivesHeadingAndFourPointLines) {
    const std::string path = iotest::scratchFile("ring.txt");
    TextPoint2DIRingExporter().exportPoint2DIRing(path.c_str(), *square(0, 1), TextPoint2DIRingExporter::COORDINATES);
    // The ring starts at its lowest point whatever the order given.
    EXPECT_EQ(iotest::readFile(path), "Ring: \n  0,0\n  2,0\n  2,2.5\n  0,2.5\n");
}

TEST(TextPoint2DIRingExporterTest, NumberedRingsWithIdsAndPrefix) {
    const std::string path = iotest::scratchFile("rings.txt");
    TextPoint2DIRingExporter exporter;
    exporter.exportPoint2DIRings(path.c_str(), {square(0, 1), square(10, 5)}, TextPoint2DIRingExporter::IDS);
    EXPECT_EQ(iotest::readFile(path), "Ring: 1\n 1\n 2\n 3\n 4\nRing: 2\n 5\n 6\n 7\n 8\n");

    std::ostringstream out;
    exporter.exportRing(&out, "# ", *square(0, 1), 7);
    EXPECT_EQ(out.str(), "# Ring: 7\n#  1\n#  2\n#  3\n#  4\n");
}
