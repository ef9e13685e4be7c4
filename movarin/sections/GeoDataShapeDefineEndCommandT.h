#pragma once

#include "movarin/sections/GeoDataShapeCommandT.h"

#include <QVariant>

namespace varnel {

/// The end of a definition. Redo takes the rubber band away (when the definition has one),
/// gives a polygon its value (kinds without value ignore it) and leaves the defining mode;
/// undo puts the rubber band back where it was, the earlier value too, and returns to the
/// defining mode. The command removes the rubber band itself, so that what lies on the
/// stack below it (a setting accepted during the definition, say) is never undone for it.
/// Never merges.
template <class Traits>
class GeoDataShapeDefineEndCommandT : public GeoDataShapeCommandT<Traits> {
    using Base = GeoDataShapeCommandT<Traits>;

public:
    GeoDataShapeDefineEndCommandT(typename Base::Item* item, const QVariant& value)
        : Base(Traits::defineEndText, item),
          m_value(value),
          m_hadRubberBand(this->controller()->hasRubberBand())
    {
        if constexpr (Traits::hasValue) {
            m_previousValue = item->value();
        }
    }

protected:
    void doRedo() override
    {
        if (m_hadRubberBand && !this->shape().empty()) {
            m_rubberBand = this->shape().points().back();
            this->shape().removeLastPoint();
        }
        if constexpr (Traits::hasValue) {
            this->item()->setValue(m_value);
        }
        this->setMode(GeoDataShapeItemController::Normal, false);
    }
    void doUndo() override
    {
        if (m_hadRubberBand) {
            this->shape().addPoint(m_rubberBand);
        }
        if constexpr (Traits::hasValue) {
            this->item()->setValue(m_previousValue);
        }
        this->setMode(GeoDataShapeItemController::Defining, m_hadRubberBand);
    }

private:
    QVariant m_value;
    QVariant m_previousValue;
    bool m_hadRubberBand;
    tin::core::Point2D m_rubberBand;
};

} // namespace varnel
