#include "sedrun/TinFromMoldPathCreator.h"

#include "sedrun/SectionSweep.h"

#include "common/exception/RuntimeException.h"
#include "mold/core/Mold.h"
#include "orlin/core/Point2D.h"
#include "orlin/core/PointFactory.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

namespace tincreator {
namespace util {

using tin::core::Point;

struct TinFromMoldPathCreator::Impl
{
    Impl(const mold::core::Mold& mold, const std::vector<Point>& path)
        : mold(mold), path(path)
    {
    }

    const mold::core::Mold& mold;
    std::vector<Point> path;
    bool valid = false;
};

namespace {

/// The path with repeated points merged: each kept point remembers whether any of the points
/// merged into it was pinned.
struct CleanPath
{
    std::vector<Point> points;
    std::vector<char> pinned;
};

void requireFinite(const std::vector<Point>& path, const mold::core::Mold& mold)
{
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (!std::isfinite(path[i].x()) || !std::isfinite(path[i].y())
            || !std::isfinite(path[i].elevation())) {
            throw common::exception::RuntimeException("Path point " + std::to_string(i)
                                                      + " of the mold sweep is not finite");
        }
    }
    for (std::size_t i = 0; i < mold.size(); ++i) {
        if (!std::isfinite(mold.l().at(i)) || !std::isfinite(mold.h().at(i))) {
            throw common::exception::RuntimeException("Mold point " + std::to_string(i)
                                                      + " of the mold sweep is not finite");
        }
    }
}

CleanPath mergeRepeatedPoints(const std::vector<Point>& path, bool closed,
                              const std::unordered_set<std::uint64_t>& pinned)
{
    CleanPath clean;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const bool isPinned = pinned.count(static_cast<std::uint64_t>(i)) > 0;
        if (!clean.points.empty() && clean.points.back().isCloseTo(path[i])) {
            clean.pinned.back() = static_cast<char>(clean.pinned.back() || isPinned);
            continue;
        }
        clean.points.push_back(path[i]);
        clean.pinned.push_back(isPinned ? 1 : 0);
    }
    if (closed) {
        while (clean.points.size() > 1 && clean.points.back().isCloseTo(clean.points.front())) {
            clean.points.pop_back();
            clean.pinned.pop_back();
        }
    }
    return clean;
}

/// Splits the path into corners and inner vertices; the comparison with 0 is exact on purpose:
/// a nearly straight vertex is a corner with a tiny setback.
void walk(const CleanPath& path, bool closed, std::vector<const Point*>& corners,
          std::vector<SectionSweep::InnerVertex>& inner)
{
    const std::size_t n = path.points.size();
    for (std::size_t i = 0; i < n; ++i) {
        const Point& v = path.points[i];
        const bool tested = closed || (i > 0 && i + 1 < n);
        const int lastCorner = static_cast<int>(corners.size()) - 1;
        if (tested) {
            const Point& prev = path.points[(i + n - 1) % n];
            const Point& next = path.points[(i + 1) % n];
            const double d1x = v.x() - prev.x();
            const double d1y = v.y() - prev.y();
            const double d2x = next.x() - v.x();
            const double d2y = next.y() - v.y();
            if (d1x * d2y - d1y * d2x == 0.0) {
                inner.push_back({i, lastCorner});
                continue;
            }
        }
        if (!closed && path.pinned[i]) {
            inner.push_back({i, lastCorner});
            continue;
        }
        corners.push_back(&v);
    }
}

} // namespace

TinFromMoldPathCreator::TinFromMoldPathCreator(const mold::core::Mold& mold,
                                               const std::vector<Point>& path)
    : m_impl(std::make_unique<Impl>(mold, path))
{
}

TinFromMoldPathCreator::TinFromMoldPathCreator(const TinFromMoldPathCreator& other)
    : m_impl(std::make_unique<Impl>(*other.m_impl))
{
}

TinFromMoldPathCreator::~TinFromMoldPathCreator() = default;

bool TinFromMoldPathCreator::isValid() const { return m_impl->valid; }

