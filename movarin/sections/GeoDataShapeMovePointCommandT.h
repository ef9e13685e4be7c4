#pragma once

#include "movarin/sections/GeoDataShapeVertexCommandT.h"

namespace varnel {

/// A vertex dragged to a new place: redo puts vertex `index` at the point, undo back where
/// it was when the command was made; the moves of the drag merge in (see the base).
template <class Traits>
class GeoDataShapeMovePointCommandT
    : public GeoDataShapeVertexCommandT<Traits, GeoDataShapeMovePointCommandT<Traits>> {
    using Base = GeoDataShapeVertexCommandT<Traits, GeoDataShapeMovePointCommandT<Traits>>;

public:
    GeoDataShapeMovePointCommandT(typename Traits::Item* item, int index,
                                  const tin::core::Point2D& p, bool pressed)
        : Base(Traits::movePointText, item, index, p, pressed, true)
    {
    }

    int id() const override
    {
        static const int id = Base::commandId("MovePointCommand");
        return id;
    }

protected:
    void doRedo() override { this->shape().setPoint(this->m_index, this->m_point); }
    void doUndo() override { this->shape().setPoint(this->m_index, this->m_previous); }
};

} // namespace varnel
