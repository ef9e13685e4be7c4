#include "trianglecui/TriangleProcess.h"

#include "ConstrainedMesher.h"
#include "TriangleSwitches.h"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

namespace trianglecui {

namespace {

void validate(std::vector<double> const& points, std::vector<int> const& a,
              std::vector<int> const& segments, std::vector<int> const& segmentMarkers,
              std::vector<int> const& b, std::vector<int> const& c)
{
    if (points.size() % 2 != 0)
        throw TriangleProcessError("Point list has an odd number of coordinates ("
                                   + std::to_string(points.size()) + ")");
    if (points.size() / 2 > static_cast<std::size_t>(INT_MAX / 2))
        throw TriangleProcessError("Too many points for one triangulation ("
                                   + std::to_string(points.size() / 2) + ")");
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (!std::isfinite(points[i]))
            throw TriangleProcessError("Point " + std::to_string(i / 2)
                                       + " has a non-finite coordinate");
    }
    if (segments.size() % 2 != 0)
        throw TriangleProcessError("Segment list has an odd number of indices ("
                                   + std::to_string(segments.size()) + ")");
    long long const vertexCount = static_cast<long long>(points.size() / 2);
    for (std::size_t i = 0; i < segments.size(); ++i) {
        if (segments[i] < 0 || segments[i] >= vertexCount)
            throw TriangleProcessError("Segment " + std::to_string(i / 2) + " refers to vertex "
                                       + std::to_string(segments[i]) + ", but there are "
                                       + std::to_string(vertexCount) + " vertices");
    }
    if (!segmentMarkers.empty() && segmentMarkers.size() != segments.size() / 2)
        throw TriangleProcessError("Segment marker list has " + std::to_string(segmentMarkers.size())
                                   + " entries for " + std::to_string(segments.size() / 2)
                                   + " segments");
    if (!a.empty() || !b.empty() || !c.empty())
        throw TriangleProcessError("Point attributes, hole and region lists are not supported");
}

// Every array moves from the mesh into the record.
void fill(triangleio_t* out, MeshOutput& mesh, TriangleSwitches const& switches)
{
    triangleio_t record;
    std::memset(&record, 0, sizeof record);
    if (switches.edgeList && mesh.edgeCount > 0) {
        record.numberofedges = static_cast<int>(mesh.edgeCount);
        record.edgelist = mesh.edges.release();
        record.edgemarkerlist = mesh.edgeMarkers.release();
    }
    record.numberofpoints = static_cast<int>(mesh.points.size() / 2);
    record.pointlist = mesh.points.release();
    record.numberoftriangles = static_cast<int>(mesh.triangles.size() / 3);
    record.trianglelist = mesh.triangles.release();
    record.numberofcorners = 3;
    *out = record;
}

} // namespace

void TriangleProcess::execute(std::string const& switches, std::vector<double> const& points,
                              std::vector<int> const& a, std::vector<int> const& segments,
                              std::vector<int> const& segmentMarkers, std::vector<int> const& b,
                              std::vector<int> const& c, triangleio_t* out, bool /*flag*/)
{
    if (out == nullptr)
        throw TriangleProcessError("No output record given to the triangulation");
    TriangleSwitches const parsed = TriangleSwitches::parse(switches);
    validate(points, a, segments, segmentMarkers, b, c);
    MeshOutput mesh = ConstrainedMesher::run(parsed, points, segments, segmentMarkers);
    fill(out, mesh, parsed);
}

} // namespace trianglecui
