#include "orlin/core/Tin.h"

#include "orlin/core/Edge.h"
#include "orlin/core/EdgeFactory.h"
#include "orlin/core/GeometryFunctions.h"
#include "orlin/core/Point.h"
#include "orlin/core/PointFactory.h"
#include "orlin/core/Polygon.h"
#include "orlin/core/Polyline.h"
#include "orlin/core/QuadtreeContainerT.h"
#include "orlin/core/STRtreeContainerT.h"
#include "orlin/core/SpatialIndexContainerT.h"
#include "orlin/core/Tin2D.h"
#include "orlin/core/Triangle.h"
#include "orlin/core/Triangle2D.h"
#include "orlin/support/FixedSizePool.h"
#include "orlin/support/FixedSizePoolAllocatorT.h"
#include "orlin/support/IdentityListMapT.h"
#include "orlin/support/LaneRingT.h"
#include "orlin/support/LaneThreads.h"
#include "orlin/support/LargeTableAllocatorT.h"
#include "orlin/util/TinRegions.h"

#include <geos/geom/Envelope.h>
#include <geos/geom/Geometry.h>
#include <geos/geom/MultiPolygon.h>
#include <geos/geom/Polygon.h>
#include <geos/geom/prep/PreparedGeometry.h>
#include <geos/geom/prep/PreparedGeometryFactory.h>
#include <geos/operation/union/CascadedPolygonUnion.h>

#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <optional>
#include <stdexcept>
#include <system_error>
#include <unordered_set>
#include <utility>

namespace tin::core {

namespace {

constexpr std::uint32_t NIL = 0xffffffffu;

// The two families of lists threaded through the triangle records (see TriangleSet).
constexpr int VERTEX_LISTS = 0;
constexpr int EDGE_LISTS = 1;

// Batches of at least this many triangles link their lists on lane threads (see LinkLanes);
// smaller ones are not worth starting threads for.
constexpr std::size_t LANES_MIN_TRIANGLES = 32768;

// How far ahead of the pool's carving the lanes fault pages in during a batch that makes
// triangles (about 40 batches of 1024 triangles and their edges).
constexpr std::size_t POOL_AHEAD = std::size_t(16) << 20;

// A block of a large batch on its way through the lanes (see support::LaneRingT): the first
// lane inserts the block's triangles into the triangle set (which gives their records) and
// links their vertex lists, the second then links their edge lists. Each table is written by
// one thread only: the records, the triangle table and the vertex links by the first lane,
// the edge links by the second.
struct LaneBlock {
    static constexpr std::size_t SIZE = 1024;
    // Filled by the calling thread: `count` triangles at `triangles` (null ones skipped),
    // which is either `own` (moved there, for the first lane to move into the set) or an
    // array of the caller's that outlives the batch.
    std::size_t count = 0;
    std::shared_ptr<Triangle> const* triangles = nullptr;
    std::shared_ptr<Triangle> own[SIZE];
    // Filled by the first lane: the new records and their vertices and edges.
    std::size_t linked = 0;
    std::uint32_t records[SIZE];
    Point* points[3 * SIZE];
    Edge* edges[3 * SIZE];
};

using LinkLanes = support::LaneRingT<LaneBlock>;

// The next TIN revision; one counter for the whole process, so that no two TINs, and no two
// states of one TIN, ever carry the same number.
std::uint64_t nextRevision() noexcept
{
    static std::atomic<std::uint64_t> s_revisions{0};
    return s_revisions.fetch_add(1, std::memory_order_relaxed) + 1;
}

} // namespace

class Tin::Impl {
public:
    explicit Impl(Tin* owner, ContainerType containerType) : m_containerType(containerType), m_owner(owner) { }

    ~Impl() { releaseTriangles(); }

    // Lets go of every triangle. Most die here, and with them most edges, each of whose
    // removal from the edge factory's table is a cache miss: the triangles go a block at a
    // time, the table slots of the block's dying edges read first, so that those misses
    // overlap. An edge that another triangle still holds is skipped: an inner edge dies with
    // its second triangle, and reading its slot for the first would be a miss for nothing.
    void releaseTriangles()
    {
        EdgeFactory& factory = EdgeFactory::instance();
        // The table keeps its size meanwhile (no rehash at every halving of the count), and a
        // large TIN's dying edges are noted and dropped from the table in one walk.
        bool const bulk = m_triangles.size() >= BULK_RELEASE;
        factory.holdCapacity();
        if (bulk)
            factory.beginBulkRemoval();
        struct Release {
            EdgeFactory& factory;
            bool bulk;
            ~Release()
            {
                if (bulk)
                    factory.endBulkRemoval();
                factory.releaseCapacity();
            }
        } release{factory, bulk};
        if (bulk) {
            m_triangles.clear();
            return;
        }
        std::uintptr_t sink = 0;
        m_triangles.clear([&](Triangle const& triangle) {
            for (int i = 0; i < 3; ++i) {
                std::shared_ptr<Edge> const& edge = triangle.edge(i);
                if (edge.use_count() == 1) {
                    sink += factory.touch(edge.get());
                }
            }
        });
        s_sink = sink;
    }

