#pragma once

#include "movarin/shell/RectViewHelperT.h"
#include "movarin/surfaces/DetailView.h"
#include "movarin/shell/MoldDetailViewHelperI.h"

namespace varnel {

/// A rubber band on the mold detail view: a borrowed `tin::core::Rect` record, built with (rect,
/// view, pen), drawn as a polygon without fill while its valid flag is set. The record is
/// read at every paint and must outlive the helper.
class RectMoldDetailViewHelper : public RectViewHelperT<MoldDetailViewHelperI, DetailView> {
public:
    using RectViewHelperT::RectViewHelperT;
};

} // namespace varnel
