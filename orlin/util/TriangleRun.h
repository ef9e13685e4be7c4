#pragma once

#include <string>
#include <vector>

#include "trianglecui/TriangleProcess.h"

namespace tin {
namespace util {

// One run of the triangulation process over a planar straight-line graph, owning the result
// record and releasing its arrays when it dies (also when the caller leaves by an exception).
// Failures of the run pass on as trianglecui::TriangleProcessError.
class TriangleRun {
public:
    TriangleRun(std::string const& switches, std::vector<double> const& points,
                std::vector<int> const& segments, std::vector<int> const& segmentMarkers);
    TriangleRun(TriangleRun const&) = delete;
    TriangleRun& operator=(TriangleRun const&) = delete;
    ~TriangleRun();

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
    triangleio_t m_out;
};

}  // namespace util
}  // namespace tin
