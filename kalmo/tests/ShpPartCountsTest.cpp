#include "kalmo/ShpPartCounts.h"

#include "ShpTestSupport.h"

using namespace shptest;

// GDAL's own parts are the oracle: a line, a polygon with a hole, two lines, a null shape.
TEST(ShpPartCounts, CountsThePartsGdalSees)
{
    Scratch scratch;
    const std::string lines = scratch.path("lines.shp");
    const std::string single = "{\"type\":\"LineString\",\"coordinates\":[[0,0],[1,1]]}";
    const std::string twoParts =
        "{\"type\":\"MultiLineString\",\"coordinates\":[[[0,0],[1,1]],[[2,2],[3,3],[4,3]]]}";
    ogr2ogr(lines, feature(single) + "," + feature(twoParts) + "," + feature("null"),
            {"-nlt", "MULTILINESTRING"});
    const std::string rings = scratch.path("rings.shp");
    ogr2ogr(rings, feature("{\"type\":\"Polygon\",\"coordinates\":[[[0,0],[0,9],[9,9],[9,0],[0,0]],"
                           "[[1,1],[2,1],[2,2],[1,1]]]}"));

    EXPECT_EQ(tinshp::ShpPartCounts::read(lines), (std::vector<int>{1, 2, 0}));
    EXPECT_EQ(tinshp::ShpPartCounts::read(rings), (std::vector<int>{2}));
    for (const std::string& shp : {lines, rings}) {
        const std::vector<OgrFeature> features = ogrFeatures(shp);
        const std::vector<int> counts = tinshp::ShpPartCounts::read(shp);
        ASSERT_EQ(features.size(), counts.size());
        for (std::size_t i = 0; i < counts.size(); ++i) {
            EXPECT_EQ(static_cast<int>(features[i].parts.size()), counts[i]) << shp << " " << i;
        }
    }
    EXPECT_TRUE(tinshp::ShpPartCounts::read(scratch.path("missing.shp")).empty());
    EXPECT_EQ(openFilesUnder(scratch.path()), 0);
}
