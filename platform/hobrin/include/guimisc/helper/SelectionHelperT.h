#pragma once

#include "guimisc/helper/SelectionHelper.h"

#include <memory>
#include <vector>

class QKeyEvent;
class QMouseEvent;
class QWheelEvent;

namespace guimisc::helper {

/// An interaction mode of a view of type V (a selection tool, a drag, an edit mode), which
/// owns the painter helpers of type H that show its state (see `ViewHelperT`).
///
/// Each event hook receives the event and the view and returns the mode that is to be
/// active next: by default the helper itself, so the mode stays. A hook that switches modes
/// returns a new helper (typically built from this one); the caller installs it and deletes
/// the old one. `finishSelection` runs `doFinishSelection` (empty by default) and then the
/// view's `updateView()`, so V must offer that.
///
/// The view-helper list starts empty. A copy starts with an empty list as well (helpers
/// belong to the mode that made them), so a derived mode can be built from the current one
/// by copying its state. Header-only.
template <class V, class H>
class SelectionHelperT : public SelectionHelper {
public:
    SelectionHelperT() = default;
    SelectionHelperT(const SelectionHelperT& other) : SelectionHelper(other) {}
    SelectionHelperT& operator=(const SelectionHelperT&) = delete;
    ~SelectionHelperT() override = default;

    virtual std::vector<std::unique_ptr<H>>& viewHelpers() { return m_viewHelpers; }
    virtual const std::vector<std::unique_ptr<H>>& viewHelpers() const { return m_viewHelpers; }

    virtual SelectionHelper* keyPressEvent(QKeyEvent* event, V* view) { return this; }
    virtual SelectionHelper* keyReleaseEvent(QKeyEvent* event, V* view) { return this; }
    virtual SelectionHelper* mouseDoubleClickEvent(QMouseEvent* event, V* view) { return this; }
    virtual SelectionHelper* mouseMoveEvent(QMouseEvent* event, V* view) { return this; }
    virtual SelectionHelper* mousePressEvent(QMouseEvent* event, V* view) { return this; }
    virtual SelectionHelper* mouseReleaseEvent(QMouseEvent* event, V* view) { return this; }
    virtual SelectionHelper* wheelEvent(QWheelEvent* event, V* view) { return this; }

protected:
    virtual void finishSelection(V* view)
    {
        doFinishSelection(view);
        view->updateView();
    }
    virtual void doFinishSelection(V* view) {}

private:
    std::vector<std::unique_ptr<H>> m_viewHelpers;
};

} // namespace guimisc::helper
