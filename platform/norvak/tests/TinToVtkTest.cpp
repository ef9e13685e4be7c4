#include "tinvtk/TinToVtk.h"

#include "orlin/core/Point.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"
#include "orlin/io/StlTinImporter.h"

#include <vtkCellArray.h>
#include <vtkDataArray.h>
#include <vtkIdList.h>
#include <vtkPointData.h>
#include <vtkPoints.h>
#include <vtkPolyData.h>

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using Triple = std::array<double, 3>;
// Each triangle as its corners' coordinates in the triangle's (and the cell's) order.
using Corners = std::multiset<std::array<Triple, 3>>;

Corners tinCorners(tin::core::Tin const& tin)
{
    Corners corners;
    for (auto const& triangle : tin.allTriangles()) {
        std::array<Triple, 3> t;
        for (int i = 0; i < 3; ++i) {
            auto const& p = triangle->point(i);
            t[i] = {p->x(), p->y(), p->elevation()};
        }
        corners.insert(t);
    }
    return corners;
}

Corners polyCorners(vtkPolyData* data)
{
    Corners corners;
    vtkCellArray* cells = data->GetPolys();
    vtkNew<vtkIdList> ids;
    for (cells->InitTraversal(); cells->GetNextCell(ids);) {
        EXPECT_EQ(ids->GetNumberOfIds(), 3);
        std::array<Triple, 3> t;
        for (int i = 0; i < 3; ++i) {
            data->GetPoint(ids->GetId(i), t[i].data());
        }
        corners.insert(t);
    }
    return corners;
}

// Survey-like TIN: an n x n grid at spacing h from (x0, y0), two triangles per cell.
tin::core::Tin gridTin(double x0, double y0, double h, int n)
{
    tin::core::Tin tin;
    auto at = [&](int i, int j) {
        double const x = x0 + i * h, y = y0 + j * h;
        return tin::core::Point(x, y, 20.0 + 0.001 * i + 0.37 * std::sin(0.3 * j));
    };
    for (int i = 0; i + 1 < n; ++i) {
        for (int j = 0; j + 1 < n; ++j) {
            tin.addTriangle(at(i, j), at(i + 1, j), at(i + 1, j + 1));
            tin.addTriangle(at(i, j), at(i + 1, j + 1), at(i, j + 1));
        }
    }
    return tin;
}

} // namespace

// The terrain of the real data: one VTK point per distinct vertex, one cell per triangle, and
// every cell spans the corners of one triangle.
TEST(TinToVtkTest, RealTerrainKeepsEveryTriangleOverSharedPoints)
{
    std::string const path = std::string(MOVARIN_SHARED_DATA_DIR) + "/real/stl/hmstl_scene-thick_binary.stl";
    tin::core::Tin const tin = tin::io::StlTinImporter().importTin(path.c_str());
    ASSERT_EQ(tin.allTriangles().size(), 29184u);

    vtkSmartPointer<vtkPolyData> const data = tinvtk::TinToVtk::toVtkPolyData(tin);
    EXPECT_EQ(data->GetNumberOfPoints(), tin.pointCount());
    EXPECT_EQ(data->GetNumberOfCells(), 29184);
    EXPECT_EQ(polyCorners(data), tinCorners(tin));
}

// Plane coordinates of a national grid (about 1e5 m) with millimetre steps: every coordinate
// and every elevation scalar survives to the millimetre, and the scalar is the elevation.
TEST(TinToVtkTest, LargeCoordinatesKeepTheirMillimetres)
{
    tin::core::Tin const tin = gridTin(-123456.789, 98765.432, 0.003, 12);
    vtkSmartPointer<vtkPolyData> const data = tinvtk::TinToVtk::toVtkPolyData(tin);
    ASSERT_EQ(data->GetNumberOfPoints(), 144);
    ASSERT_EQ(data->GetNumberOfPolys(), 2 * 11 * 11);

    vtkDataArray* scalars = data->GetPointData()->GetScalars();
    ASSERT_NE(scalars, nullptr);

    // Each VTK point must match one TIN vertex within a tenth of a millimetre; with a 3 mm grid
    // a point rounded to a centimetre would land nearer another vertex or none.
    std::map<std::pair<long long, long long>, double> vertices;
    for (auto const& triangle : tin.allTriangles()) {
        for (int i = 0; i < 3; ++i) {
            auto const& p = triangle->point(i);
            vertices[{std::llround(p->x() * 1e4), std::llround(p->y() * 1e4)}] = p->elevation();
        }
    }
    for (vtkIdType k = 0; k < data->GetNumberOfPoints(); ++k) {
        double xyz[3];
        data->GetPoint(k, xyz);
        auto const found = vertices.find({std::llround(xyz[0] * 1e4), std::llround(xyz[1] * 1e4)});
        ASSERT_NE(found, vertices.end()) << "point " << k << " at " << xyz[0] << ", " << xyz[1];
        EXPECT_NEAR(xyz[2], found->second, 1e-4);
        EXPECT_EQ(scalars->GetTuple1(k), xyz[2]);
    }
    EXPECT_EQ(polyCorners(data), tinCorners(tin));
}

// A TIN that lost a corner triangle (its lone vertex goes with it); the poly data stays as
// made when the TIN changes afterwards.
TEST(TinToVtkTest, RemovedTrianglesAndLaterEdits)
{
    tin::core::Tin tin = gridTin(500.0, 700.0, 1.0, 3);
    ASSERT_EQ(tin.pointCount(), 9);
    // The grid's corner (2, 0) lies in one triangle only: (1, 0), (2, 0), (2, 1).
    std::shared_ptr<tin::core::Triangle> lone;
    for (auto const& triangle : tin.allTriangles()) {
        for (int i = 0; i < 3; ++i) {
            if (triangle->point(i)->x() == 502.0 && triangle->point(i)->y() == 700.0) {
                lone = triangle;
            }
        }
    }
    ASSERT_NE(lone, nullptr);
    tin.removeTriangle(lone);
    vtkSmartPointer<vtkPolyData> const data = tinvtk::TinToVtk::toVtkPolyData(tin);
    EXPECT_EQ(data->GetNumberOfPoints(), 8);
    EXPECT_EQ(data->GetNumberOfPolys(), 7);
    EXPECT_EQ(polyCorners(data), tinCorners(tin));

    tin.clear();
    EXPECT_EQ(data->GetNumberOfPolys(), 7);
}
