#include "movarin/surfaces/MoldItemControllerLhSelectionHelper.h"

#include "movarin/surfaces/DetailView.h"
#include "movarin/surfaces/MoldItem.h"
#include "movarin/surfaces/MoldItemControllerWaitingSelectionHelper.h"

#include <guimisc/KeyboardSupport.h>

#include <QKeyEvent>
#include <QMouseEvent>

#include <cmath>

namespace varnel {

using Self = MoldItemController::LhSelectionHelper;

namespace {

constexpr double SAME_POINT = 1e-12;

bool differs(const QPointF& a, const QPointF& b)
{
    return std::abs(a.x() - b.x()) > SAME_POINT || std::abs(a.y() - b.y()) > SAME_POINT;
}

QPointF lastPoint(const mold::core::Mold& mold)
{
    return QPointF(mold.l().back(), mold.h().back());
}

} // namespace

Self::LhSelectionHelper(SelectionHelper& other) : SelectionHelper(other)
{
    addWorkingCopyHelper();
    addSlopesHelper();
    const mold::core::Mold& mold = workingCopy()->mold();
    if (!mold.empty()) {
        m_lastFixed = lastPoint(mold);
    }
}

Self::~LhSelectionHelper() = default;

bool Self::hasLoosePoint() const
{
    const mold::core::Mold& mold = workingCopy()->mold();
    return !mold.empty() && differs(lastPoint(mold), m_lastFixed);
}

std::size_t Self::fixedCount() const
{
    const std::size_t size = workingCopy()->mold().size();
    return hasLoosePoint() ? size - 1 : size;
}

guimisc::helper::SelectionHelper* Self::mouseMoveEvent(QMouseEvent* event, DetailView* view)
{
    mold::core::Mold& mold = workingCopy()->mold();
    if (mold.empty()) {
        return this;
    }
    if (hasLoosePoint()) {
        mold.popbackLH();
    }
    const QPointF p = snapped(event->localPos(), event->modifiers(), view);
    if (differs(p, m_lastFixed)) {
        mold.pushbackLH(p.x(), p.y());
    }
    view->update();
    return this;
}

guimisc::helper::SelectionHelper* Self::mousePressEvent(QMouseEvent* event, DetailView* view)
{
    if (event->button() != Qt::LeftButton) {
        return this;
    }
    SelectionHelper::mousePressEvent(event, view);
    mold::core::Mold& mold = workingCopy()->mold();
    const QPointF p = snapped(event->localPos(), event->modifiers(), view);
    const std::size_t fixed = fixedCount();
    if (fixed > 0 && !differs(p, m_lastFixed)) {
        return this;
    }
    if (fixed > 0) {
        std::vector<double> l(mold.l().begin(), mold.l().begin() + static_cast<long>(fixed));
        l.push_back(p.x());
        if (!isStrictlyMonotonic(l, l.size())) {
            return this;
        }
    }
    if (hasLoosePoint()) {
        mold.popbackLH();
    }
    mold.pushbackLH(p.x(), p.y());
    m_lastFixed = p;
    view->update();
    return this;
}

guimisc::helper::SelectionHelper* Self::mouseDoubleClickEvent(QMouseEvent* event, DetailView* view)
{
    if (event->button() != Qt::LeftButton) {
        return this;
    }
    return finishDefinition(view);
}

guimisc::helper::SelectionHelper* Self::keyPressEvent(QKeyEvent* event, DetailView* view)
{
    if (event->key() == Qt::Key_Escape) {
        workingCopy()->mold().clear();
        clearSelection();
        view->update();
        return this;
    }
    if (guimisc::KeyboardSupport::isEnterKey(event->key())) {
        return finishDefinition(view);
    }
    return this;
}

guimisc::helper::SelectionHelper* Self::finishDefinition(DetailView* view)
{
    if (!isStrictlyMonotonic(workingCopy()->mold().l(), fixedCount())) {
        return this;
    }
    if (hasLoosePoint()) {
        workingCopy()->mold().popbackLH();
    }
    finishSelection(view);
    return new WaitingSelectionHelper(*this);
}

} // namespace varnel
