#include "movarin/surfaces/AddedTriangleRebinder.h"

#include "orlin/core/Point.h"
#include "orlin/core/Triangle.h"

#include <common/exception/RuntimeException.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <unordered_map>
#include <unordered_set>

namespace varnel {

namespace {

using TrianglePtr = std::shared_ptr<tin::core::Triangle>;
using VertexTriple = std::array<const tin::core::Point*, 3>;

VertexTriple vertexTriple(const tin::core::Triangle& t)
{
    VertexTriple key{t.point1().get(), t.point2().get(), t.point3().get()};
    std::sort(key.begin(), key.end());
    return key;
}

struct VertexTripleHash {
    std::size_t operator()(const VertexTriple& key) const
    {
        std::uint64_t h = 0;
        for (const tin::core::Point* p : key) {
            // Points are pooled 64-byte objects: the low bits carry nothing.
            const auto bits = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(p)) >> 6;
            h = (h ^ bits) * 0x9E3779B97F4A7C15ull;
            h ^= h >> 29;
        }
        return static_cast<std::size_t>(h);
    }
};

using TripleMap =
    std::unordered_map<VertexTriple, std::vector<const TrianglePtr*>, VertexTripleHash>;

bool meets(const tin::core::Tin& tin, const tin::core::Rect& extent)
{
    return !tin.empty() && tin.boundingRect().intersects(extent);
}

// What the newer surfaces hold where the stored triangles lie: the triangles they put in (by
// object) and those they took out, by vertex triple, from the front.
struct Candidates {
    std::unordered_set<const tin::core::Triangle*> putIn;
    TripleMap removed;
};

Candidates collect(const tin::core::Rect& extent,
                   const std::vector<AddedTriangleRebinder::Surface>& newer)
{
    Candidates c;
    for (const AddedTriangleRebinder::Surface& s : newer) {
        if (s.added && meets(*s.added, extent)) {
            for (const TrianglePtr& t : s.added->allTriangles()) {
                c.putIn.insert(t.get());
            }
        }
        if (s.removed && meets(*s.removed, extent)) {
            for (const TrianglePtr& t : s.removed->allTriangles()) {
                c.removed[vertexTriple(*t)].push_back(&t);
            }
        }
    }
    return c;
}

// The edited TIN is asked through the triangles around one vertex: a live counterpart has
// that very vertex object.
TrianglePtr inEdited(const tin::core::Tin* edited, const tin::core::Triangle& t,
                     const VertexTriple& key)
{
    if (!edited) {
        return nullptr;
    }
    for (const TrianglePtr& u : edited->findTriangleFromPoint(t.point1())) {
        if (vertexTriple(*u) == key) {
            return u;
        }
    }
    return nullptr;
}

// The first candidate over `key` that no newer surface put in.
TrianglePtr liveCounterpart(const tin::core::Tin* edited, const tin::core::Triangle& t,
                            const VertexTriple& key, const Candidates& candidates)
{
    TrianglePtr u = inEdited(edited, t, key);
    if (u && candidates.putIn.count(u.get()) == 0) {
        return u;
    }
    const auto it = candidates.removed.find(key);
    if (it != candidates.removed.end()) {
        for (const TrianglePtr* r : it->second) {
            if (candidates.putIn.count(r->get()) == 0) {
                return *r;
            }
        }
    }
    return nullptr;
}

} // namespace

tin::core::Tin AddedTriangleRebinder::rebind(const tin::core::Tin& stored,
                                             const tin::core::Tin* edited,
                                             const std::vector<Surface>& newer)
{
    tin::core::Tin live;
    if (stored.empty()) {
        return live;
    }
    const Candidates candidates = collect(stored.boundingRect(), newer);
    std::vector<TrianglePtr> found;
    found.reserve(stored.allTriangles().size());
    for (const TrianglePtr& t : stored.allTriangles()) {
        TrianglePtr u = liveCounterpart(edited, *t, vertexTriple(*t), candidates);
        if (!u) {
            throw common::exception::RuntimeException("Fatal error in buildAddedTin.");
        }
        found.push_back(std::move(u));
    }
    live.addTriangles(found.data(), found.size());
    return live;
}

} // namespace varnel