    TriangleSet m_triangles;
    std::unique_ptr<SpatialIndexContainerT<Triangle>> m_triangleIndex;
    // For each edge and each vertex object, head and tail of its triangle list. A list node is
    // record * 3 + i, i being the edge's or vertex's slot in that triangle; the links live in
    // the triangle records (TriangleSet::next), so a list costs no allocation and keeps the
    // order of insertion. Keys are raw addresses: the triangles keep edges and points alive.
    // Each on a cache line of its own: a large batch links the two families on two threads.
    alignas(64) support::IdentityListMapT<Edge> m_edgeTriangles;
    alignas(64) support::IdentityListMapT<Point> m_pointTriangles;
    // Position cache: an open-addressing table of vertex nodes (record * 3 + vertex slot), one
    // per distinct vertex object, placed by the hash of its position. Empty while not built.
    alignas(64) std::vector<std::uint32_t> m_positionPoints;
    std::unique_ptr<geos::geom::Geometry> m_union;
    bool m_rectCached = false;
    Rect m_rect;
    ContainerType m_containerType;
    std::unique_ptr<geos::geom::MultiPolygon> m_outline;
    Tin* m_owner;
    // Renewed by dropCaches, which every change runs, and by construction and assignment.
    std::uint64_t m_revision = nextRevision();

    std::unique_ptr<SpatialIndexContainerT<Triangle>> makeIndex() const
    {
        if (m_containerType == STRtree) {
            return std::make_unique<STRtreeContainerT<Triangle>>();
        }
        return std::make_unique<QuadtreeContainerT<Triangle>>();
    }

    SpatialIndexContainerT<Triangle>& triangleIndex()
    {
        if (!m_triangleIndex) {
            auto index = makeIndex();
            index->reserve(m_triangles.size());
            for (auto const& triangle : m_triangles) {
                index->appendUnindexed(triangle);
            }
            index->rebuildIndex();
            m_triangleIndex = std::move(index);
        }
        return *m_triangleIndex;
    }

    // Every change drops the caches; each test is O(1) when the cache was never built, so
    // that building or clearing a TIN after a query stays linear.
    void dropCaches()
    {
        m_revision = nextRevision();
        m_rectCached = false;
        if (!m_positionPoints.empty()) {
            std::vector<std::uint32_t>().swap(m_positionPoints);
        }
        m_union.reset();
        m_outline.reset();
    }

    Point const& vertexOf(std::uint32_t node) const
    {
        return *m_triangles.triangleAt(node / 3)->point(static_cast<int>(node % 3));
    }

    std::shared_ptr<Triangle> const& triangleOf(std::uint32_t node) const
    {
        return m_triangles.triangleAt(node / 3);
    }

    template <class K>
    void link(support::IdentityListMapT<K>& map, K* key, std::uint32_t node, int family)
    {
        if (key == nullptr) {
            return;
        }
        // The node's own link is NIL already: TriangleSet::insert clears a record's links.
        auto& entry = map.obtain(key);
        if (entry.head == NIL) {
            entry.head = node;
        } else {
            m_triangles.next(entry.tail, family) = node;
        }
        entry.tail = node;
    }

    template <class K>
    void unlink(support::IdentityListMapT<K>& map, K* key, std::uint32_t node, int family)
    {
        // Most removals change the entry (head, tail or erasure), so it is taken writable at
        // once: one probe instead of a read probe and a write probe.
        auto* entry = map.findMutable(key);
        if (entry == nullptr) {
            return;
        }
        std::uint32_t previous = NIL;
        std::uint32_t current = entry->head;
        while (current != NIL && current != node) {
            previous = current;
            current = m_triangles.nextOf(current, family);
        }
        if (current == NIL) {
            return;
        }
        std::uint32_t const following = m_triangles.nextOf(current, family);
        if (previous == NIL) {
            entry->head = following;
        } else {
            m_triangles.next(previous, family) = following;
        }
        if (entry->tail == current) {
            entry->tail = previous;
        }
        if (entry->head == NIL) {
            map.erase(key);
        }
    }

    template <class K>
    std::vector<std::shared_ptr<Triangle>> listOf(support::IdentityListMapT<K>& map, K* key, int family)
    {
        std::vector<std::shared_ptr<Triangle>> result;
        auto const* entry = map.find(key);
        if (entry == nullptr) {
            return result;
        }
        for (std::uint32_t node = entry->head; node != NIL; node = m_triangles.nextOf(node, family)) {
            result.push_back(triangleOf(node));
        }
        return result;
    }

    void insert(std::shared_ptr<Triangle> const& triangle)
    {
        // The six adjacency look-ups below each miss the cache in a large TIN; issuing their
        // loads first lets them overlap.
        m_triangles.prefetch(triangle.get());
        for (int i = 0; i < 3; ++i) {
            m_edgeTriangles.prefetch(triangle->edge(i).get());
            m_pointTriangles.prefetch(triangle->point(i).get());
        }
        bool inserted = false;
        std::uint32_t const record = m_triangles.insert(triangle, inserted);
        if (inserted) {
            // The index holds exactly the set's triangles, so a new one needs no lookup there.
            if (m_triangleIndex) {
                m_triangleIndex->appendNew(triangle);
            }
            for (int i = 0; i < 3; ++i) {
                link(m_edgeTriangles, triangle->edge(i).get(), record * 3 + i, EDGE_LISTS);
            }
            for (int i = 0; i < 3; ++i) {
                link(m_pointTriangles, triangle->point(i).get(), record * 3 + i, VERTEX_LISTS);
            }
        }
        dropCaches();
    }

