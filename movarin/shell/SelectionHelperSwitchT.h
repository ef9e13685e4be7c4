#pragma once

#include <guimisc/helper/SelectionHelper.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <vector>

namespace varnel {

/// The change of the active interaction mode in the controller of a secondary view's item
/// (the mold editor, the georeference pane, the L-H plot), whose modes are `Tool`s that own
/// painters of type `Painter` and whose item view paints a list of borrowed painters.
///
/// `install` makes `next` the active mode unless it is already: the old mode's painters
/// leave `painters`, the old mode is deleted, `next` is taken over and its painters join the
/// list in order. Nothing is repainted. `next` must be a `Tool` working for `controller`
/// (its `controller()`); anything else, null included, throws std::invalid_argument with
/// `refusal` and is not taken. Header-only.
template <class Tool, class Painter>
class SelectionHelperSwitchT {
public:
    /// Whether the active mode changed.
    template <class Controller>
    static bool install(std::unique_ptr<Tool>& active, guimisc::helper::SelectionHelper* next,
                        const Controller* controller, std::vector<Painter*>& painters,
                        const char* refusal)
    {
        if (next == active.get()) {
            return false;
        }
        auto* tool = dynamic_cast<Tool*>(next);
        if (!tool || tool->controller() != controller) {
            throw std::invalid_argument(refusal);
        }
        if (active) {
            for (const auto& painter : active->viewHelpers()) {
                painters.erase(std::remove(painters.begin(), painters.end(), painter.get()),
                               painters.end());
            }
        }
        active.reset(tool);
        for (const auto& painter : tool->viewHelpers()) {
            painters.push_back(painter.get());
        }
        return true;
    }
};

} // namespace varnel
