#pragma once

#include "movarin/sections/GeoDataShapeCommandT.h"

#include <cstddef>

namespace varnel {

/// Base of the commands that put vertex `index` of a shape at a point under the mouse and
/// follow a drag (`Derived` is the command class). The press makes the command; the moves
/// of the drag are not-pressed commands of the same class on the same item and index, which
/// merge into it: their point is taken, so a drag is one entry. `previous` is the vertex's
/// position when a command was made (none for a pressed insertion).
template <class Traits, class Derived>
class GeoDataShapeVertexCommandT : public GeoDataShapeCommandT<Traits> {
    using Base = GeoDataShapeCommandT<Traits>;

public:
    bool mergeWith(const QUndoCommand* other) override
    {
        const auto later = this->template sameKind<Derived>(other);
        if (!later || later->m_pressed || later->m_index != m_index) {
            return false;
        }
        m_point = later->m_point;
        return true;
    }

protected:
    GeoDataShapeVertexCommandT(const char* text, typename Base::Item* item, int index,
                               const tin::core::Point2D& p, bool pressed, bool hasPrevious)
        : Base(text, item), m_index(index), m_point(p), m_pressed(pressed)
    {
        if (hasPrevious) {
            m_previous = item->shape()->points().at(static_cast<std::size_t>(index));
        }
    }

    int m_index;
    tin::core::Point2D m_point;
    tin::core::Point2D m_previous;
    bool m_pressed;
};

} // namespace varnel
