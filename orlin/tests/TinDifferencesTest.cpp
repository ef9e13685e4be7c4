// Cut and fill of edited TINs as they come back from TIN archives: the two TINs then share
// their vertex objects (the reader interns points) but no triangle objects. The comparison
// leaves out the triangles both stand on; the result must be that of TINs built from points
// of their own, which share nothing and go through the overlay whole.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "IoTestSupport.h"
#include "OverlayTestSupport.h"
#include "TinTestSupport.h"
#include "orlin/core/Point.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"
#include "orlin/io/TinTinExporter.h"
#include "orlin/io/TinTinImporter.h"
#include "orlin/util/TinDifferences.h"
#include "orlin/util/TinMerge.h"

using tin::core::Point;
using tin::core::Tin;
using tin::util::TinDifferences;

namespace {

struct Sums {
    double plus = 0.0;
    double minus = 0.0;
};

Sums differences(Tin const& a, Tin const& b)
{
    bool ok = false;
    Sums s;
    TinDifferences::calculateDifferences(a, b, &ok, &s.plus, &s.minus);
    EXPECT_TRUE(ok);
    return s;
}

// The TIN over new point objects of its own (not the point factory's), so that it shares no
// vertex, edge or triangle with any other TIN.
Tin detached(Tin const& tin)
{
    std::map<Point const*, std::shared_ptr<Point>> copies;
    auto copyOf = [&](std::shared_ptr<Point> const& p) {
        auto& c = copies[p.get()];
        if (!c) {
            c = std::make_shared<Point>(p->x(), p->y(), p->elevation());
        }
        return c;
    };
    Tin result;
    for (auto const& t : tin.allTriangles()) {
        result.addTriangle(copyOf(t->point1()), copyOf(t->point2()), copyOf(t->point3()));
    }
    return result;
}

Tin readBack(Tin const& tin, std::string const& name)
{
    std::string const path = iotest::scratchFile(name);
    tin::io::TinTinExporter().exportTin(path.c_str(), tin);
    return tin::io::TinTinImporter().importTin(path.c_str());
}

// A wavy survey of jittered points over [0, 10]^2 and a tilted plane near its elevation merged
// into a copy of it (add or subtract) over a random rectangle that may reach past its edge.
struct RandomEdit {
    Tin base;
    Tin edited;
};

RandomEdit randomEdit(std::mt19937& random)
{
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    int const side = 5 + static_cast<int>(unit(random) * 5);
    double const a = 0.2 + unit(random), b = 0.5 * unit(random);
    std::vector<overlaytest::Vertex> vertices;
    for (int j = 0; j <= side; ++j) {
        for (int i = 0; i <= side; ++i) {
            bool const rim = i == 0 || j == 0 || i == side || j == side;
            double const x = 10.0 * (i + (rim ? 0.0 : 0.6 * (unit(random) - 0.5))) / side;
            double const y = 10.0 * (j + (rim ? 0.0 : 0.6 * (unit(random) - 0.5))) / side;
            vertices.push_back({x, y, a * std::sin(0.7 * x) + b * y});
        }
    }
    RandomEdit edit;
    edit.base = overlaytest::makeTin(vertices, overlaytest::delaunay(vertices));

    double const x0 = 9.0 * unit(random) - 1.0, y0 = 9.0 * unit(random) - 1.0;
    double const w = 1.0 + 4.0 * unit(random), h = 1.0 + 4.0 * unit(random);
    // Mostly above the base for an addition, mostly below it for a subtraction.
    bool const adds = unit(random) < 0.5;
    double const level = a * std::sin(0.7 * x0) + b * y0 + (adds ? 1.0 : -1.0) * (2.0 * unit(random) - 0.5);
    double const tilt = unit(random) - 0.5;
    int const cells = 1 + static_cast<int>(unit(random) * 3);
    std::vector<overlaytest::Vertex> patchVertices;
    std::vector<overlaytest::Corners> patchTriangles;
    for (int j = 0; j <= cells; ++j) {
        for (int i = 0; i <= cells; ++i) {
            double const x = x0 + w * i / cells, y = y0 + h * j / cells;
            patchVertices.push_back({x, y, level + tilt * (x - x0)});
        }
    }
    for (int j = 0; j < cells; ++j) {
        for (int i = 0; i < cells; ++i) {
            int const p = j * (cells + 1) + i;
            patchTriangles.push_back({p, p + 1, p + cells + 2});
            patchTriangles.push_back({p, p + cells + 2, p + cells + 1});
        }
    }
    Tin const patch = overlaytest::makeTin(patchVertices, patchTriangles);
    bool ok = false;
    edit.edited = adds ? tin::util::TinMerge::add(edit.base, patch, &ok, nullptr, nullptr, nullptr)
                                     : tin::util::TinMerge::sub(edit.base, patch, &ok, nullptr, nullptr, nullptr);
    EXPECT_TRUE(ok);
    return edit;
}

}  // namespace

TEST(TinDifferencesTest, TinsReadBackFromArchivesGiveTheSumsOfTinsThatShareNothing)
{
    std::mt19937 random(20240611);
    int changed = 0;
    for (int k = 0; k < 50; ++k) {
        SCOPED_TRACE(k);
        RandomEdit const edit = randomEdit(random);
        Tin const base = readBack(edit.base, "differences_base.tin");
        Tin const edited = readBack(edit.edited, "differences_edited.tin");
        // What the comparison meets after a reopen: the vertices are the same objects, the
        // triangles are not.
        ASSERT_EQ(tintest::vertices(base), tintest::vertices(edit.base));
        for (auto const& t : edited.allTriangles()) {
            ASSERT_FALSE(base.containsTriangle(t));
        }

        Sums const full = differences(detached(edit.base), detached(edit.edited));
        double const scale = full.plus - full.minus + 1e-12;
        changed += full.plus - full.minus > 1e-9 ? 1 : 0;
        for (auto const& [name, sums] : {std::make_pair("read back", differences(base, edited)),
                                         std::make_pair("in memory", differences(edit.base, edit.edited))}) {
            SCOPED_TRACE(name);
            EXPECT_GE(sums.plus, 0.0);
            EXPECT_LE(sums.minus, 0.0);
            EXPECT_NEAR(sums.plus, full.plus, 1e-9 * scale);
            EXPECT_NEAR(sums.minus, full.minus, 1e-9 * scale);
        }
    }
    EXPECT_GT(changed, 40) << "most random edits change the surface";
}