    // Batch insertion works through blocks of triangles: first it reads the table slots of
    // the whole block, then the records at the tails of their lists, then inserts. Plain
    // loads, not prefetches: a prefetch that misses the TLB may be dropped, while independent
    // loads issued back to back overlap their misses (and page walks) in the out-of-order core.
    static constexpr std::size_t BLOCK = 32;

    // Inserts triangles[0 .. count) in order, as insert() one by one; null ones are skipped.
    void insertAll(std::shared_ptr<Triangle> const* triangles, std::size_t count)
    {
        std::uintptr_t sink = 0;
        for (std::size_t first = 0; first < count; first += BLOCK) {
            std::size_t const last = count - first < BLOCK ? count : first + BLOCK;
            for (std::size_t k = first; k < last; ++k) {
                if (Triangle const* t = triangles[k].get()) {
                    sink += m_triangles.touch(t);
                    for (int i = 0; i < 3; ++i) {
                        sink += m_edgeTriangles.touch(t->edge(i).get());
                        sink += m_pointTriangles.touch(t->point(i).get());
                    }
                }
            }
            for (std::size_t k = first; k < last; ++k) {
                if (Triangle const* t = triangles[k].get()) {
                    for (int i = 0; i < 3; ++i) {
                        sink += touchTail(m_edgeTriangles, t->edge(i).get(), EDGE_LISTS);
                        sink += touchTail(m_pointTriangles, t->point(i).get(), VERTEX_LISTS);
                    }
                }
            }
            for (std::size_t k = first; k < last; ++k) {
                if (triangles[k]) {
                    insert(triangles[k]);
                }
            }
        }
        s_sink = sink;
    }

    template <class K>
    std::uint32_t touchTail(support::IdentityListMapT<K> const& map, K* key, int family) const
    {
        auto const* entry = map.find(key);
        return entry == nullptr ? 0 : m_triangles.touchNode(entry->tail, family);
    }

    // The linking half of insertAll for one family, run by a list lane (see LinkLanes): gives
    // records[k] its nodes in the lists of keys[3k .. 3k + 2], in order, exactly as insert()
    // does for that family. Writes nothing but the family's map and links.
    template <class K>
    std::uintptr_t linkFamily(
        support::IdentityListMapT<K>& map, int family, std::uint32_t const* records, K* const* keys, std::size_t count)
    {
        std::uintptr_t sink = 0;
        for (std::size_t first = 0; first < count; first += BLOCK) {
            std::size_t const last = count - first < BLOCK ? count : first + BLOCK;
            for (std::size_t k = 3 * first; k < 3 * last; ++k) {
                sink += map.touch(keys[k]);
            }
            for (std::size_t k = 3 * first; k < 3 * last; ++k) {
                sink += touchTail(map, keys[k], family);
            }
            for (std::size_t k = first; k < last; ++k) {
                m_triangles.clearLinks(family, records[k]);
                for (int i = 0; i < 3; ++i) {
                    link(map, keys[3 * k + i], records[k] * 3 + i, family);
                }
            }
        }
        return sink;
    }

    // The first lane's insertion: inserts the block's triangles in order (null ones skipped)
    // without linking them, as insertAll does, and writes each new one with its keys into the
    // block (block.linked counts them even when an insertion throws). Triangles in block.own
    // are moved into the set; one the set does not take stays there, so that no triangle
    // (whose end touches the edge factory) ever dies on a lane.
    void insertBlock(LaneBlock& block)
    {
        std::uintptr_t sink = 0;
        bool const owned = block.triangles == block.own;
        block.linked = 0;
        for (std::size_t first = 0; first < block.count; first += BLOCK) {
            std::size_t const last = block.count - first < BLOCK ? block.count : first + BLOCK;
            for (std::size_t k = first; k < last; ++k) {
                if (Triangle const* t = block.triangles[k].get()) {
                    sink += m_triangles.touch(t);
                }
            }
            for (std::size_t k = first; k < last; ++k) {
                Triangle const* const t = block.triangles[k].get();
                if (t == nullptr) {
                    continue;
                }
                bool inserted = false;
                std::uint32_t const record = owned ? m_triangles.insertUnlinked(std::move(block.own[k]), inserted)
                                                   : m_triangles.insertUnlinked(block.triangles[k], inserted);
                if (!inserted) {
                    continue;
                }
                std::size_t const n = block.linked;
                block.records[n] = record;
                for (int i = 0; i < 3; ++i) {
                    block.points[3 * n + i] = t->point(i).get();
                    block.edges[3 * n + i] = t->edge(i).get();
                }
                block.linked = n + 1;
                if (m_triangleIndex) {
                    m_triangleIndex->appendNew(m_triangles.triangleAt(record));
                }
            }
        }
        s_laneSink.store(sink, std::memory_order_relaxed);
    }

