#pragma once

#include "movarin/sections/GeoDataShapeCommandT.h"

namespace varnel {

/// A further point of a definition. Pressed, it appends the point as the new rubber band
/// (the old one stays where it is) and undo removes it again. Not pressed (a move), it puts
/// the rubber band at the point and merges into the command of the last press, whose point
/// it replaces; on its own its undo puts the rubber band back. Undo also gives back
/// whether there was a rubber band before.
template <class Traits>
class GeoDataShapeDefineAddPointCommandT : public GeoDataShapeCommandT<Traits> {
    using Base = GeoDataShapeCommandT<Traits>;

public:
    GeoDataShapeDefineAddPointCommandT(typename Base::Item* item, const tin::core::Point2D& p,
                                       bool pressed)
        : Base(Traits::defineAddPointText, item),
          m_point(p),
          m_pressed(pressed),
          m_hadRubberBand(this->controller()->hasRubberBand())
    {
        if (!pressed && !item->shape()->empty()) {
            m_previousLast = item->shape()->points().back();
        }
    }

    int id() const override
    {
        static const int id = Base::commandId("DefineAddPointCommand");
        return id;
    }
    bool mergeWith(const QUndoCommand* other) override
    {
        const auto later = this->template sameKind<GeoDataShapeDefineAddPointCommandT>(other);
        if (!later || later->m_pressed) {
            return false;
        }
        m_point = later->m_point;
        return true;
    }

protected:
    void doRedo() override
    {
        if (m_pressed || this->shape().empty()) {
            this->shape().addPoint(m_point);
        } else {
            this->shape().setLastPoint(m_point);
        }
        this->setMode(GeoDataShapeItemController::Defining, true);
    }
    void doUndo() override
    {
        if (m_pressed) {
            this->shape().removeLastPoint();
        } else if (!this->shape().empty()) {
            this->shape().setLastPoint(m_previousLast);
        }
        this->setMode(GeoDataShapeItemController::Defining, m_hadRubberBand);
    }

private:
    tin::core::Point2D m_point;
    tin::core::Point2D m_previousLast;
    bool m_pressed;
    bool m_hadRubberBand;
};

} // namespace varnel
