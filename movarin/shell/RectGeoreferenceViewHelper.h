#pragma once

#include "movarin/shell/RectViewHelperT.h"
#include "movarin/survey/GeoreferenceView.h"
#include "movarin/survey/GeoreferenceViewHelper.h"

namespace varnel {

/// A rubber band on the georeference image pane: a borrowed `tin::core::Rect` record, built with
/// (rect, view, pen), drawn as a polygon without fill while its valid flag is set. The record is
/// read at every paint and must outlive the helper.
class RectGeoreferenceViewHelper
    : public RectViewHelperT<GeoreferenceViewHelper, GeoreferenceView> {
public:
    using RectViewHelperT::RectViewHelperT;
};

} // namespace varnel
