// The default level molds along paths of two, three and five vertices drawn with the path tool
// on the sloped ground z = 0.01 x + 0.02 y, judged by the merged result: 1 m left of each
// segment's middle (inside the strip the mold spans, L -2 .. 0) the level plane stands at the
// path's elevation there, which is 1 m above the ground for the Add mold and 1 m below it for
// the Sub mold; edited minus base follows from the ground's plane.
#include "SurfaceEditTestSupport.h"

#include <cmath>

namespace varnel::test {
namespace {

double ground(double x, double y)
{
    return 0.01 * x + 0.02 * y;
}

class LevelMoldTest : public SurfaceEditTest {
protected:
    void SetUp() override
    {
        SurfaceEditTest::SetUp();
        m_window->setTin(slopedTerrain());
    }

    /// The surface the path tool makes of the mold along `path` at `above` over the ground,
    /// or null (with the boxes answered) when it makes none.
    GeoEditSurfaceItem* drawn(const QString& mold, const std::vector<QPointF>& path, double above)
    {
        pickMold(mold);
        const int before = stack().index();
        guimisc::UserDialogScript script;
        groupController()->createGeoEditSurface(onTin(path, above));
        for (const auto& box : script.messageBoxes()) {
            ADD_FAILURE() << box.text.toStdString();
        }
        if (stack().index() != before + 1) {
            return nullptr;
        }
        return qobject_cast<GeoEditSurfaceItem*>(group()->childItems().front());
    }
};

TEST_F(LevelMoldTest, DefaultLevelPlanesRaiseAndLowerTheGroundAlongTheWholePath)
{
    const std::vector<std::vector<QPointF>> paths = {
        {{20, 50}, {45, 55}},
        {{20, 30}, {40, 38}, {55, 20}},
        {{15, 20}, {30, 26}, {42, 40}, {62, 44}, {76, 30}},
    };
    const Identities start = identities(edited());
    for (const auto& [mold, offset] : {std::make_pair(QStringLiteral("Level plane (Add)"), 1.0),
                                       std::make_pair(QStringLiteral("Level plane (Sub)"), -1.0)}) {
        for (const std::vector<QPointF>& path : paths) {
            SCOPED_TRACE(mold.toStdString() + " along " + std::to_string(path.size()) + " vertices");
            GeoEditSurfaceItem* surface = drawn(mold, path, offset);
            ASSERT_NE(surface, nullptr) << "no surface";
            for (std::size_t k = 0; k + 1 < path.size(); ++k) {
                const QPointF middle = (path[k] + path[k + 1]) / 2.0;
                const QPointF along = path[k + 1] - path[k];
                const double length = std::hypot(along.x(), along.y());
                const QPointF left = middle + QPointF(-along.y(), along.x()) / length;
                double edited = 0.0;
                double base = 0.0;
                ASSERT_TRUE(this->edited().interpolatedElevation(tin::core::Point2D(left.x(), left.y()), &edited));
                ASSERT_TRUE(this->base().interpolatedElevation(tin::core::Point2D(left.x(), left.y()), &base));
                const double level = ground(middle.x(), middle.y()) + offset;
                EXPECT_NEAR(edited - base, level - ground(left.x(), left.y()), 1e-6) << "segment " << k;
                EXPECT_NEAR(std::fabs(edited - base), 1.0, 0.03) << "segment " << k;
            }
            EXPECT_TRUE(surface->tin() && surface->extendedTin());
            stack().undo();
            ASSERT_EQ(identities(edited()), start);
        }
    }
}

} // namespace
} // namespace varnel::test
