// Mold surfaces keep the edited TIN whole: a surface inside the TIN changes elevations,
// never coverage. Oracles: the plan area and outline of the base TIN measured from the
// triangles' corners (TinWholeness), and the sloped ground z = 0.01 x + 0.02 y.
#include "SurfaceEditTestSupport.h"
#include "TinWholeness.h"

namespace varnel::test {
namespace {

class SurfaceCoverageTest : public SurfaceEditTest {
protected:
    void SetUp() override
    {
        SurfaceEditTest::SetUp();
        m_window->setTin(slopedTerrain());
        m_whole = TinWholeness::of(base());
    }

    std::string faults() const { return TinWholeness::of(edited()).faultsAgainst(m_whole); }

    TinWholeness m_whole;
};

TEST_F(SurfaceCoverageTest, SlopeAlongAShortPathLeavesNoHole)
{
    addSurface("Slope 2(Add)", {{72, 26.25}, {64, 29}});
    EXPECT_EQ(faults(), "");
}

TEST_F(SurfaceCoverageTest, DraggedVertexLeavesNoHole)
{
    GeoEditSurfaceItem* surface = addSurface("Slope 2(Add)", {{85.25, 56.75}, {82, 63.5}});
    ASSERT_EQ(faults(), "");
    select(surface);
    clickVertex(82, 63.5);
    dragBy(82, 63.5, 73 - 82, 64.75 - 63.5);
    ASSERT_EQ(surface->path()[1].x(), 73.0);
    ASSERT_EQ(surface->path()[1].y(), 64.75);
    EXPECT_EQ(faults(), "");
}

} // namespace
} // namespace varnel::test
