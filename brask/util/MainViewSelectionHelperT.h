#pragma once

#include "brask/core/Model.h"
#include "brask/core/ModelItem.h"
#include "brask/util/SelectionHelperT.h"

namespace mvc::util {

/// A selection helper of a controller whose item lives on the main view: adds `view()`, the
/// main view of the item's model (null while the item is outside a model).
template <class Controller>
class MainViewSelectionHelperT : public SelectionHelperT<Controller> {
public:
    explicit MainViewSelectionHelperT(Controller* controller)
        : SelectionHelperT<Controller>(controller)
    {
    }
    MainViewSelectionHelperT(const MainViewSelectionHelperT& other)
        : SelectionHelperT<Controller>(other)
    {
    }

    virtual core::View* view() const
    {
        const core::Model* model = this->controller()->item()->model();
        return model ? model->view() : nullptr;
    }
};

} // namespace mvc::util
