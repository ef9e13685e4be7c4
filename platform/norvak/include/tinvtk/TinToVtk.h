#pragma once

#include <vtkSmartPointer.h>

class vtkPolyData;

namespace tin::core {
class Tin;
}

namespace tinvtk {

/// A TIN as VTK poly data, for drawing it in 3-D.
///
/// Every vertex of the TIN becomes one VTK point, numbered in the order the triangles
/// (in the TIN's set order) first use it, so neighbouring triangles share their corners
/// and a mapper can smooth across them. Every triangle becomes one polygon cell with its
/// corners in the triangle's order (point1, point2, point3). Coordinates are stored as
/// doubles, unshifted: plane coordinates of some 1e5 m keep their millimetres (single
/// precision would round them to about a centimetre). The elevation of each point is also
/// the active point scalar array, named "Elevation", for colouring by height.
///
/// An empty TIN gives poly data with no points and no cells. The TIN is only read, but
/// it must not change during the call (its triangle set is walked once).
///
/// The caller owns the returned object (a new one at every call; nothing is shared with
/// the TIN). Cost: linear in the triangles, one look-up per corner in a flat address table
/// of the vertices (loaded a few triangles ahead); under twice the bare walk that copies
/// every corner's coordinates (bench/bench_tin_to_vtk.cpp). The result holds 32 bytes per
/// vertex and 32 per triangle.
class TinToVtk {
public:
    TinToVtk() = delete;

    static vtkSmartPointer<vtkPolyData> toVtkPolyData(tin::core::Tin const& tin);
};

} // namespace tinvtk
