#pragma once

#include "brask/proj/ProjectItem.h"

#include <mold/core/Mold.h>

namespace varnel {

/// A project item holding one mold (the cross-section template of the GeoEdit surfaces),
/// by value. The mold detail view and the mold editor both show and edit the mold through
/// `mold()`; painters borrow the item and read its mold at every paint.
class MoldItem : public mvc::proj::ProjectItem {
    Q_OBJECT
public:
    explicit MoldItem(mvc::proj::ProjectItem* parent = nullptr);
    ~MoldItem() override;

    mold::core::Mold& mold();
    const mold::core::Mold& mold() const;

private:
    mold::core::Mold m_mold;
};

} // namespace varnel
