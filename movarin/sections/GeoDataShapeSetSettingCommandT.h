#pragma once

#include "movarin/sections/GeoDataShapeCommandT.h"

namespace varnel {

/// Gives the item a new drawing setting; undo gives back the one it had when the command
/// was made. Never merges.
template <class Traits>
class GeoDataShapeSetSettingCommandT : public GeoDataShapeCommandT<Traits> {
    using Base = GeoDataShapeCommandT<Traits>;

public:
    GeoDataShapeSetSettingCommandT(typename Base::Item* item,
                                   const typename Traits::Setting& setting)
        : Base(Traits::setSettingText, item), m_setting(setting), m_previous(item->setting())
    {
    }

protected:
    void doRedo() override { this->item()->setSetting(m_setting); }
    void doUndo() override { this->item()->setSetting(m_previous); }

private:
    typename Traits::Setting m_setting;
    typename Traits::Setting m_previous;
};

} // namespace varnel
