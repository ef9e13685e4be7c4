#ifndef TRIANGLECUI_MESHOUTPUT_H
#define TRIANGLECUI_MESHOUTPUT_H

#include <vector>

namespace trianglecui {

// The mesh of one run before it is copied into a triangleio_t. Indices are 0-based.
struct MeshOutput
{
    std::vector<double> points;     // x, y per output vertex
    std::vector<int> triangles;     // three vertex indices per triangle, counter-clockwise
    std::vector<int> edges;         // two vertex indices per edge (only with switch e)
    std::vector<int> edgeMarkers;   // one marker per edge (only with switch e)
};

} // namespace trianglecui

#endif
