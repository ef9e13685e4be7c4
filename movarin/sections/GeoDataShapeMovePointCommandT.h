#pragma once

#include "movarin/sections/GeoDataShapeCommandT.h"

namespace varnel {

/// A vertex dragged to a new place: redo puts vertex `index` at the point, undo back where
/// it was when the command was made. A later command of this kind on the same item, not
/// pressed (the moves of the drag), merges in: its point is taken, so a drag is one entry.
template <class Traits>
class GeoDataShapeMovePointCommandT : public GeoDataShapeCommandT<Traits> {
    using Base = GeoDataShapeCommandT<Traits>;

public:
    GeoDataShapeMovePointCommandT(typename Base::Item* item, int index,
                                  const tin::core::Point2D& p, bool pressed)
        : Base(Traits::movePointText, item),
          m_index(index),
          m_point(p),
          m_previous(item->shape()->points().at(static_cast<std::size_t>(index))),
          m_pressed(pressed)
    {
    }

    int id() const override
    {
        static const int id = Base::commandId("MovePointCommand");
        return id;
    }
    bool mergeWith(const QUndoCommand* other) override
    {
        const auto later = this->template sameKind<GeoDataShapeMovePointCommandT>(other);
        if (!later || later->m_pressed || later->m_index != m_index) {
            return false;
        }
        m_point = later->m_point;
        return true;
    }

protected:
    void doRedo() override { this->shape().setPoint(m_index, m_point); }
    void doUndo() override { this->shape().setPoint(m_index, m_previous); }

private:
    int m_index;
    tin::core::Point2D m_point;
    tin::core::Point2D m_previous;
    bool m_pressed;
};

} // namespace varnel
