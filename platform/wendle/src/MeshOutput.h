#ifndef TRIANGLECUI_MESHOUTPUT_H
#define TRIANGLECUI_MESHOUTPUT_H

#include "OutputArray.h"

#include <vector>

namespace trianglecui {

// The mesh of one run, ready for a triangleio_t: points and triangles already in the record's own
// arrays (triangle indices with the run's index base), edges 0-based (only with switch e).
struct MeshOutput
{
    OutputArray<double> points;     // x, y per output vertex
    OutputArray<int> triangles;     // three vertex indices per triangle, counter-clockwise
    std::vector<int> edges;         // two vertex indices per edge
    std::vector<int> edgeMarkers;   // one marker per edge
};

} // namespace trianglecui

#endif
