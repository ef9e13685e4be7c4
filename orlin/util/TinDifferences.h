#pragma once

namespace tin {
namespace core {
class Tin;
}  // namespace core

namespace util {

// Cut and fill between two TINs over the area both cover, for the soil-volume calculation.
// The two are overlaid (where their bounding rectangles meet) into regions in which neither
// surface changes sides; regions covered by only one TIN are dropped. Triangles both TINs hold
// (the same objects), and pairs of triangles over the same three vertex objects, add nothing
// and are left out of the overlay, so comparing a TIN with an edited copy costs in proportion
// to the edit, also after both were saved and read back (the reader interns points, so the two
// share vertex objects but no triangles). Finding the pairs takes a hash table over the shorter
// of the two lists of unshared triangles, 43 to 86 bytes per triangle, while the call runs.
// For each region the volume between b and a is V(b) - V(a), V being the sum over the region's
// triangles of planar area times mean elevation. *plus sums the positive region volumes (b
// above a: fill when a is the ground before editing), *minus the others (zero or negative: cut).
//
// *ok is false until it succeeds; a failed triangulation or a GEOS topology error leaves it false
// (and plus and minus as they were). Not thread-safe (the point factory is process-wide).
class TinDifferences {
public:
    static void calculateDifferences(core::Tin const& a, core::Tin const& b, bool* ok, double* plus,
                                     double* minus);
    // Sum of planar area times mean elevation over the triangles.
    static double volume(core::Tin const& tin);
};

}  // namespace util
}  // namespace tin
