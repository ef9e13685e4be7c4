#pragma once

#include "brask/util/SelectionHelper.h"

namespace mvc::util {

/// A selection helper typed on its controller: every mode of a controller's family reaches
/// the controller (borrowed) through `controller()`. A copy keeps the controller, so a new
/// mode built from the current one serves the same controller.
template <class Controller>
class SelectionHelperT : public SelectionHelper {
public:
    explicit SelectionHelperT(Controller* controller) : m_controller(controller) {}
    SelectionHelperT(const SelectionHelperT& other)
        : SelectionHelper(other), m_controller(other.m_controller)
    {
    }

    Controller* controller() const { return m_controller; }

private:
    Controller* m_controller;
};

} // namespace mvc::util
