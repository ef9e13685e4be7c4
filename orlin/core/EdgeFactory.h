#pragma once

#include <cstddef>
#include <memory>
#include <vector>

namespace tin {
namespace core {

class Edge;
class Point;

/**
 * Process-wide interning of edges by unordered pair of point objects.
 *
 * factory(a, b) and factory(b, a) return the same Edge while anyone holds it; its
 * point1 is the end at the lower address. The factory never keeps an edge alive: an
 * edge removes its own entry when it dies, so a released pair later gives a new edge
 * with id −1 and the table holds one entry per live edge.
 *
 * The table is open-addressed (8 bytes per entry, load at most 0.7), keyed by the
 * FNV-1a hash of the two addresses, lower first. Unsynchronised: use from one thread.
 */
class EdgeFactory {
public:
    static EdgeFactory& instance();

    /// The one edge of {a, b}; throws std::invalid_argument when a or b is null.
    std::shared_ptr<Edge> factory(const std::shared_ptr<Point>& a, const std::shared_ptr<Point>& b);

    /// Number of edges registered (the live edges made by the factory).
    std::size_t size() const { return m_size; }

private:
    friend class Edge;

    EdgeFactory();
    ~EdgeFactory();
    EdgeFactory(const EdgeFactory&) = delete;
    EdgeFactory& operator=(const EdgeFactory&) = delete;

    static EdgeFactory m_instance;
    /// False before construction and after destruction of m_instance, so that edges
    /// outliving the library's statics do not touch the table.
    static bool s_alive;

    static std::size_t homeOf(const Point* low, const Point* high);
    std::size_t findIndex(const Point* low, const Point* high) const;
    void insert(Edge* edge);
    void remove(const Edge* edge);
    void rehash(std::size_t capacity);

    std::vector<Edge*> m_table; // null marks a free entry
    std::size_t m_size = 0;
};

} // namespace core
} // namespace tin
