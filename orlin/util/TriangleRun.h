#pragma once

#include <string>
#include <vector>

#include "orlin/util/TriangleRecord.h"
#include "trianglecui/TriangleProcess.h"

namespace tin {
namespace util {

// One run of the triangulation process over a planar straight-line graph. Its TriangleRecord
// owns the result and releases its arrays when the run dies (also when the caller leaves by
// an exception).
// Failures of the run pass on as trianglecui::TriangleProcessError.
class TriangleRun {
public:
    TriangleRun(std::string const& switches, std::vector<double> const& points,
                std::vector<int> const& segments, std::vector<int> const& segmentMarkers);
    TriangleRun(TriangleRun const&) = delete;
    TriangleRun& operator=(TriangleRun const&) = delete;

    int pointCount() const;
    double x(int i) const;
    double y(int i) const;
    int triangleCount() const;
    // Corner c (0..2) of triangle i as an output point index.
    int corner(int i, int c) const;
    int edgeCount() const;
    // End e (0, 1) of output edge i as an output point index.
    int edgeEnd(int i, int e) const;
    int edgeMarker(int i) const;

private:
    TriangleRecord m_out;
};

}  // namespace util
}  // namespace tin
