#pragma once

#include "orlin/core/Edge2D.h"
#include "orlin/core/Point2DI.h"

#include <cstddef>
#include <memory>

namespace tin::core {

class Point2DIRepository;

// Hands out exactly one shared Edge2D per unordered pair of repository points, so that sides
// common to two triangles or rings are the same object.
//
// Edges are keyed by the addresses of their two point objects and keep their smaller point
// (x, then y) first. The factory holds a strong reference to every edge it made and never forgets
// one: edges live at least as long as the factory. The repository is not owned; it must outlive
// every call of the coordinate forms. A factory is used through a pointer and is neither copied
// nor assigned. Single-threaded.
class Edge2DFactory
{
public:
    explicit Edge2DFactory(Point2DIRepository* repository);
    ~Edge2DFactory();
    Edge2DFactory(const Edge2DFactory&) = delete;
    Edge2DFactory& operator=(const Edge2DFactory&) = delete;

    // Room for n edges without growing the table (a sizing hint; never shrinks).
    void reserve(std::size_t n);

    // The unique edge of the pair; empty when a and b are the same object (or either is null).
    std::shared_ptr<Edge2D> factory(const std::shared_ptr<Point2DI>& a,
                                    const std::shared_ptr<Point2DI>& b);

    // The edge between the repository points at exactly a's and b's coordinates. Both must be
    // stored; otherwise common::exception::RuntimeException names the missing coordinate.
    std::shared_ptr<Edge2D> factory(const Point2DI& a, const Point2DI& b);

    // The edge between the unambiguous nearest repository points of a and b (the nearest-point
    // look-up of Point2DIRepository, whose MagnitudeRelationException passes through, no edge
    // made). Empty when both map to the same stored point.
    std::shared_ptr<Edge2D> factoryFuzzy(const Point2DI& a, const Point2DI& b);

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace tin::core
