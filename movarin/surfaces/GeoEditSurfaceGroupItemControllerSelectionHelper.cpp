#include "movarin/surfaces/GeoEditSurfaceGroupItemControllerSelectionHelper.h"

namespace varnel {

using Self = GeoEditSurfaceGroupItemController::SelectionHelper;

Self::SelectionHelper(GeoEditSurfaceGroupItemController* controller)
    : MainViewSelectionHelperT(controller),
      m_points(std::make_unique<std::vector<tin::core::Point>>()),
      m_outline(std::make_unique<tin::core::Polygon>())
{
}

Self::SelectionHelper(SelectionHelper& other)
    : MainViewSelectionHelperT(other), m_points(std::move(other.m_points)),
      m_outline(std::move(other.m_outline)), m_lastMousePosition(other.m_lastMousePosition),
      m_staysActive(other.m_staysActive)
{
    other.m_points = std::make_unique<std::vector<tin::core::Point>>();
    other.m_outline = std::make_unique<tin::core::Polygon>();
}

Self::~SelectionHelper() = default;

bool Self::hasPendingBrushEdit() const
{
    return false;
}

void Self::abandonPendingBrushEdit() {}

double Self::brushSize() const
{
    return controller()->brushSize();
}

double Self::halfBrushSize() const
{
    return brushSize() / 2.0;
}

} // namespace varnel
