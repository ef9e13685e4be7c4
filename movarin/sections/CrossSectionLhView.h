#pragma once

#include "brask/view/PrimitiveView.h"

namespace varnel {

/// The L-H profile plot of a cross-section window: distance along the section (L) across,
/// elevation (H) up. The painter helpers of the profile (`CrossSectionLhViewHelper`)
/// convert with its `conv`. The plot's own drawing comes with the cross-section window.
class CrossSectionLhView : public mvc::view::PrimitiveView {
    Q_OBJECT
public:
    explicit CrossSectionLhView(QWidget* parent = nullptr);
    ~CrossSectionLhView() override;
};

} // namespace varnel
