#pragma once

#include <cmath>

namespace tin {
namespace core {

/// Which numbers the program takes as a plan coordinate (x or y, in metres) from the user or
/// from a file: finite ones of magnitude at most MAX_MAGNITUDE. No plane coordinate system
/// reaches a thousand kilometres a thousand times over, and beyond it the products of the
/// crossing and distance tests lose every digit (at 1e154 and more they overflow), so such a
/// number is refused where it is typed or read, as a non-number is.
///
/// Stateless; header only.
class PlanCoordinate {
public:
    PlanCoordinate() = delete;

    static constexpr double MAX_MAGNITUDE = 1e9;

    /// Whether `v` is finite and within MAX_MAGNITUDE of 0.
    static bool isUsable(double v) { return std::fabs(v) <= MAX_MAGNITUDE; }
    static bool isUsable(double x, double y) { return isUsable(x) && isUsable(y); }
};

} // namespace core
} // namespace tin