std::vector<TinFromMoldPathCreator::Section>
TinFromMoldPathCreator::computeSections(bool closed,
                                        const std::unordered_set<std::uint64_t>& pinned) const
{
    requireFinite(m_impl->path, m_impl->mold);
    const CleanPath path = mergeRepeatedPoints(m_impl->path, closed, pinned);
    std::vector<const Point*> corners;
    std::vector<SectionSweep::InnerVertex> inner;
    walk(path, closed, corners, inner);
    return SectionSweep::computeSections(corners, inner, path.points, closed, m_impl->mold);
}

tin::core::Tin TinFromMoldPathCreator::createTin(bool closed,
                                                 const std::unordered_set<std::uint64_t>& pinned,
                                                 FlattenTo flattenTo)
{
    m_impl->valid = false;
    std::vector<Section> sections = computeSections(closed, pinned);
    if (sections.empty()) {
        return tin::core::Tin();
    }
    if (flattenTo != None) {
        if (closed) {
            throw common::exception::RuntimeException(
                "closed option should be used in conjunction with FlattenTo::None.");
        }
        flatten(sections.front(), flattenTo);
        flatten(sections.back(), flattenTo);
    }
    m_impl->valid = true;
    return stitch(sections, closed);
}

void TinFromMoldPathCreator::flatten(Section& section, FlattenTo flattenTo)
{
    if (section.empty()) {
        return;
    }
    const auto byElevation = [](const Point& a, const Point& b) {
        return a.elevation() < b.elevation();
    };
    const double level =
        flattenTo == Highest
            ? std::max_element(section.begin(), section.end(), byElevation)->elevation()
            : std::min_element(section.begin(), section.end(), byElevation)->elevation();
    for (Point& point : section) {
        point.setElevation(level);
    }
}

tin::core::Tin TinFromMoldPathCreator::stitch(const std::vector<Section>& sections, bool closed)
{
    using Shared = std::vector<std::shared_ptr<Point>>;
    auto intern = [](const Section& section) {
        Shared shared;
        shared.reserve(section.size());
        for (const Point& point : section) {
            shared.push_back(tin::core::PointFactory::instance().factory(point, false));
        }
        return shared;
    };
    tin::core::Tin tin;
    Shared previous;
    bool hasPrevious = false;
    if (closed) {
        previous = intern(sections.back());
        hasPrevious = true;
    }
    for (const Section& section : sections) {
        Shared current = intern(section);
        if (hasPrevious) {
            // Each quad is split along the diagonal previous[k] - current[k + 1]. Coincident
            // sections give triangles with a repeated point, which the TIN refuses.
            for (std::size_t k = 0; k + 1 < current.size(); ++k) {
                tin.addTriangle(previous[k], current[k], current[k + 1]);
                tin.addTriangle(previous[k + 1], current[k + 1], previous[k]);
            }
        }
        previous.swap(current);
        hasPrevious = true;
    }
    return tin;
}

std::vector<std::pair<Point, Point>> TinFromMoldPathCreator::createOutline(bool closed) const
{
    std::vector<std::pair<Point, Point>> outline;
    for (const Section& section : computeSections(closed, {})) {
        if (!section.empty()) {
            outline.emplace_back(section.front(), section.back());
        }
    }
    return outline;
}

tin::core::Polygon TinFromMoldPathCreator::createOutlinePolygon(bool closed) const
{
    const auto outline = createOutline(closed);
    tin::core::Polygon polygon;
    if (outline.empty()) {
        return polygon;
    }
    auto add = [&polygon](const Point& p) { polygon.addPoint(tin::core::Point2D(p.x(), p.y(), -1)); };
    const std::size_t m = outline.size();
    for (std::size_t j = 0; j < m; ++j) {
        add(outline[j].first);
    }
    if (closed) {
        // The first side as a ring, across section 0, the second side backwards as a ring,
        // and back across section 1.
        add(outline[0].first);
        add(outline[0].second);
    }
    for (std::size_t j = m; j-- > 0;) {
        add(outline[j].second);
    }
    if (closed) {
        add(outline[m > 1 ? 1 : 0].second);
        add(outline[m > 1 ? 1 : 0].first);
    }
    return polygon;
}

std::vector<Point> TinFromMoldPathCreator::createOutlineSide(bool firstSide, bool closed) const
{
    std::vector<Point> side;
    for (const auto& ends : createOutline(closed)) {
        side.push_back(firstSide ? ends.first : ends.second);
    }
    return side;
}

} // namespace util
} // namespace tincreator
