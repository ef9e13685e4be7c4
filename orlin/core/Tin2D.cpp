#include "orlin/core/Tin2D.h"

#include <algorithm>
#include <functional>

#include "orlin/core/Edge.h"
#include "orlin/core/Edge2D.h"
#include "orlin/core/Edge2DFactory.h"
#include "orlin/core/Point.h"
#include "orlin/core/Point2DIRepository.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"
#include "orlin/core/Triangle2D.h"
#include "orlin/support/FixedSizePoolAllocatorT.h"

namespace tin {
namespace core {

namespace {

struct OriginalEdgeEntry {
    std::shared_ptr<Edge2D> edge2D;
    std::shared_ptr<Edge> first;
    std::shared_ptr<Edge> second;
};

}  // namespace

// A triangle of the projected TIN: the index of its 2-D triangle, or, for a triangle left out,
// minus one less the index of its three sides among the sides kept for such triangles.
struct ProjectedTriangle {
    std::shared_ptr<Triangle> source;
    std::ptrdiff_t made;
};

struct Tin2D::Impl {
    std::vector<std::shared_ptr<Triangle2D>> m_triangles2D;
    // The table of original edges is built on its first use from the projected triangles:
    // the overlay never asks for it.
    std::vector<ProjectedTriangle> m_projected;
    std::vector<std::shared_ptr<Edge2D>> m_leftOutSides;
    bool m_originalEdgesBuilt = false;
    std::vector<OriginalEdgeEntry> m_originalEdges;
    std::vector<std::shared_ptr<Edge2D>> m_numberedEdges;
    int m_firstEdgeId = 0;
    Point2DIRepository* m_repository = nullptr;
    Edge2DFactory* m_edgeFactory = nullptr;
};

Tin2D::Tin2D(Point2DIRepository* repository, Edge2DFactory* edgeFactory)
    : m_impl(std::make_unique<Impl>())
{
    m_impl->m_repository = repository;
    m_impl->m_edgeFactory = edgeFactory;
}

Tin2D::Tin2D(Tin const& tin, Point2DIRepository* repository, Edge2DFactory* edgeFactory)
    : Tin2D(repository, edgeFactory)
{
    auto const& triangles = tin.allTriangles();
    m_impl->m_triangles2D.reserve(triangles.size());
    m_impl->m_projected.reserve(triangles.size());

    for (auto const& t : triangles) {
        std::shared_ptr<Point2DI> v[3];
        for (int i = 0; i < 3; ++i) {
            v[i] = repository->add(std::static_pointer_cast<Point2DI>(t->point(i)));
        }
        // The stored points are the repository's points at those positions, so the sides can
        // be taken from them directly.
        std::shared_ptr<Edge2D> sides[3];
        for (int s = 0; s < 3; ++s) {
            sides[s] = edgeFactory->factory(v[(s + 1) % 3], v[(s + 2) % 3]);
        }
        if (sides[0] && sides[1] && sides[2]) {
            m_impl->m_projected.push_back(
                ProjectedTriangle{t, static_cast<std::ptrdiff_t>(m_impl->m_triangles2D.size())});
            insertTriangle(v, sides);
        } else {
            // A triangle left out (two corners at one position) still records its sides.
            m_impl->m_projected.push_back(ProjectedTriangle{
                t, -1 - static_cast<std::ptrdiff_t>(m_impl->m_leftOutSides.size() / 3)});
            for (int s = 0; s < 3; ++s) {
                m_impl->m_leftOutSides.push_back(std::move(sides[s]));
            }
        }
    }
}

namespace {

// The 3-D edges behind each 2-D side of the projected triangles, sorted by side.
std::vector<OriginalEdgeEntry> originalEdgeTable(
    std::vector<ProjectedTriangle> const& projected,
    std::vector<std::shared_ptr<Triangle2D>> const& triangles2D,
    std::vector<std::shared_ptr<Edge2D>> const& leftOutSides)
{
    // Pointers to the shared pointers held by the 2-D triangles (or kept for the triangles
    // left out) and by the TIN's triangles: no reference counting while sorting.
    struct Record {
        Edge2D* key;
        std::shared_ptr<Edge2D> const* edge2D;
        std::shared_ptr<Edge> const* edge;
    };
    std::vector<Record> work;
    work.reserve(projected.size() * 3);
    for (auto const& p : projected) {
        for (int s = 0; s < 3; ++s) {
            std::shared_ptr<Edge2D> const& side =
                p.made >= 0 ? triangles2D[static_cast<std::size_t>(p.made)]->edge(s)
                            : leftOutSides[static_cast<std::size_t>(3 * (-1 - p.made) + s)];
            work.push_back(Record{side.get(), &side, &p.source->edge(s)});
        }
    }
    std::sort(work.begin(), work.end(), [](Record const& a, Record const& b) {
        return std::less<Edge2D*>()(a.key, b.key);
    });
    std::vector<OriginalEdgeEntry> table;
    table.reserve(static_cast<std::size_t>(work.size() * 0.6));
    for (std::size_t i = 0; i < work.size();) {
        std::size_t j = i + 1;
        while (j < work.size() && work[j].key == work[i].key) {
            ++j;
        }
        OriginalEdgeEntry entry{*work[i].edge2D, *work[i].edge, nullptr};
        if (j - i > 1) {
            entry.second = *work[i + 1].edge;
        }
        table.push_back(std::move(entry));
        i = j;
    }
    return table;
}

}  // namespace

Tin2D::Tin2D(Tin2D const& other) : m_impl(std::make_unique<Impl>(*other.m_impl)) {}

Tin2D& Tin2D::operator=(Tin2D const& other)
{
    if (this != &other) {
        m_impl = std::make_unique<Impl>(*other.m_impl);
    }
    return *this;
}

Tin2D::Tin2D(Tin2D&& other) noexcept = default;

Tin2D::~Tin2D() = default;

void Tin2D::addTriangle(std::shared_ptr<Point2DI> const& p, std::shared_ptr<Point2DI> const& q,
                        std::shared_ptr<Point2DI> const& r)
{
    if (p == q || q == r || p == r) {
        return;
    }
    std::shared_ptr<Point2DI> const v[3] = {p, q, r};
    std::shared_ptr<Edge2D> const sides[3] = {m_impl->m_edgeFactory->factory(q, r),
                                              m_impl->m_edgeFactory->factory(r, p),
                                              m_impl->m_edgeFactory->factory(p, q)};
    insertTriangle(v, sides);
}

void Tin2D::insertTriangle(std::shared_ptr<Point2DI> const* v, std::shared_ptr<Edge2D> const* sides)
{
    m_impl->m_triangles2D.push_back(
        std::allocate_shared<Triangle2D>(support::FixedSizePoolAllocatorT<Triangle2D>(), v[0], v[1], v[2], sides[0], sides[1], sides[2]));
}

void Tin2D::addTriangle(Point2DI const& a, Point2DI const& b, Point2DI const& c)
{
    addTriangle(m_impl->m_repository->get(a), m_impl->m_repository->get(b),
                m_impl->m_repository->get(c));
}

std::vector<std::shared_ptr<Triangle2D>> const& Tin2D::triangles() const
{
    return m_impl->m_triangles2D;
}

Rect Tin2D::boundingRect() const
{
    if (m_impl->m_triangles2D.empty()) {
        return Rect();
    }
    auto const& first = m_impl->m_triangles2D.front()->point1();
    double xMin = first->x(), xMax = first->x(), yMin = first->y(), yMax = first->y();
    for (auto const& t : m_impl->m_triangles2D) {
        for (int i = 0; i < 3; ++i) {
            auto const& p = t->point(i);
            xMin = std::min(xMin, p->x());
            xMax = std::max(xMax, p->x());
            yMin = std::min(yMin, p->y());
            yMax = std::max(yMax, p->y());
        }
    }
    return Rect(xMin, yMin, xMax, yMax);
}

std::vector<Edge2D*> Tin2D::outerEdges() const
{
    // Counting by sorting the sides is cheaper than keeping a side-to-triangles table up to
    // date for every triangle added, and only the outline is ever asked for.
    std::vector<Edge2D*> sides;
    sides.reserve(m_impl->m_triangles2D.size() * 3);
    for (auto const& t : m_impl->m_triangles2D) {
        for (int i = 0; i < 3; ++i) {
            sides.push_back(t->edge(i).get());
        }
    }
    std::sort(sides.begin(), sides.end(), std::less<Edge2D*>());
    std::vector<Edge2D*> result;
    for (std::size_t i = 0; i < sides.size();) {
        std::size_t j = i + 1;
        while (j < sides.size() && sides[j] == sides[i]) {
            ++j;
        }
        if ((j - i) % 2 == 1) {
            result.push_back(sides[i]);
        }
        i = j;
    }
    return result;
}

std::vector<std::shared_ptr<Edge>> Tin2D::originalEdges(std::shared_ptr<Edge2D> const& e) const
{
    if (!m_impl->m_originalEdgesBuilt) {
        m_impl->m_originalEdges =
            originalEdgeTable(m_impl->m_projected, m_impl->m_triangles2D, m_impl->m_leftOutSides);
        m_impl->m_originalEdgesBuilt = true;
    }
    auto const& table = m_impl->m_originalEdges;
    auto it = std::lower_bound(table.begin(), table.end(), e.get(),
                               [](OriginalEdgeEntry const& entry, Edge2D* key) {
                                   return std::less<Edge2D*>()(entry.edge2D.get(), key);
                               });
    std::vector<std::shared_ptr<Edge>> result;
    if (it != table.end() && it->edge2D.get() == e.get()) {
        result.push_back(it->first);
        if (it->second) {
            result.push_back(it->second);
        }
    }
    return result;
}

int Tin2D::setEdgeIds(int first)
{
    m_impl->m_firstEdgeId = first;
    int next = first;
    for (auto const& t : m_impl->m_triangles2D) {
        for (int i = 0; i < 3; ++i) {
            auto const& e = t->edge(i);
            if (e->id() == 0) {
                e->setId(next++);
                m_impl->m_numberedEdges.push_back(e);
            }
        }
    }
    return next;
}

void Tin2D::clearEdgeIds()
{
    m_impl->m_firstEdgeId = 0;
    m_impl->m_numberedEdges.clear();
    for (auto const& t : m_impl->m_triangles2D) {
        for (int i = 0; i < 3; ++i) {
            t->edge(i)->setId(0);
        }
    }
}

void Tin2D::restoreEdgeIds()
{
    int id = m_impl->m_firstEdgeId;
    for (auto const& e : m_impl->m_numberedEdges) {
        e->setId(id++);
    }
}

std::shared_ptr<Edge2D> const* Tin2D::numberedEdge(int id) const
{
    long long const offset = static_cast<long long>(id) - m_impl->m_firstEdgeId;
    if (offset < 0 || offset >= static_cast<long long>(m_impl->m_numberedEdges.size())) {
        return nullptr;
    }
    return &m_impl->m_numberedEdges[static_cast<std::size_t>(offset)];
}

std::shared_ptr<Edge2D> Tin2D::getEdgeById(int id) const
{
    long long const offset = static_cast<long long>(id) - m_impl->m_firstEdgeId;
    if (offset < 0 || offset >= static_cast<long long>(m_impl->m_numberedEdges.size())) {
        return nullptr;
    }
    return m_impl->m_numberedEdges[static_cast<std::size_t>(offset)];
}

}  // namespace core
}  // namespace tin
