#pragma once

#include "brask/view/PrimitiveView.h"

namespace varnel {

/// The image pane of the georeference dialog: a background image in its own pixel frame,
/// where ground control points are picked. The painter helpers of the pane
/// (`GeoreferenceViewHelper`) convert with its `conv`. The pane's own drawing comes with the
/// georeference dialog.
class GeoreferenceView : public mvc::view::PrimitiveView {
    Q_OBJECT
public:
    explicit GeoreferenceView(QWidget* parent = nullptr);
    ~GeoreferenceView() override;
};

} // namespace varnel
