#include "kalmo/ShpUtil.h"

#include "ShpTestSupport.h"

using namespace shptest;

TEST(ShpUtil, ShapeTypeOfEachKindAndMissingFile)
{
    Scratch scratch;
    const std::pair<const char*, int> kinds[] = {
        {"{\"type\":\"Point\",\"coordinates\":[1,2]}", 1},
        {"{\"type\":\"LineString\",\"coordinates\":[[0,0],[1,1]]}", 3},
        {"{\"type\":\"Polygon\",\"coordinates\":[[[0,0],[0,1],[1,1],[0,0]]]}", 5}};
    for (const auto& [geometry, expected] : kinds) {
        const std::string shp = scratch.path("kind" + std::to_string(expected) + ".shp");
        ogr2ogr(shp, feature(geometry));
        int type = -1;
        EXPECT_TRUE(tinshp::ShpUtil::shapeType(shp, &type));
        EXPECT_EQ(type, expected);
        EXPECT_EQ(openFilesUnder(scratch.path()), 0);
    }
    int type = 42;
    EXPECT_FALSE(tinshp::ShpUtil::shapeType(scratch.path("missing.shp"), &type));
    EXPECT_EQ(type, 42);
}
