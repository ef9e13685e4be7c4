#pragma once

#include "movarin/sections/CrossSectionLhViewSelectionHelper.h"

namespace varnel {

/// A mode of the L-H profile plot that works for a controller of type `Controller`
/// (borrowed; a copy works for the same one). Header-only.
template <class Controller>
class CrossSectionLhViewSelectionHelperT : public CrossSectionLhViewSelectionHelper {
public:
    explicit CrossSectionLhViewSelectionHelperT(Controller* controller) : m_controller(controller)
    {
    }
    CrossSectionLhViewSelectionHelperT(const CrossSectionLhViewSelectionHelperT& other) = default;
    ~CrossSectionLhViewSelectionHelperT() override = default;

    Controller* controller() const { return m_controller; }

private:
    Controller* m_controller;
};

} // namespace varnel
