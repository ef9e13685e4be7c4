#pragma once

#include "movarin/surfaces/GeoEditSurfaceGroupItem.h"
#include "movarin/surfaces/GeoEditSurfaceGroupItemController.h"

#include "brask/util/MainViewSelectionHelperT.h"
#include "orlin/core/Point.h"
#include "orlin/core/Polygon.h"

#include <QPoint>

#include <memory>
#include <vector>

namespace varnel {

/// Base of the group controller's main-view tools. It carries what passes from tool to tool:
/// the path points (x, y and elevation in metres) and the outline polygon that previews
/// them, both owned and handed on whole to a tool made from this one (this one is left with
/// empty ones), the last mouse position (widget pixels) and the stay-active flag.
///
/// It gives the tools the controller's brush size and its half, and `view()`, the main view
/// of the group's model. `hasPendingBrushEdit` says whether a brush stroke is under way
/// (never for the base); `abandonPendingBrushEdit` lets such a stroke go without a preview or
/// a message (nothing for the base), for a controller that is going.
class GeoEditSurfaceGroupItemController::SelectionHelper
    : public mvc::util::MainViewSelectionHelperT<GeoEditSurfaceGroupItemController> {
public:
    explicit SelectionHelper(GeoEditSurfaceGroupItemController* controller);
    /// Takes over the points and the outline of `other`.
    SelectionHelper(SelectionHelper& other);
    ~SelectionHelper() override;

    virtual bool hasPendingBrushEdit() const;
    virtual void abandonPendingBrushEdit();

    std::vector<tin::core::Point>& points() const { return *m_points; }
    tin::core::Polygon& outline() const { return *m_outline; }
    const QPoint& lastMousePosition() const { return m_lastMousePosition; }
    void setLastMousePosition(const QPoint& position) { m_lastMousePosition = position; }
    bool staysActive() const { return m_staysActive; }
    double brushSize() const;
    double halfBrushSize() const;

protected:
    void setStaysActive(bool staysActive) { m_staysActive = staysActive; }

private:
    std::unique_ptr<std::vector<tin::core::Point>> m_points;
    std::unique_ptr<tin::core::Polygon> m_outline;
    QPoint m_lastMousePosition;
    bool m_staysActive = false;
};

} // namespace varnel
