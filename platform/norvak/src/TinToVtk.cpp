#include "tinvtk/TinToVtk.h"

#include "orlin/core/AddressMapT.h"
#include "orlin/core/Point.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"

#include <vtkCellArray.h>
#include <vtkDoubleArray.h>
#include <vtkIdTypeArray.h>
#include <vtkNew.h>
#include <vtkPointData.h>
#include <vtkPoints.h>
#include <vtkPolyData.h>

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <stdexcept>

namespace tinvtk {

namespace {

// The arrays of the result, sized before the walk: the TIN knows its vertex count.
struct Arrays {
    Arrays(vtkIdType pointCount, vtkIdType triangleCount)
    {
        coordinates->SetNumberOfComponents(3);
        coordinates->SetNumberOfTuples(pointCount);
        elevations->SetName("Elevation");
        elevations->SetNumberOfTuples(pointCount);
        offsets->SetNumberOfTuples(triangleCount + 1);
        connectivity->SetNumberOfTuples(3 * triangleCount);
    }

    vtkNew<vtkDoubleArray> coordinates;
    vtkNew<vtkDoubleArray> elevations;
    vtkNew<vtkIdTypeArray> offsets;
    vtkNew<vtkIdTypeArray> connectivity;
};

// Numbers the vertices in order of first use and writes each one's coordinates once, and
// every triangle's three numbers.
void fill(tin::core::Tin const& tin, vtkIdType pointCount, Arrays& arrays)
{
    tin::core::AddressMapT<tin::core::Point, vtkIdType> numbers;
    numbers.reserve(static_cast<std::size_t>(pointCount));
    double* xyz = arrays.coordinates->GetPointer(0);
    double* z = arrays.elevations->GetPointer(0);
    vtkIdType* corner = arrays.connectivity->GetPointer(0);
    vtkIdType next = 0;
    // The table slots of the corners a few triangles ahead are loaded while the current
    // ones are numbered, so that their cache misses overlap.
    constexpr int AHEAD = 8;
    auto const& triangles = tin.allTriangles();
    auto ahead = std::next(triangles.begin(), static_cast<std::ptrdiff_t>(std::min<std::size_t>(AHEAD, triangles.size())));
    for (auto const& triangle : triangles) {
        if (ahead != triangles.end()) {
            for (int i = 0; i < 3; ++i) {
                numbers.prefetch((*ahead)->point(i).get());
            }
            ++ahead;
        }
        for (int i = 0; i < 3; ++i) {
            tin::core::Point const* point = triangle->point(i).get();
            auto const [number, isNew] = numbers.insert(point, next);
            if (isNew) {
                if (next == pointCount) {
                    throw std::logic_error("TIN triangles use more vertices than the TIN counts");
                }
                xyz[3 * next] = point->x();
                xyz[3 * next + 1] = point->y();
                xyz[3 * next + 2] = point->elevation();
                z[next] = point->elevation();
                ++next;
            }
            *corner++ = *number;
        }
    }
    if (next != pointCount) {
        throw std::logic_error("TIN triangles use fewer vertices than the TIN counts");
    }
    vtkIdType* offset = arrays.offsets->GetPointer(0);
    vtkIdType const count = arrays.offsets->GetNumberOfTuples();
    for (vtkIdType k = 0; k < count; ++k) {
        offset[k] = 3 * k;
    }
}

} // namespace

vtkSmartPointer<vtkPolyData> TinToVtk::toVtkPolyData(tin::core::Tin const& tin)
{
    auto const pointCount = static_cast<vtkIdType>(tin.pointCount());
    auto const triangleCount = static_cast<vtkIdType>(tin.allTriangles().size());
    Arrays arrays(pointCount, triangleCount);
    fill(tin, pointCount, arrays);

    vtkNew<vtkPoints> points;
    points->SetData(arrays.coordinates);
    vtkNew<vtkCellArray> polygons;
    polygons->SetData(arrays.offsets, arrays.connectivity);

    auto polyData = vtkSmartPointer<vtkPolyData>::New();
    polyData->SetPoints(points);
    polyData->SetPolys(polygons);
    polyData->GetPointData()->SetScalars(arrays.elevations);
    return polyData;
}

} // namespace tinvtk
