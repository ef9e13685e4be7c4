#pragma once

#include "movarin/sections/GeoDataShapeVertexCommandT.h"

namespace varnel {

/// A vertex inserted on an edge and dragged. Pressed, it inserts the point at `index`
/// (before the vertex there) and undo removes it; not pressed (a move), it puts that vertex
/// at the point and merges into the command of the press (see the base). On its own a
/// not-pressed command's undo puts the vertex back.
template <class Traits>
class GeoDataShapeInsertPointCommandT
    : public GeoDataShapeVertexCommandT<Traits, GeoDataShapeInsertPointCommandT<Traits>> {
    using Base = GeoDataShapeVertexCommandT<Traits, GeoDataShapeInsertPointCommandT<Traits>>;

public:
    GeoDataShapeInsertPointCommandT(typename Traits::Item* item, int index,
                                    const tin::core::Point2D& p, bool pressed)
        : Base(Traits::insertPointText, item, index, p, pressed, !pressed)
    {
    }

    int id() const override
    {
        static const int id = Base::commandId("InsertPointCommand");
        return id;
    }

protected:
    void doRedo() override
    {
        if (this->m_pressed) {
            this->shape().insertPoint(this->m_index, this->m_point);
        } else {
            this->shape().setPoint(this->m_index, this->m_point);
        }
    }
    void doUndo() override
    {
        if (this->m_pressed) {
            this->shape().removePoint(this->m_index);
        } else {
            this->shape().setPoint(this->m_index, this->m_previous);
        }
    }
};

} // namespace varnel
