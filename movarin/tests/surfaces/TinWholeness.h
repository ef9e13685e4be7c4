#pragma once

// Whether an edited TIN is still whole, measured from its triangles' corner coordinates alone
// (no TIN query is trusted): its plan area, the sides that only one triangle has (the outline),
// sides held by three or more triangles, and triangles of no area. Sides are told by the plan
// positions of their ends, positions within the TIN library's point tolerance counting as one,
// so that the two sides of a vertical step (corners of two elevations at one position) are one
// side. Two TINs of the same coverage have the same area, and every outline side of one lies on
// the other's outline: a hole or a crack shows as outline sides inside, an overlap as area
// beyond the other's and as sides with three triangles.

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
    /// Triangles of no area: a corner within `NO_HEIGHT` of the line through the other two.
    int zeroArea = 0;
    /// Sides (by the plan positions of their ends) with one triangle, and with three or more.
    std::vector<Side> outline;
    std::vector<Side> crowded;

    /// A corner this near the line through the other two (m) makes a triangle of no area:
    /// collinear up to rounding, far below the TIN library's point tolerance (1e-8).
    static constexpr double NO_HEIGHT = 1e-10;

    /// How near two corners stand to count as one position: the point tolerance of the TIN
    /// library (its point factory takes such points as one unless their elevations differ).
    static constexpr double SAME_POSITION = 1e-8;

    /// Each corner position of the TIN to one position standing for all within SAME_POSITION
    /// of it in x and in y (transitively).
    static std::map<Position, Position> positionsOf(const tin::core::Tin& tin)
    {
        std::vector<Position> all;
        for (const auto& t : tin.allTriangles()) {
            for (int v = 0; v < 3; ++v) {
                all.emplace_back(t->point(v)->x(), t->point(v)->y());
            }
        }
        std::sort(all.begin(), all.end());
        all.erase(std::unique(all.begin(), all.end()), all.end());
        std::vector<std::size_t> parent(all.size());
        for (std::size_t i = 0; i < all.size(); ++i) {
            parent[i] = i;
        }
        const auto root = [&](std::size_t i) {
            while (parent[i] != i) {
                i = parent[i] = parent[parent[i]];
            }
            return i;
        };
        for (std::size_t i = 0; i < all.size(); ++i) {
            for (std::size_t j = i + 1; j < all.size() && all[j].first - all[i].first <= SAME_POSITION; ++j) {
                if (std::fabs(all[j].second - all[i].second) <= SAME_POSITION) {
                    parent[root(j)] = root(i);
                }
            }
        }
        std::map<Position, Position> to;
        for (std::size_t i = 0; i < all.size(); ++i) {
            to.emplace(all[i], all[root(i)]);
        }
        return to;
    }

    static TinWholeness of(const tin::core::Tin& tin)
    {
        TinWholeness w;
        const std::map<Position, Position> position = positionsOf(tin);
        std::map<Side, int> sides;
        for (const auto& t : tin.allTriangles()) {
            std::array<Position, 3> c;
            for (int v = 0; v < 3; ++v) {
                c[v] = {t->point(v)->x(), t->point(v)->y()};
            }
            const double a = 0.5 * std::fabs((c[1].first - c[0].first) * (c[2].second - c[0].second)
                                             - (c[2].first - c[0].first) * (c[1].second - c[0].second));
            w.area += a;
            double longest = 0.0;
            for (int v = 0; v < 3; ++v) {
                longest = std::max(longest, std::hypot(c[(v + 1) % 3].first - c[v].first,
                                                       c[(v + 1) % 3].second - c[v].second));
            }
            // The height over the longest side.
            const double height = longest > 0.0 ? 2.0 * a / longest : 0.0;
            w.zeroArea += height < NO_HEIGHT ? 1 : 0;
            for (int v = 0; v < 3; ++v) {
                const Position& a = position.at(c[v]);
                const Position& b = position.at(c[(v + 1) % 3]);
                if (a != b) {
                    ++sides[std::minmax(a, b)];
                }
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
