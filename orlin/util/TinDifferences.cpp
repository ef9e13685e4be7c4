#include "orlin/util/TinDifferences.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include <geos/geom/Point.h>
#include <geos/geom/Polygon.h>
#include <geos/util/TopologyException.h>

#include "orlin/core/GeometryFunctions.h"
#include "orlin/core/Point.h"
#include "orlin/core/Point2D.h"
#include "orlin/core/Point2DIRing.h"
#include "orlin/core/Point2DIRingTree.h"
#include "orlin/core/Rect.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"
#include "orlin/util/RegionTinMap.h"
#include "orlin/util/TinMerge.h"
#include "orlin/util/TinOverlay.h"
#include "orlin/support/HashMix.h"
#include "orlin/support/LinearProbingTableT.h"
#include "trianglecui/TriangleProcessError.h"

namespace tin {
namespace util {

using core::Point2DIRingTree;
using core::Tin;

namespace {

// The triangles of tin that meet rect and that other does not hold. When rect spans the whole
// TIN (as for an edited copy) every triangle meets it: the set is read as it stands, with no
// spatial query, which would first build the index of the whole TIN.
std::vector<std::shared_ptr<core::Triangle>> trianglesOnlyIn(Tin const& tin, Tin const& other,
                                                             core::Rect const& rect)
{
    std::vector<std::shared_ptr<core::Triangle>> result;
    auto keep = [&](std::shared_ptr<core::Triangle> const& t) {
        if (!other.containsTriangle(t)) {
            result.push_back(t);
        }
    };
    if (tin.boundingRect().isInside(rect)) {
        for (auto const& t : tin.allTriangles()) {
            keep(t);
        }
    } else {
        for (auto const& t : tin.findTrianglesIntersectRect(rect)) {
            keep(t);
        }
    }
    return result;
}

// Triangles of two TINs that stand on the same three vertex objects, found by a hash on the
// sorted triple of vertex addresses. Two TINs read from files share their vertex objects (the
// reader interns points) but no triangle objects, so this is how the unchanged part of an edit
// is recognised after a save and reopen.
class TwinTriangles {
public:
    // Removes from both lists, one for one, the triangles whose triple the other list holds.
    static void drop(std::vector<std::shared_ptr<core::Triangle>>& first,
                     std::vector<std::shared_ptr<core::Triangle>>& second)
    {
        if (first.empty() || second.empty()) {
            return;
        }
        // The table holds the shorter list; the longer one only probes it.
        bool const firstIsShorter = first.size() <= second.size();
        auto& held = firstIsShorter ? first : second;
        auto& probing = firstIsShorter ? second : first;
        TwinTriangles twins;
        twins.m_table.reserve(held.size());
        for (auto const& t : held) {
            Slot* slot = twins.claim(tripleOf(*t));
            ++slot->held;
        }
        erase(probing, [&](Triple const& key) {
            Slot* slot = twins.find(key);
            if (slot == nullptr || slot->matched == slot->held) {
                return false;
            }
            ++slot->matched;
            return true;
        });
        erase(held, [&](Triple const& key) {
            Slot* slot = twins.find(key);
            if (slot->matched == 0) {
                return false;
            }
            --slot->matched;
            return true;
        });
    }

private:
    using Triple = std::array<core::Point const*, 3>;

    struct Slot {
        Triple key{};
        std::uint32_t held = 0;
        std::uint32_t matched = 0;
    };
    struct SlotTraits {
        static std::size_t hashOf(Slot const& s) { return hashOf(s.key); }
        static std::size_t hashOf(Triple const& k)
        {
            auto word = [](core::Point const* p) {
                return static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(p));
            };
            return static_cast<std::size_t>(
                support::mixWords(support::mixWords(word(k[0]), word(k[1])), word(k[2])));
        }
        static bool occupied(Slot const& s) { return s.key[0] != nullptr; }
    };

    static Triple tripleOf(core::Triangle const& t)
    {
        Triple k{t.point1().get(), t.point2().get(), t.point3().get()};
        std::sort(k.begin(), k.end(), std::less<core::Point const*>());
        return k;
    }

