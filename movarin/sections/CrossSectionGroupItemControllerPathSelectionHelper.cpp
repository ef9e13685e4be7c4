#include "movarin/sections/CrossSectionGroupItemControllerPathSelectionHelper.h"

#include "movarin/sections/CrossSectionGroupItemControllerVoidSelectionHelper.h"
#include "movarin/shell/PolylineMainViewHelper.h"

#include "brask/core/View.h"

#include <guimisc/UserDialogs.h>

#include <QKeyEvent>
#include <QMainWindow>
#include <QMouseEvent>

#include <algorithm>

namespace varnel {

// Shorthand inside the bodies; each definition names the class in full, since the
// translation tools do not see through an alias to find a text's class.
using Self = CrossSectionGroupItemController::PathSelectionHelper;

namespace {

bool samePosition(const tin::core::Point& a, const tin::core::Point& b)
{
    return a.x() == b.x() && a.y() == b.y();
}

tin::core::Point worldPoint(const QPoint& pixel, const mvc::core::View* view)
{
    const QPointF world = view->rconv(pixel);
    return tin::core::Point(world.x(), world.y());
}

} // namespace

CrossSectionGroupItemController::PathSelectionHelper::PathSelectionHelper(SelectionHelper& other)
    : SelectionHelper(other),
      m_anchor(0.0, 0.0)
{
    if (!points().empty()) {
        m_anchor = points().back();
    }
    viewHelpers().push_back(std::make_unique<PolylineMainViewHelper>(&points(), view(), nullptr));
}

CrossSectionGroupItemController::PathSelectionHelper::~PathSelectionHelper() = default;

guimisc::helper::SelectionHelper*
CrossSectionGroupItemController::PathSelectionHelper::keyPressEvent(QKeyEvent* event,
                                                                    mvc::core::View*)
{
    if (event->key() != Qt::Key_Escape) {
        return this;
    }
    if (points().empty()) {
        return new VoidSelectionHelper(*this);
    }
    points().clear();
    repaint();
    return this;
}

guimisc::helper::SelectionHelper*
CrossSectionGroupItemController::PathSelectionHelper::mouseMoveEvent(QMouseEvent* event,
                                                                     mvc::core::View* view)
{
    std::vector<tin::core::Point>& line = points();
    if (!line.empty()) {
        const tin::core::Point mouse = worldPoint(event->pos(), view);
        if (!samePosition(line.back(), m_anchor)) {
            line.pop_back();
        }
        if (!samePosition(mouse, m_anchor)) {
            line.push_back(mouse);
        }
    }
    repaint();
    return this;
}

guimisc::helper::SelectionHelper*
CrossSectionGroupItemController::PathSelectionHelper::mousePressEvent(QMouseEvent* event,
                                                                      mvc::core::View* view)
{
    if (event->button() != Qt::LeftButton) {
        return this;
    }
    setPressPosition(event->pos());
    const tin::core::Point clicked = worldPoint(event->pos(), view);
    std::vector<tin::core::Point>& line = points();
    const bool repeated =
        !line.empty() && std::any_of(line.begin(), line.end() - 1, [&](const tin::core::Point& p) {
            return samePosition(p, clicked);
        });
    if (repeated) {
        guimisc::UserDialogs::warning(controller()->mainWindow(), tr("Warning"),
                                      tr("Cannot add the same position more than once."));
        return this;
    }
    if (!line.empty()) {
        line.pop_back();
    }
    line.push_back(clicked);
    m_anchor = clicked;
    repaint();
    if (line.size() > 1) {
        const tin::core::Point start = line.front();
        const tin::core::Point end = line.back();
        line.clear();
        controller()->addCrossSection(start, end);
    }
    return this;
}

void CrossSectionGroupItemController::PathSelectionHelper::repaint() const
{
    if (mvc::core::View* mainView = view()) {
        mainView->update();
    }
}

} // namespace varnel
