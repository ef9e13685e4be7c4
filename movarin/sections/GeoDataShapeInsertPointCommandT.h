#pragma once

#include "movarin/sections/GeoDataShapeCommandT.h"

namespace varnel {

/// A vertex inserted on an edge and dragged. Pressed, it inserts the point at `index`
/// (before the vertex there) and undo removes it; not pressed (a move), it puts that vertex
/// at the point and merges into the command of the press on the same index, whose point it
/// replaces. On its own a not-pressed command's undo puts the vertex back.
template <class Traits>
class GeoDataShapeInsertPointCommandT : public GeoDataShapeCommandT<Traits> {
    using Base = GeoDataShapeCommandT<Traits>;

public:
    GeoDataShapeInsertPointCommandT(typename Base::Item* item, int index,
                                    const tin::core::Point2D& p, bool pressed)
        : Base(Traits::insertPointText, item), m_index(index), m_point(p), m_pressed(pressed)
    {
        if (!pressed) {
            m_previous = item->shape()->points().at(static_cast<std::size_t>(index));
        }
    }

    int id() const override
    {
        static const int id = Base::commandId("InsertPointCommand");
        return id;
    }
    bool mergeWith(const QUndoCommand* other) override
    {
        const auto later = this->template sameKind<GeoDataShapeInsertPointCommandT>(other);
        if (!later || later->m_pressed || later->m_index != m_index) {
            return false;
        }
        m_point = later->m_point;
        return true;
    }

protected:
    void doRedo() override
    {
        if (m_pressed) {
            this->shape().insertPoint(m_index, m_point);
        } else {
            this->shape().setPoint(m_index, m_point);
        }
    }
    void doUndo() override
    {
        if (m_pressed) {
            this->shape().removePoint(m_index);
        } else {
            this->shape().setPoint(m_index, m_previous);
        }
    }

private:
    int m_index;
    tin::core::Point2D m_point;
    tin::core::Point2D m_previous;
    bool m_pressed;
};

} // namespace varnel
