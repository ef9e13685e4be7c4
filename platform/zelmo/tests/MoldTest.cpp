#include "mold/core/Mold.h"

#include "common/exception/RuntimeException.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

using mold::core::Mold;

namespace {

Mold trapezoid()
{
    return Mold(Mold::Subtract, {-10.0, -4.0, 4.0, 10.0}, {2.0, 0.0, 0.0, 2.0}, 0.5, -1.0);
}

} // namespace

TEST(MoldTest, WidthsAreTheExtentOnEachSideOfTheAxis)
{
    EXPECT_DOUBLE_EQ(trapezoid().widthL(), 10.0);
    EXPECT_DOUBLE_EQ(trapezoid().widthR(), 10.0);

    // Everything to the right: nothing sticks out on the left, and vice versa.
    Mold right(Mold::Add, {2.0, 5.0}, {0.0, 1.0}, 0.0, 0.0);
    EXPECT_DOUBLE_EQ(right.widthL(), 0.0);
    EXPECT_DOUBLE_EQ(right.widthR(), 5.0);
    Mold left(Mold::Add, {-7.0, -3.0}, {0.0, 1.0}, 0.0, 0.0);
    EXPECT_DOUBLE_EQ(left.widthL(), 7.0);
    EXPECT_DOUBLE_EQ(left.widthR(), 0.0);

    // The base point is a drawing reference, not geometry.
    Mold empty;
    empty.setBaseL(-50.0);
    EXPECT_DOUBLE_EQ(empty.widthL(), 0.0);
    EXPECT_DOUBLE_EQ(empty.widthR(), 0.0);
}

TEST(MoldTest, EditTypeTextsAreTheFolderNames)
{
    EXPECT_EQ(Mold::editTypeString(Mold::Add), "Add");
    EXPECT_EQ(Mold::editTypeString(Mold::Subtract), "Sub");
    EXPECT_EQ(Mold::editTypeString(static_cast<Mold::EditType>(7)), "Unknown");
}

TEST(MoldTest, PointEditsKeepOffsetsAndHeightsTogether)
{
    Mold mold;
    mold.pushbackLH(1.0, 10.0);
    mold.pushbackLH(3.0, 30.0);
    mold.insertLH(1, 2.0, 20.0);
    mold.insertLH(3, 4.0, 40.0);
    mold.insertLH(0, 0.0, 0.0);
    EXPECT_EQ(mold.l(), (std::vector<double>{0, 1, 2, 3, 4}));
    EXPECT_EQ(mold.h(), (std::vector<double>{0, 10, 20, 30, 40}));

    mold.eraseLH(2);
    mold.setLH(0, -1.0, -10.0);
    mold.popbackLH();
    EXPECT_EQ(mold.l(), (std::vector<double>{-1, 1, 3}));
    EXPECT_EQ(mold.h(), (std::vector<double>{-10, 10, 30}));

    EXPECT_THROW(mold.setLH(3, 0.0, 0.0), std::out_of_range);
    EXPECT_THROW(mold.insertLH(4, 0.0, 0.0), std::out_of_range);
    EXPECT_THROW(mold.eraseLH(3), std::out_of_range);
    EXPECT_EQ(mold.h().size(), 3u);
    mold.clear();
    EXPECT_THROW(mold.popbackLH(), std::out_of_range);
}

TEST(MoldTest, MismatchedVectorsAreRefusedAndLeaveTheMoldUnchanged)
{
    EXPECT_THROW(Mold(Mold::Add, {1.0, 2.0}, {1.0}, 0.0, 0.0), common::exception::RuntimeException);
    Mold mold = trapezoid();
    EXPECT_THROW(mold.setLH({1.0}, {1.0, 2.0}), common::exception::RuntimeException);
    EXPECT_EQ(mold.size(), 4u);
    EXPECT_EQ(mold.h().size(), 4u);
}