    // The lanes' work on one block: the first lane inserts and links the vertex lists, the
    // second links the edge lists.
    void linkBlock(LaneBlock& block, int family)
    {
        std::uintptr_t sink = 0;
        if (family == VERTEX_LISTS) {
            insertBlock(block);
            sink = linkFamily(m_pointTriangles, VERTEX_LISTS, block.records, block.points, block.linked);
        } else {
            sink = linkFamily(m_edgeTriangles, EDGE_LISTS, block.records, block.edges, block.linked);
        }
        s_laneSink.store(sink, std::memory_order_relaxed);
    }

    // A batch inserted by lanes (see LinkLanes), with the same result as insertAll: hand()
    // each block of triangles in order, then finish(). Destroyed without finish() (the batch
    // threw), it still waits for the lanes and leaves the TIN holding, linked, what they took.
    class LaneRun {
    public:
        // `prepare(family)` runs first on the family's lane (it may reserve the tables the lane
        // writes); while they wait for blocks, the lanes fault in the pool's pages up to
        // `poolBytes` ahead of its carving. Throws std::system_error, having changed nothing,
        // when a lane cannot be started.
        LaneRun(Impl& impl, std::size_t count, unsigned threads, std::function<void(int)> prepare,
            std::size_t poolBytes)
            : m_impl(impl), m_poolBytes(poolBytes)
        {
            impl.m_triangles.beginUnlinked(count);
            try {
                m_lanes.emplace(threads, std::move(prepare),
                    [&impl](LaneBlock& block, int family) { impl.linkBlock(block, family); });
            } catch (...) {
                impl.m_triangles.endUnlinked();
                throw;
            }
        }

        LaneRun(LaneRun const&) = delete;
        LaneRun& operator=(LaneRun const&) = delete;

        ~LaneRun()
        {
            if (m_lanes) {
                m_lanes->join();
                close();
            }
        }

        // Hands the next block over: fill(block) sets its count and triangles.
        template <class Fill>
        void hand(Fill&& fill)
        {
            if (m_poolBytes != 0) {
                support::FixedSizePool& pool = support::FixedSizePool::instance();
                char* const end = pool.commitAhead(m_poolBytes);
                m_lanes->pageUpTo(pool.cursorBlock(), end);
            }
            fill(m_lanes->next());
            m_lanes->publish();
        }

        // Waits for the lanes; throws what one of them threw.
        void finish()
        {
            std::exception_ptr const failure = m_lanes->join();
            m_lanes.reset();
            close();
            if (failure) {
                std::rethrow_exception(failure);
            }
        }

    private:
        void close()
        {
            m_impl.m_triangles.endUnlinked();
            m_impl.dropCaches();
        }

        Impl& m_impl;
        std::size_t m_poolBytes;
        std::optional<LinkLanes> m_lanes;
    };


    // Keeps the loads of insertAll from being optimised away (the lanes' own for theirs).
    static inline volatile std::uintptr_t s_sink = 0;
    // Triangles from which a release notes its dying edges instead of removing each one.
    static constexpr std::size_t BULK_RELEASE = std::size_t(1) << 16;
    static inline std::atomic<std::uintptr_t> s_laneSink{0};

    void remove(std::shared_ptr<Triangle> const& triangle)
    {
        std::uint32_t const record = m_triangles.recordOf(triangle.get());
        if (record != NIL) {
            // As in insert: the six adjacency look-ups overlap their misses with the index update.
            for (int i = 0; i < 3; ++i) {
                m_edgeTriangles.prefetch(triangle->edge(i).get());
                m_pointTriangles.prefetch(triangle->point(i).get());
            }
            if (m_triangleIndex) {
                m_triangleIndex->remove(triangle.get());
            }
            for (int i = 0; i < 3; ++i) {
                unlink(m_edgeTriangles, triangle->edge(i).get(), record * 3 + i, EDGE_LISTS);
            }
            for (int i = 0; i < 3; ++i) {
                unlink(m_pointTriangles, triangle->point(i).get(), record * 3 + i, VERTEX_LISTS);
            }
            m_triangles.erase(record);
        }
        dropCaches();
    }

    static std::size_t positionHome(double x, double y, std::size_t mask)
    {
        return hashPoint2DI(Point2D(x, y)) & mask;
    }

    // The vertices standing exactly at (x, y), from the position cache (built when absent).
    std::vector<std::shared_ptr<Point>> pointsAt(double x, double y)
    {
        std::vector<std::shared_ptr<Point>> result;
        buildPositions();
        if (m_positionPoints.empty()) {
            return result;
        }
        std::size_t const mask = m_positionPoints.size() - 1;
        for (std::size_t i = positionHome(x, y, mask); m_positionPoints[i] != NIL; i = (i + 1) & mask) {
            std::uint32_t const node = m_positionPoints[i];
            Point const& vertex = vertexOf(node);
            if (vertex.x() == x && vertex.y() == y) {
                result.push_back(triangleOf(node)->point(static_cast<int>(node % 3)));
            }
        }
        return result;
    }

