#include "orlin/util/PolygonToTin.h"

#include "orlin/core/Point.h"
#include "orlin/core/Point2D.h"
#include "orlin/core/Polygon.h"
#include "orlin/core/Rect.h"
#include "orlin/core/Tin.h"
#include "orlin/util/TriangleRecord.h"

#include <trianglecui/TriangleProcess.h>

#include <vector>

namespace tin {
namespace util {

core::Tin PolygonToTin::convert(core::Polygon const& polygon)
{
    core::Tin result;
    std::vector<core::Point2D> vertices = polygon.points();
    int n = static_cast<int>(vertices.size());
    if (n < 3) {
        return result;
    }

    core::Rect box = polygon.boundingRect();
    double originX = (box.xMin() + box.xMax()) * 0.5;
    double originY = (box.yMin() + box.yMax()) * 0.5;

    std::vector<double> points;
    points.reserve(2 * static_cast<std::size_t>(n));
    for (auto const& v : vertices) {
        points.push_back(v.x() - originX);
        points.push_back(v.y() - originY);
    }
    std::vector<int> segments;
    segments.reserve(2 * static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        segments.push_back(i);
        segments.push_back((i + 1) % n);
    }

    TriangleRecord record;
    std::vector<int> none;
    trianglecui::TriangleProcess::execute("epjzQ", points, none, segments, none, none, none,
                                          record.get(), true);
    double const* out = record->pointlist;
    for (int t = 0; t < record->numberoftriangles; ++t) {
        int const* c = record->trianglelist + 3 * t;
        auto corner = [&](int k) { return core::Point(originX + out[2 * c[k]], originY + out[2 * c[k] + 1]); };
        result.addTriangle(corner(0), corner(1), corner(2));
    }
    return result;
}

} // namespace util
} // namespace tin
