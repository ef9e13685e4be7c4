#pragma once

#include "movarin/sections/GeoDataShapeCommandT.h"

namespace varnel {

/// The first point of a definition. Pressed, the shape becomes the point twice (a fixed
/// vertex and the rubber band); not pressed (a move while the shape has two vertices), the
/// shape as it is with its rubber band moved to the point. Redo sets the shape and the
/// defining mode; undo empties the shape and waits for the first point again. A later
/// command of this kind, not pressed, merges in: its shape is taken.
template <class Traits>
class GeoDataShapeDefineStartCommandT : public GeoDataShapeCommandT<Traits> {
    using Base = GeoDataShapeCommandT<Traits>;

public:
    GeoDataShapeDefineStartCommandT(typename Base::Item* item, const tin::core::Point2D& p,
                                    bool pressed)
        : Base(Traits::defineStartText, item), m_pressed(pressed)
    {
        if (pressed || item->shape()->empty()) {
            m_shape = typename Base::Shape({p, p});
        } else {
            m_shape = *item->shape();
            m_shape.setLastPoint(p);
        }
    }

    int id() const override
    {
        static const int id = Base::commandId("DefineStartCommand");
        return id;
    }
    bool mergeWith(const QUndoCommand* other) override
    {
        const auto later = this->template sameKind<GeoDataShapeDefineStartCommandT>(other);
        if (!later || later->m_pressed) {
            return false;
        }
        m_shape = later->m_shape;
        return true;
    }

protected:
    void doRedo() override
    {
        this->shape() = m_shape;
        this->setMode(GeoDataShapeItemController::Defining, true);
    }
    void doUndo() override
    {
        this->shape().clear();
        this->setMode(GeoDataShapeItemController::WaitingFirstPoint, false);
    }

private:
    typename Base::Shape m_shape;
    bool m_pressed;
};

} // namespace varnel
