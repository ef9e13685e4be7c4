#ifndef TRIANGLECUI_MESHOUTPUT_H
#define TRIANGLECUI_MESHOUTPUT_H

#include "OutputArray.h"

#include <cstddef>

namespace trianglecui {

// The mesh of one run, ready for a triangleio_t: every array already the record's own (indices
// with the run's index base). The edge arrays (only with switch e) have room for more edges than
// edgeCount; the rest is never touched.
struct MeshOutput
{
    OutputArray<double> points;     // x, y per output vertex
    OutputArray<int> triangles;     // three vertex indices per triangle, counter-clockwise
    OutputArray<int> edges;         // two vertex indices per edge
    OutputArray<int> edgeMarkers;   // one marker per edge
    std::size_t edgeCount = 0;
};

} // namespace trianglecui

#endif
