#pragma once

#include <memory>
#include <vector>

#include "orlin/core/Rect.h"

namespace tin {
namespace core {

class Edge;
class Edge2D;
class Edge2DFactory;
class Point2DI;
class Point2DIRepository;
class Tin;
class Triangle2D;

// The planar copy of a TIN on which the overlay of two TINs works. Vertices are shared
// points of one Point2DIRepository and sides shared edges of one Edge2DFactory, so two
// networks projected over the same pair share every vertex and side that coincide in the
// plane and can be matched by identity. Neither the repository nor the factory is owned:
// both must outlive every Tin2D that uses them.
//
// A network made from a Tin remembers which 3-D edges each 2-D side stands for (one, or two
// where two vertex objects of the TIN stand at one position). Sides can be numbered
// (setEdgeIds); the number lives in the shared Edge2D, so networks that share sides share
// numbers, and restoreEdgeIds puts this network's numbering back after another one changed
// it. Only adding triangles changes a network; nothing removes them.
class Tin2D {
public:
    Tin2D(Point2DIRepository* repository, Edge2DFactory* edgeFactory);
    // Projects every triangle of tin; O(n) in its triangles. The table behind originalEdges
    // is sorted on its first use (O(n log n)).
    Tin2D(Tin const& tin, Point2DIRepository* repository, Edge2DFactory* edgeFactory);
    Tin2D(Tin2D const& other);
    Tin2D& operator=(Tin2D const& other);
    Tin2D(Tin2D&& other) noexcept;
    ~Tin2D();

    // Adds the triangle p, q, r with its sides e1 = (q, r), e2 = (r, p), e3 = (p, q) from the
    // factory; nothing happens when two of the points are one object.
    void addTriangle(std::shared_ptr<Point2DI> const& p, std::shared_ptr<Point2DI> const& q,
                     std::shared_ptr<Point2DI> const& r);
    // The same with the repository's stored points at exactly these positions, which must
    // be stored.
    void addTriangle(Point2DI const& a, Point2DI const& b, Point2DI const& c);

    std::vector<std::shared_ptr<Triangle2D>> const& triangles() const;
    // Spans every vertex; invalid for an empty network.
    Rect boundingRect() const;
    // The sides with an odd number of triangles (the outline in a proper network); any order.
    // Counted on each call by sorting all sides: O(n log n) in the triangles.
    std::vector<Edge2D*> outerEdges() const;
    // The 3-D edges that side e stands for: none for a side added after projection.
    std::vector<std::shared_ptr<Edge>> originalEdges(std::shared_ptr<Edge2D> const& e) const;

    // Numbers the sides that carry no number yet (id 0) from first on, in triangle order;
    // returns the next free number.
    int setEdgeIds(int first);
    // Sets every side's number to 0 and forgets this network's numbering.
    void clearEdgeIds();
    // Gives the sides numbered by the last setEdgeIds their numbers again.
    void restoreEdgeIds();
    // The side that this network numbered id, or null outside its numbered range.
    std::shared_ptr<Edge2D> getEdgeById(int id) const;
    // The same without a copy: the network's own handle, valid until its numbering changes;
    // null outside the numbered range.
    std::shared_ptr<Edge2D> const* numberedEdge(int id) const;

    struct Impl;

private:
    void insertTriangle(std::shared_ptr<Point2DI> const* vertices, std::shared_ptr<Edge2D> const* sides);

    std::unique_ptr<Impl> m_impl;
};

}  // namespace core
}  // namespace tin
