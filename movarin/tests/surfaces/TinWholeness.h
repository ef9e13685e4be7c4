#pragma once

// Whether an edited TIN is still whole, measured from its triangles' corner coordinates alone
// (no TIN query is trusted): its plan area, the sides that only one triangle has (the outline),
// sides held by three or more triangles, and triangles of no area. Two TINs of the same
// coverage have the same area, and every outline side of one lies on the other's outline: a
// hole shows as outline sides inside, an overlap as area beyond the other's.

#include "orlin/core/Point.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <ostream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace varnel::test {

struct TinWholeness {
    using Position = std::pair<double, double>;
    using Side = std::pair<Position, Position>;

    double area = 0.0;
    /// Triangles whose plan area is below `ZERO_AREA` m2.
    int zeroArea = 0;
    /// Sides (by the plan positions of their ends) with one triangle, and with three or more.
    std::vector<Side> outline;
    std::vector<Side> crowded;

    static constexpr double ZERO_AREA = 1e-9;

    static TinWholeness of(const tin::core::Tin& tin)
    {
        TinWholeness w;
        std::map<Side, int> sides;
        for (const auto& t : tin.allTriangles()) {
            std::array<Position, 3> c;
            for (int v = 0; v < 3; ++v) {
                c[v] = {t->point(v)->x(), t->point(v)->y()};
            }
            const double a = 0.5 * std::fabs((c[1].first - c[0].first) * (c[2].second - c[0].second)
                                             - (c[2].first - c[0].first) * (c[1].second - c[0].second));
            w.area += a;
            w.zeroArea += a < ZERO_AREA ? 1 : 0;
            for (int v = 0; v < 3; ++v) {
                ++sides[std::minmax(c[v], c[(v + 1) % 3])];
            }
        }
        for (const auto& [side, count] : sides) {
            if (count == 1) {
                w.outline.push_back(side);
            } else if (count > 2) {
                w.crowded.push_back(side);
            }
        }
        return w;
    }

    double outlineLength() const
    {
        double length = 0.0;
        for (const Side& s : outline) {
            length += std::hypot(s.second.first - s.first.first, s.second.second - s.first.second);
        }
        return length;
    }

    /// The outline sides of this TIN that lie on no outline side of `other` (both ends on the
    /// same side of `other`, within 1e-9 m).
    std::vector<Side> outlineOff(const TinWholeness& other) const
    {
        const auto onSegment = [](const Position& p, const Side& s) {
            const double dx = s.second.first - s.first.first;
            const double dy = s.second.second - s.first.second;
            const double length = std::hypot(dx, dy);
            const double px = p.first - s.first.first;
            const double py = p.second - s.first.second;
            const double along = (px * dx + py * dy) / length;
            return std::fabs(px * dy - py * dx) / length <= 1e-9 && along >= -1e-9 && along <= length + 1e-9;
        };
        std::vector<Side> off;
        for (const Side& s : outline) {
            const bool lies = std::any_of(other.outline.begin(), other.outline.end(), [&](const Side& o) {
                return onSegment(s.first, o) && onSegment(s.second, o);
            });
            if (!lies) {
                off.push_back(s);
            }
        }
        return off;
    }

    /// What differs from the whole TIN `base` (empty when this TIN has base's coverage and
    /// is sound): for the failure message of a test.
    std::string faultsAgainst(const TinWholeness& base) const
    {
        std::ostringstream out;
        if (std::fabs(area - base.area) > 1e-6 * std::max(1.0, base.area)) {
            out << "plan area " << area << " against " << base.area << "; ";
        }
        if (std::fabs(outlineLength() - base.outlineLength()) > 1e-6 * std::max(1.0, base.outlineLength())) {
            out << "outline length " << outlineLength() << " against " << base.outlineLength() << "; ";
        }
        const std::vector<Side> off = outlineOff(base);
        if (!off.empty()) {
            out << off.size() << " outline sides off the base's outline, first (" << off[0].first.first << ", "
                << off[0].first.second << ") (" << off[0].second.first << ", " << off[0].second.second << "); ";
        }
        if (!crowded.empty()) {
            out << crowded.size() << " sides with three or more triangles; ";
        }
        if (zeroArea > 0) {
            out << zeroArea << " triangles of no area; ";
        }
        return out.str();
    }
};

} // namespace varnel::test