    void buildPositions()
    {
        if (!m_positionPoints.empty() || m_pointTriangles.empty()) {
            return;
        }
        std::size_t size = 16;
        while (size < m_pointTriangles.size() * 2) {
            size *= 2;
        }
        m_positionPoints.assign(size, NIL);
        std::size_t const mask = size - 1;
        m_pointTriangles.forEach([&](auto const& entry) {
            std::size_t i = positionHome(entry.key->x(), entry.key->y(), mask);
            while (m_positionPoints[i] != NIL) {
                i = (i + 1) & mask;
            }
            m_positionPoints[i] = entry.head;
        });
    }
};

Tin::Tin() : Tin(Quadtree) { }

Tin::Tin(ContainerType containerType) : m_impl(std::make_unique<Impl>(this, containerType)) { }

Tin::Tin(std::vector<std::shared_ptr<Triangle>> const& triangles) : Tin(Quadtree)
{
    for (auto const& triangle : triangles) {
        addTriangle(triangle);
    }
}

Tin::Tin(Tin const& other) : Tin(Quadtree)
{
    *this = other;
}

Tin::Tin(Tin&& other) noexcept : m_impl(std::move(other.m_impl))
{
    if (m_impl) {
        m_impl->m_owner = this;
        m_impl->m_revision = nextRevision();
    }
}

Tin& Tin::operator=(Tin const& other)
{
    if (this == &other) {
        return *this;
    }
    if (!other.m_impl) {
        m_impl = std::make_unique<Impl>(this, Quadtree);
        return *this;
    }
    if (!m_impl) {
        m_impl = std::make_unique<Impl>(this, other.m_impl->m_containerType);
    }
    Impl& target = *m_impl;
    Impl const& source = *other.m_impl;
    target.m_triangleIndex.reset();
    target.m_triangles = source.m_triangles;
    target.m_edgeTriangles = source.m_edgeTriangles;
    target.m_pointTriangles = source.m_pointTriangles;
    if (source.m_triangleIndex) {
        // The clone keeps the slot order and shares the slots (and, for the grid, the
        // index itself) chunk by chunk, like the tables above.
        target.m_triangleIndex = source.m_triangleIndex->clone();
    }
    target.dropCaches();
    target.m_rectCached = source.m_rectCached;
    target.m_rect = source.m_rect;
    target.m_containerType = source.m_containerType;
    return *this;
}

Tin& Tin::operator=(Tin&& other) noexcept
{
    if (this != &other) {
        m_impl = std::move(other.m_impl);
        if (m_impl) {
            m_impl->m_owner = this;
            m_impl->m_revision = nextRevision();
        }
    }
    return *this;
}

Tin::~Tin() = default;

geos::geom::Geometry* Tin::geosGeometry() const
{
    return geosMultiPolygon();
}

std::vector<std::shared_ptr<Point>> Tin::findPointsAt(Point2DI const& position) const
{
    return m_impl->pointsAt(position.x(), position.y());
}

std::shared_ptr<Triangle> Tin::addTriangle(
    std::shared_ptr<Point> const& p, std::shared_ptr<Point> const& q, std::shared_ptr<Point> const& r)
{
    if (!p || !q || !r || p == q || q == r || p == r) {
        return nullptr;
    }
    EdgeFactory& edges = EdgeFactory::instance();
    auto e1 = edges.factory(q, r);
    auto e2 = edges.factory(r, p);
    auto e3 = edges.factory(p, q);
    auto triangle = std::allocate_shared<Triangle>(support::FixedSizePoolAllocatorT<Triangle>(), p, q, r, e1, e2, e3);
    m_impl->insert(triangle);
    return triangle;
}

std::shared_ptr<Triangle> Tin::addTriangle(Point const& a, Point const& b, Point const& c)
{
    PointFactory& points = PointFactory::instance();
    auto p = points.factory(Point(a), false);
    auto q = points.factory(Point(b), false);
    auto r = points.factory(Point(c), false);
    return addTriangle(p, q, r);
}

void Tin::addTriangles(std::shared_ptr<Point> const* points, std::uint32_t const* corners, std::size_t count,
    std::shared_ptr<Triangle>* made)
{
    Impl& impl = *m_impl;
    std::size_t const triangleEntries = impl.m_triangles.size() + count;
    // A triangulated surface has about half as many vertices and one and a half times as many
    // edges as triangles: grown once for that, the maps seldom grow again during the batch.
    std::size_t const pointEntries = impl.m_pointTriangles.size() + count / 2;
    std::size_t const edgeEntries = impl.m_edgeTriangles.size() + count + count / 2;

    // Batches: the edges of a batch are asked for together (the edge factory overlaps their
    // table misses), then its triangles are made in order and handed to
    // insert(triangles, n, out), which inserts them and moves them to out when not null.
    constexpr std::size_t BATCH = LaneBlock::SIZE;
    std::vector<std::shared_ptr<Point> const*> ends(6 * BATCH);
    std::vector<std::shared_ptr<Edge>> edges(3 * BATCH);
    std::vector<std::shared_ptr<Triangle>> triangles(BATCH);
    EdgeFactory& factory = EdgeFactory::instance();
    // The factory's table grown once for the whole batch rather than once per doubling.
    factory.reserve(factory.size() + count + count / 2);
    auto batches = [&](auto&& insert) {
        for (std::size_t done = 0; done < count;) {
            std::size_t const batch = count - done < BATCH ? count - done : BATCH;
            std::uint32_t const* c = corners + 3 * done;
            // A triangle with a missing or repeated corner is left out, as addTriangle does.
            auto degenerate = [c, points](std::size_t k) {
                std::shared_ptr<Point> const& p = points[c[3 * k]];
                std::shared_ptr<Point> const& q = points[c[3 * k + 1]];
                std::shared_ptr<Point> const& r = points[c[3 * k + 2]];
                return !p || !q || !r || p == q || q == r || p == r;
            };
            std::size_t pairs = 0;
            for (std::size_t k = 0; k < batch; ++k) {
                if (degenerate(k)) {
                    continue;
                }
                std::shared_ptr<Point> const& p = points[c[3 * k]];
                std::shared_ptr<Point> const& q = points[c[3 * k + 1]];
                std::shared_ptr<Point> const& r = points[c[3 * k + 2]];
                // The order of addTriangle(p, q, r): edge i is opposite point i.
                std::shared_ptr<Point> const* const pair[6] = {&q, &r, &r, &p, &p, &q};
                for (int i = 0; i < 6; ++i) {
                    ends[2 * pairs + i] = pair[i];
                }
                pairs += 3;
            }
            factory.factoryAll(ends.data(), pairs, edges.data());
            std::size_t next = 0;
            for (std::size_t k = 0; k < batch; ++k) {
                if (degenerate(k)) {
                    triangles[k].reset();
                    continue;
                }
                triangles[k] = std::allocate_shared<Triangle>(support::FixedSizePoolAllocatorT<Triangle>(),
                    points[c[3 * k]], points[c[3 * k + 1]], points[c[3 * k + 2]],
                    std::move(edges[next]), std::move(edges[next + 1]), std::move(edges[next + 2]));
                next += 3;
            }
            insert(triangles.data(), batch, made == nullptr ? nullptr : made + done);
            done += batch;
        }
    };

    if (unsigned const threads = count >= LANES_MIN_TRIANGLES ? support::LaneThreads::forBatch() : 0) {
        // Each lane grows the tables it writes, so that the first touch of their pages is
        // paid there; while they wait for blocks, the lanes fault in the pool's pages a little
        // ahead of the edges and triangles being made.
        auto prepare = [&impl, triangleEntries, pointEntries, edgeEntries](int family) {
            if (family == VERTEX_LISTS) {
                impl.m_triangles.reserve(triangleEntries);
                impl.m_pointTriangles.reserve(pointEntries);
            } else {
                impl.m_edgeTriangles.reserve(edgeEntries);
            }
        };
        std::optional<Impl::LaneRun> run;
        try {
            run.emplace(impl, count, threads, prepare, POOL_AHEAD);
        } catch (std::system_error const&) {
        }
        if (run) {
            batches([&](std::shared_ptr<Triangle>* ready, std::size_t n, std::shared_ptr<Triangle>* out) {
                run->hand([&](LaneBlock& block) {
                    for (std::size_t k = 0; k < n; ++k) {
                        if (out != nullptr) {
                            out[k] = ready[k];
                        }
                        block.own[k] = std::move(ready[k]);
                    }
                    block.triangles = block.own;
                    block.count = n;
                });
            });
            run->finish();
            return;
        }
    }
    impl.m_triangles.reserve(triangleEntries);
    impl.m_edgeTriangles.reserve(edgeEntries);
    impl.m_pointTriangles.reserve(pointEntries);
    batches([&](std::shared_ptr<Triangle>* ready, std::size_t n, std::shared_ptr<Triangle>* out) {
        impl.insertAll(ready, n);
        for (std::size_t k = 0; k < n; ++k) {
            if (out != nullptr) {
                out[k] = std::move(ready[k]);
            } else {
                ready[k].reset();
            }
        }
    });
    impl.dropCaches();
}

void Tin::addTriangle(std::shared_ptr<Triangle> const& triangle)
{
    if (!triangle) {
        m_impl->dropCaches();
        return;
    }
    m_impl->insert(triangle);
}

void Tin::addTriangles(std::shared_ptr<Triangle> const* triangles, std::size_t count)
{
    Impl& impl = *m_impl;
    std::size_t const triangleEntries = impl.m_triangles.size() + count;
    if (unsigned const threads = count >= LANES_MIN_TRIANGLES ? support::LaneThreads::forBatch() : 0) {
        std::optional<Impl::LaneRun> run;
        try {
            run.emplace(impl, count, threads,
                [&impl, triangleEntries](int family) {
                    if (family == VERTEX_LISTS) {
                        impl.m_triangles.reserve(triangleEntries);
                    }
                },
                0);
        } catch (std::system_error const&) {
        }
        if (run) {
            constexpr std::size_t BATCH = LaneBlock::SIZE;
            for (std::size_t done = 0; done < count; done += BATCH) {
                run->hand([&](LaneBlock& block) {
                    block.triangles = triangles + done;
                    block.count = count - done < BATCH ? count - done : BATCH;
                });
            }
            run->finish();
            return;
        }
    }
    impl.m_triangles.reserve(triangleEntries);
    impl.insertAll(triangles, count);
    impl.dropCaches();
}

void Tin::removeTriangle(std::shared_ptr<Triangle> const& triangle)
{
    m_impl->remove(triangle);
}

void Tin::clear()
{
    Impl& impl = *m_impl;
    if (impl.m_triangleIndex) {
        impl.m_triangleIndex = impl.makeIndex();
        impl.m_triangleIndex->rebuildIndex();
    }
    impl.m_edgeTriangles.clear();
    impl.m_pointTriangles.clear();
    impl.releaseTriangles();
    impl.dropCaches();
}

bool Tin::empty() const
{
    return m_impl->m_triangles.empty();
}

std::uint64_t Tin::revision() const
{
    return m_impl->m_revision;
}

bool Tin::containsTriangle(std::shared_ptr<Triangle> const& triangle) const
{
    return m_impl->m_triangles.count(triangle) != 0;
}

TriangleSet const& Tin::allTriangles() const
{
    return m_impl->m_triangles;
}

int Tin::pointCount() const
{
    return static_cast<int>(m_impl->m_pointTriangles.size());
}

void Tin::forEachPoint(std::function<void(Point&)> const& visit) const
{
    m_impl->m_pointTriangles.forEach([&visit](auto const& entry) { visit(*entry.key); });
}

Rect Tin::boundingRect() const
{
    Impl& impl = *m_impl;
    if (impl.m_rectCached) {
        return impl.m_rect;
    }
    if (impl.m_pointTriangles.empty()) {
        impl.m_rect = Rect();
    } else {
        bool first = true;
        double xMin = 0, xMax = 0, yMin = 0, yMax = 0;
        impl.m_pointTriangles.forEach([&](auto const& entry) {
            double const x = entry.key->x();
            double const y = entry.key->y();
            if (first) {
                xMin = xMax = x;
                yMin = yMax = y;
                first = false;
                return;
            }
            xMin = x < xMin ? x : xMin;
            xMax = x > xMax ? x : xMax;
            yMin = y < yMin ? y : yMin;
            yMax = y > yMax ? y : yMax;
        });
        impl.m_rect = Rect(xMin, yMin, xMax, yMax);
    }
    impl.m_rectCached = true;
    return impl.m_rect;
}

std::vector<Edge*> Tin::outerEdges() const
{
    Impl& impl = *m_impl;
    std::vector<Edge*> result;
    impl.m_edgeTriangles.forEach([&](auto const& entry) {
        if (entry.head == NIL) {
            return;
        }
        // Counted from the head up to the tail the entry keeps: a boundary edge's list is read
        // nowhere, an inner edge's only at its head (each read a miss at survey scale).
        bool odd = true;
        for (std::uint32_t node = entry.head; node != entry.tail; node = impl.m_triangles.nextOf(node, EDGE_LISTS)) {
            odd = !odd;
        }
        if (odd) {
            result.push_back(entry.key);
        }
    });
    return result;
}

std::vector<std::shared_ptr<Triangle>> Tin::findTriangleFromEdge(std::shared_ptr<Edge> const& edge) const
{
    return m_impl->listOf(m_impl->m_edgeTriangles, edge.get(), EDGE_LISTS);
}

std::vector<std::shared_ptr<Triangle>> Tin::findTriangleFromPoint(std::shared_ptr<Point> const& point) const
{
    return m_impl->listOf(m_impl->m_pointTriangles, point.get(), VERTEX_LISTS);
}

std::vector<std::shared_ptr<Triangle>> Tin::findTrianglesInRect(Rect const& r) const
{
    return m_impl->triangleIndex().findInRect(r);
}

std::vector<std::shared_ptr<Triangle>> Tin::findTrianglesIntersectRect(Rect const& r) const
{
    return m_impl->triangleIndex().findIntersectRect(r);
}

std::vector<std::shared_ptr<Triangle>> Tin::findTrianglesIntersectRect(geos::geom::Envelope const& e) const
{
    return m_impl->triangleIndex().findIntersectEnvelope(e);
}

Point2D Tin::getInteriorPoint() const
{
    if (m_impl->m_triangles.empty()) {
        throw std::out_of_range("Tin::getInteriorPoint: the TIN has no triangle");
    }
    return (*m_impl->m_triangles.begin())->getInteriorPoint();
}

namespace {

// Keeps, in candidate order, the items whose GEOS form the query geometry meets. Many
// candidates share one prepared form of the query, which gives the same answers.
template <class T>
std::vector<std::shared_ptr<T>> keepIntersecting(
    std::vector<std::shared_ptr<T>> const& candidates, geos::geom::Geometry const* query)
{
    std::vector<std::shared_ptr<T>> result;
    if (candidates.empty()) {
        return result;
    }
    if (candidates.size() < 8) {
        for (auto const& c : candidates) {
            if (query->intersects(c->geosGeometry())) {
                result.push_back(c);
            }
        }
        return result;
    }
    auto prepared = geos::geom::prep::PreparedGeometryFactory::prepare(query);
    for (auto const& c : candidates) {
        if (prepared->intersects(c->geosGeometry())) {
            result.push_back(c);
        }
    }
    return result;
}

} // namespace

std::vector<std::shared_ptr<Triangle>> Tin::findTrianglesIntersectPolygon(Polygon const& polygon) const
{
    if (polygon.empty()) {
        return {};
    }
    return keepIntersecting(findTrianglesIntersectRect(polygon.boundingRect()), polygon.geosGeometry());
}

std::vector<std::shared_ptr<Triangle>> Tin::findTrianglesInsidePolygon(Polygon const& polygon) const
{
    return findTrianglesIntersectPolygon(polygon);
}

std::vector<std::shared_ptr<Triangle>> Tin::findTrianglesIntersectPolyline(Polyline const& polyline) const
{
    return keepIntersecting(findTrianglesIntersectRect(polyline.boundingRect()), polyline.geosGeometry());
}

std::vector<std::shared_ptr<Triangle>> Tin::findTrianglesIntersectPolygon(geos::geom::Geometry const& geometry) const
{
    return keepIntersecting(findTrianglesIntersectRect(*geometry.getEnvelopeInternal()), &geometry);
}

std::vector<std::shared_ptr<Edge>> Tin::findEdgesIntersectPolyline(Polyline const& polyline) const
{
    std::unordered_set<std::shared_ptr<Edge>> edges;
    for (auto const& t : findTrianglesIntersectPolyline(polyline)) {
        for (int k = 0; k < 3; ++k) {
            edges.insert(t->edge(k));
        }
    }
    std::vector<std::shared_ptr<Edge>> candidates(edges.begin(), edges.end());
    return keepIntersecting(candidates, polyline.geosGeometry());
}

std::vector<std::shared_ptr<Point>> Tin::findPointsInPolygon(Polygon const& polygon) const
{
    std::unordered_set<std::shared_ptr<Point>> points;
    for (auto const& t : findTrianglesIntersectPolygon(polygon)) {
        for (int k = 0; k < 3; ++k) {
            points.insert(t->point(k));
        }
    }
    std::vector<std::shared_ptr<Point>> result;
    for (auto const& p : points) {
        if (p->isInPolygon(polygon)) {
            result.push_back(p);
        }
    }
    return result;
}

bool Tin::interpolatedElevation(Point2DI const& p, double* z) const
{
    for (auto const& t : findTrianglesIntersectRect(p.boundingRect())) {
        if (t->interpolateElevation(p, z, false)) {
            return true;
        }
    }
    return false;
}

bool Tin::interpolateElevation(Point* point) const
{
    double z = 0.0;
    if (!interpolatedElevation(Point2D(point->x(), point->y()), &z)) {
        return false;
    }
    point->setElevation(z);
    return true;
}

std::shared_ptr<Point> Tin::findPointAtWithHint(Point2DI const& p, Point2DI const& hint) const
{
    double z = 0.0;
    for (auto const& vertex : findPointsAt(p)) {
        for (auto const& t : findTriangleFromPoint(vertex)) {
            if (t->interpolateElevation(hint, &z, false)) {
                return vertex;
            }
        }
    }
    return nullptr;
}

geos::geom::MultiPolygon* Tin::geosMultiPolygon() const
{
    Impl& impl = *m_impl;
    if (!impl.m_outline) {
        impl.m_outline.reset(tin::util::buildOutlineMultiPolygon(*impl.m_owner));
    }
    return impl.m_outline.get();
}

std::vector<geos::geom::Polygon const*> Tin::geosPolygons() const
{
    Impl& impl = *m_impl;
    std::vector<geos::geom::Polygon const*> result;
    if (impl.m_triangles.empty()) {
        return result;
    }
    if (!impl.m_union) {
        std::vector<geos::geom::Polygon*> polygons;
        polygons.reserve(impl.m_triangles.size());
        for (auto const& t : impl.m_triangles) {
            polygons.push_back(t->geosPolygon());
        }
        impl.m_union = geos::operation::geounion::CascadedPolygonUnion::Union(&polygons);
    }
    for (std::size_t i = 0; i < impl.m_union->getNumGeometries(); ++i) {
        result.push_back(dynamic_cast<geos::geom::Polygon const*>(impl.m_union->getGeometryN(i)));
    }
    return result;
}

bool Tin::isCoveredByTin(Geometry const& geometry)
{
    return geosGeometry()->covers(geometry.geosGeometry());
}

bool Tin::isCoversTin(Geometry const& geometry)
{
    return geometry.geosGeometry()->covers(geosGeometry());
}

bool Tin::isInsideTin(Geometry const& geometry)
{
    return geosGeometry()->contains(geometry.geosGeometry());
}

bool Tin::isIntersectedByTin(Geometry const& geometry)
{
    return geosGeometry()->intersects(geometry.geosGeometry());
}

bool Tin::isOverlappedByTin(Geometry const& geometry)
{
    return geosGeometry()->overlaps(geometry.geosGeometry());
}

bool isWithinGeometry(Geometry const& inner, Geometry const& outer)
{
    return outer.geosGeometry()->contains(inner.geosGeometry());
}

} // namespace tin::core

namespace tin::core {

Tin::Tin(Tin2D const& tin2D) : Tin(Quadtree)
{
    auto& points = PointFactory::instance();
    for (auto const& t : tin2D.triangles()) {
        std::shared_ptr<Point> corners[3];
        for (int i = 0; i < 3; ++i) {
            auto const& p = t->point(i);
            corners[i] = points.factory(Point(p->x(), p->y(), 0.0, 0), false);
        }
        addTriangle(corners[0], corners[1], corners[2]);
    }
}

} // namespace tin::core