    Slot* claim(Triple const& key)
    {
        auto [slot, made] = m_table.claim(SlotTraits::hashOf(key), [&](Slot const& s) { return s.key == key; });
        if (made) {
            slot->key = key;
        }
        return slot;
    }

    Slot* find(Triple const& key)
    {
        return const_cast<Slot*>(
            m_table.find(SlotTraits::hashOf(key), [&](Slot const& s) { return s.key == key; }));
    }

    // Keeps, in order, the triangles for which twin(triple) is false.
    template <class Twin>
    static void erase(std::vector<std::shared_ptr<core::Triangle>>& triangles, Twin twin)
    {
        triangles.erase(std::remove_if(triangles.begin(), triangles.end(),
                                       [&](std::shared_ptr<core::Triangle> const& t) { return twin(tripleOf(*t)); }),
                        triangles.end());
    }

    support::LinearProbingTableT<Slot, SlotTraits> m_table;
};

}  // namespace

double TinDifferences::volume(Tin const& tin)
{
    double sum = 0.0;
    for (auto const& t : tin.allTriangles()) {
        auto const& p1 = *t->point1();
        auto const& p2 = *t->point2();
        auto const& p3 = *t->point3();
        double const cross =
            (p3.x() - p1.x()) * (p2.y() - p1.y()) - (p3.y() - p1.y()) * (p2.x() - p1.x());
        double const area = std::abs(cross) / 2.0;
        double const meanElevation = ((p2.elevation() + p1.elevation()) + p3.elevation()) / 3.0;
        sum += area * meanElevation;
    }
    return sum;
}

void TinDifferences::calculateDifferences(Tin const& a, Tin const& b, bool* ok, double* plus,
                                          double* minus)
{
    *ok = false;
    try {
        core::Rect const overlapRect = core::intersectRects(a.boundingRect(), b.boundingRect());
        // Triangles both TINs hold (an edited copy shares everything it did not change), and
        // triangles of both over the same three vertex objects (the same TINs after a save and
        // reopen), lie on both surfaces at once and add nothing to either sum; the overlay
        // runs on the rest.
        auto firstOnly = trianglesOnlyIn(a, b, overlapRect);
        auto secondOnly = trianglesOnlyIn(b, a, overlapRect);
        TwinTriangles::drop(firstOnly, secondOnly);
        Tin const first(firstOnly);
        Tin const second(secondOnly);
        auto coveredByBoth = [&](Point2DIRingTree const& tree) {
            std::unique_ptr<geos::geom::Point> p(tree.geosPolygon()->getInteriorPoint());
            core::Point2D const at(p->getX(), p->getY());
            double z = 0.0;
            return first.interpolatedElevation(at, &z) && second.interpolatedElevation(at, &z);
        };
        std::vector<std::shared_ptr<Point2DIRingTree>> regions;
        RegionTinMap firstRegions, secondRegions;
        TinOverlay::overlayTins(
            first, second,
            [&](std::vector<std::shared_ptr<Point2DIRingTree>>& trees, Tin const&, Tin const&) {
                TinMerge::keepOrDropRegions(trees, coveredByBoth);
            },
            &regions, &firstRegions, &secondRegions);

        std::vector<double> differences;
        for (auto const& tree : regions) {
            for (auto const& member : Point2DIRingTree::allMemberRings(tree)) {
                auto const* key = member->ring().get();
                auto const inFirst = firstRegions.find(key);
                auto const inSecond = secondRegions.find(key);
                if (inFirst != firstRegions.end() && inSecond != secondRegions.end()) {
                    differences.push_back(volume(inSecond->second) - volume(inFirst->second));
                }
            }
        }
        *plus = 0.0;
        *minus = 0.0;
        for (double d : differences) {
            (d > 0.0 ? *plus : *minus) += d;
        }
        *ok = true;
    } catch (trianglecui::TriangleProcessError const&) {
        *ok = false;
    } catch (geos::util::TopologyException const&) {
        *ok = false;
    }
}

}  // namespace util
}  // namespace tin
