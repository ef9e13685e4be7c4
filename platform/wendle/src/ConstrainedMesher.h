#ifndef TRIANGLECUI_CONSTRAINEDMESHER_H
#define TRIANGLECUI_CONSTRAINEDMESHER_H

#include "MeshOutput.h"
#include "TriangleSwitches.h"

#include <vector>

namespace trianglecui {

// Runs the constrained Delaunay triangulation and the refinements the switches ask for on input
// that TriangleProcess has already validated (even lengths, indices in range, finite coordinates,
// markers empty or one per segment). Without refinement the segments are cut at their crossings
// first (SegmentSplitter) and go in as subsegments meeting only at vertices. Should rounding leave
// two subsegments crossing (near-degenerate input), the run is repeated on subsegments cut until
// none cross, and if they do not settle, on a triangulation that resolves crossings itself, as the
// refinements always use. Throws TriangleProcessError when a refinement runs out of its vertex
// budget.
class ConstrainedMesher
{
public:
    // How the segments go in: Subsegments where the switches allow it (the default), or always
    // through the triangulation that keeps their history (tests compare the two).
    enum class Insertion { Subsegments, History };

    static MeshOutput run(TriangleSwitches const& switches, std::vector<double> const& points,
                          std::vector<int> const& segments, std::vector<int> const& segmentMarkers,
                          Insertion insertion = Insertion::Subsegments);
};

} // namespace trianglecui

#endif
