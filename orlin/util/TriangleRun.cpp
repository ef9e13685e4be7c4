#include "orlin/util/TriangleRun.h"

#include <cstring>

namespace tin {
namespace util {

TriangleRun::TriangleRun(std::string const& switches, std::vector<double> const& points,
                         std::vector<int> const& segments, std::vector<int> const& segmentMarkers)
{
    std::memset(&m_out, 0, sizeof(m_out));
    std::vector<int> const none;
    trianglecui::TriangleProcess::execute(switches, points, none, segments, segmentMarkers, none,
                                          none, &m_out, true);
}

TriangleRun::~TriangleRun()
{
    void* arrays[] = {m_out.pointlist,        m_out.pointattributelist, m_out.pointmarkerlist,
                      m_out.trianglelist,     m_out.triangleattributelist, m_out.trianglearealist,
                      m_out.neighborlist,     m_out.segmentlist,        m_out.segmentmarkerlist,
                      m_out.regionlist,       m_out.edgelist,           m_out.edgemarkerlist};
    for (void* a : arrays) {
        if (a != nullptr) {
            triangle_free(a);
        }
    }
}

int TriangleRun::pointCount() const { return m_out.numberofpoints; }
double TriangleRun::x(int i) const { return m_out.pointlist[2 * i]; }
double TriangleRun::y(int i) const { return m_out.pointlist[2 * i + 1]; }
int TriangleRun::triangleCount() const { return m_out.numberoftriangles; }
int TriangleRun::corner(int i, int c) const { return m_out.trianglelist[3 * i + c]; }
int TriangleRun::edgeCount() const { return m_out.numberofedges; }
int TriangleRun::edgeEnd(int i, int e) const { return m_out.edgelist[2 * i + e]; }
int TriangleRun::edgeMarker(int i) const
{
    return m_out.edgemarkerlist != nullptr ? m_out.edgemarkerlist[i] : 0;
}

}  // namespace util
}  // namespace tin
