#include "orlin/util/TriangleRun.h"

namespace tin {
namespace util {

TriangleRun::TriangleRun(std::string const& switches, std::vector<double> const& points,
                         std::vector<int> const& segments, std::vector<int> const& segmentMarkers)
{
    std::vector<int> const none;
    trianglecui::TriangleProcess::execute(switches, points, none, segments, segmentMarkers, none,
                                          none, m_out.get(), true);
}

int TriangleRun::pointCount() const { return m_out->numberofpoints; }
double TriangleRun::x(int i) const { return m_out->pointlist[2 * i]; }
double TriangleRun::y(int i) const { return m_out->pointlist[2 * i + 1]; }
int TriangleRun::triangleCount() const { return m_out->numberoftriangles; }
int TriangleRun::corner(int i, int c) const { return m_out->trianglelist[3 * i + c]; }
int TriangleRun::edgeCount() const { return m_out->numberofedges; }
int TriangleRun::edgeEnd(int i, int e) const { return m_out->edgelist[2 * i + e]; }
int TriangleRun::edgeMarker(int i) const
{
    return m_out->edgemarkerlist != nullptr ? m_out->edgemarkerlist[i] : 0;
}

}  // namespace util
}  // namespace tin
