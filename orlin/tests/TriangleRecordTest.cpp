#include "orlin/util/TriangleRecord.h"

#include <trianglecui/TriangleProcess.h>

#include <gtest/gtest.h>

#include <vector>

using tin::util::TriangleRecord;

TEST(TriangleRecord, PointListGoesAloneAndTheRestStaysUntilRelease)
{
    TriangleRecord record;
    std::vector<double> points = {0, 0, 2, 0, 2, 2, 0, 2, 1, 1};
    std::vector<int> none;
    trianglecui::TriangleProcess::execute("ezQ", points, none, none, none, none, none, record.get(), true);
    ASSERT_EQ(record->numberofpoints, 5);
    ASSERT_EQ(record->numberoftriangles, 4);

    record.releasePoints();
    EXPECT_EQ(record->pointlist, nullptr);
    EXPECT_EQ(record->numberofpoints, 0);
    ASSERT_NE(record->trianglelist, nullptr);
    ASSERT_NE(record->edgelist, nullptr);
    for (int i = 0; i < 3 * record->numberoftriangles; ++i) {
        EXPECT_GE(record->trianglelist[i], 0);
        EXPECT_LT(record->trianglelist[i], 5);
    }
    record.releasePoints(); // nothing left to free: no double release

    record.release();
    EXPECT_EQ(record->trianglelist, nullptr);
    EXPECT_EQ(record->edgelist, nullptr);
    EXPECT_EQ(record->numberoftriangles, 0);
}
