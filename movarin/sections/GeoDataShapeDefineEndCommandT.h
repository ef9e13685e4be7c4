#pragma once

#include "movarin/sections/GeoDataShapeCommandT.h"

#include <QVariant>

namespace varnel {

/// The end of a definition, pushed after the rubber band was taken away. Redo gives a
/// polygon its value (kinds without value ignore it) and leaves the defining mode; undo
/// puts the earlier value back and returns to the defining mode without a rubber band.
/// Never merges.
template <class Traits>
class GeoDataShapeDefineEndCommandT : public GeoDataShapeCommandT<Traits> {
    using Base = GeoDataShapeCommandT<Traits>;

public:
    GeoDataShapeDefineEndCommandT(typename Base::Item* item, const QVariant& value)
        : Base(Traits::defineEndText, item), m_value(value)
    {
        if constexpr (Traits::hasValue) {
            m_previousValue = item->value();
        }
    }

protected:
    void doRedo() override
    {
        if constexpr (Traits::hasValue) {
            this->item()->setValue(m_value);
        }
        this->setMode(GeoDataShapeItemController::Normal, false);
    }
    void doUndo() override
    {
        if constexpr (Traits::hasValue) {
            this->item()->setValue(m_previousValue);
        }
        this->setMode(GeoDataShapeItemController::Defining, false);
    }

private:
    QVariant m_value;
    QVariant m_previousValue;
};

} // namespace varnel
