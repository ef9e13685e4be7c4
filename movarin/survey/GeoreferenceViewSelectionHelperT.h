#pragma once

#include "movarin/survey/GeoreferenceViewSelectionHelper.h"

namespace varnel {

/// A mode of the georeference pane typed on the controller it serves (borrowed): every
/// mode of a controller's family reaches it through `controller()`. A copy keeps the
/// controller, so a new mode built from the current one serves the same controller.
template <class Controller>
class GeoreferenceViewSelectionHelperT : public GeoreferenceViewSelectionHelper {
public:
    explicit GeoreferenceViewSelectionHelperT(Controller* controller) : m_controller(controller)
    {
    }
    GeoreferenceViewSelectionHelperT(const GeoreferenceViewSelectionHelperT& other)
        : GeoreferenceViewSelectionHelper(other), m_controller(other.m_controller)
    {
    }

    Controller* controller() const { return m_controller; }

private:
    Controller* m_controller;
};

} // namespace varnel
