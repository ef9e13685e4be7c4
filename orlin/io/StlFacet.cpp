#include "orlin/io/StlFacet.h"

#include "orlin/core/Point.h"

#include <cmath>

namespace tin::io {

StlFacet::StlFacet(const tin::core::Triangle& triangle) {
    const tin::core::Point& p1 = *triangle.point1();
    const tin::core::Point& p2 = *triangle.point2();
    const tin::core::Point& p3 = *triangle.point3();
    const double a[3] = {p2.x() - p1.x(), p2.y() - p1.y(), p2.elevation() - p1.elevation()};
    const double b[3] = {p3.x() - p1.x(), p3.y() - p1.y(), p3.elevation() - p1.elevation()};
    double n[3] = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
    const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    if (length > 0.0) {
        for (double& c : n) {
            c /= length;
        }
    } else {
        n[0] = n[1] = n[2] = 0.0;
    }
    const bool downwards = n[2] < 0.0;
    const tin::core::Point* order[3] = {&p1, downwards ? &p3 : &p2, downwards ? &p2 : &p3};
    for (int i = 0; i < 3; ++i) {
        normal[i] = downwards ? -n[i] : n[i];
        vertex[i][0] = order[i]->x();
        vertex[i][1] = order[i]->y();
        vertex[i][2] = order[i]->elevation();
    }
}

} // namespace tin::io
