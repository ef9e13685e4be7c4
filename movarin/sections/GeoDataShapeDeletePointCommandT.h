#pragma once

#include "movarin/sections/GeoDataShapeCommandT.h"

namespace varnel {

/// Removes vertex `index`; undo puts it back where it was when the command was made.
/// Never merges.
template <class Traits>
class GeoDataShapeDeletePointCommandT : public GeoDataShapeCommandT<Traits> {
    using Base = GeoDataShapeCommandT<Traits>;

public:
    GeoDataShapeDeletePointCommandT(typename Base::Item* item, int index)
        : Base(Traits::deletePointText, item),
          m_index(index),
          m_point(item->shape()->points().at(static_cast<std::size_t>(index)))
    {
    }

protected:
    void doRedo() override { this->shape().removePoint(m_index); }
    void doUndo() override { this->shape().insertPoint(m_index, m_point); }

private:
    int m_index;
    tin::core::Point2D m_point;
};

} // namespace varnel
