#include "movarin/surfaces/MoldItemControllerAddPointSelectionHelper.h"

#include "movarin/shell/PolylineMoldDetailViewHelper.h"
#include "movarin/surfaces/DetailView.h"
#include "movarin/surfaces/MoldItem.h"
#include "movarin/surfaces/MoldItemControllerTranslationSelectionHelper.h"
#include "movarin/surfaces/MoldItemControllerWaitingSelectionHelper.h"

#include <guimisc/KeyboardSupport.h>

#include <QKeyEvent>
#include <QMouseEvent>

#include <limits>

namespace varnel {

using Self = MoldItemController::AddPointSelectionHelper;

namespace {

double squaredDistance(const QPointF& a, const QPointF& b)
{
    const QPointF d = a - b;
    return d.x() * d.x() + d.y() * d.y();
}

} // namespace

Self::AddPointSelectionHelper(SelectionHelper& other) : SelectionHelper(other)
{
    if (DetailView* view = controller()->moldItem()->detailView()) {
        viewHelpers().push_back(
            std::make_unique<PolylineMoldDetailViewHelper>(&m_preview, view, QPen(Qt::gray)));
    }
}

Self::~AddPointSelectionHelper() = default;

std::size_t Self::insertionIndex(const QPointF& pixel, const DetailView* view) const
{
    const mold::core::Mold& mold = workingCopy()->mold();
    const std::size_t n = mold.size();
    if (n == 0) {
        return 0;
    }
    const auto at = [&](std::size_t i) { return view->conv(QPointF(mold.l()[i], mold.h()[i])); };
    // Candidates in rising index, so that a later one wins only when strictly nearer.
    std::size_t best = 0;
    double bestDistance = squaredDistance(pixel, at(0));
    const auto consider = [&](std::size_t index, const QPointF& foot) {
        const double distance = squaredDistance(pixel, foot);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = index;
        }
    };
    for (std::size_t i = 1; i < n; ++i) {
        const QPointF a = at(i - 1);
        const QPointF ab = at(i) - a;
        const double length = ab.x() * ab.x() + ab.y() * ab.y();
        if (!(length > 0.0)) {
            continue;
        }
        const QPointF ap = pixel - a;
        const double t = (ap.x() * ab.x() + ap.y() * ab.y()) / length;
        if (t > 0.0 && t < 1.0) {
            consider(i, a + t * ab);
        }
    }
    consider(n, at(n - 1));
    return best;
}

void Self::follow(const QPointF& pos, Qt::KeyboardModifiers modifiers, const DetailView* view)
{
    m_candidate = snapped(pos, modifiers, view);
    m_index = insertionIndex(pos, view);
    const mold::core::Mold& mold = workingCopy()->mold();
    const auto point = [&](std::size_t i) { return QPointF(mold.l()[i], mold.h()[i]); };
    m_preview.clear();
    if (mold.empty()) {
        return;
    }
    if (m_index == 0) {
        m_preview = {point(0), *m_candidate};
    } else if (m_index == mold.size()) {
        m_preview = {point(mold.size() - 1), *m_candidate};
    } else {
        m_preview = {point(m_index - 1), *m_candidate, point(m_index)};
    }
}

void Self::insertCandidate()
{
    workingCopy()->mold().insertLH(m_index, m_candidate->x(), m_candidate->y());
    setSelection({m_index});
}

guimisc::helper::SelectionHelper* Self::keyPressEvent(QKeyEvent* event, DetailView* view)
{
    if (event->key() == Qt::Key_Escape) {
        view->update();
        return new WaitingSelectionHelper(*this);
    }
    if (guimisc::KeyboardSupport::isEnterKey(event->key()) && m_candidate) {
        insertCandidate();
        finishSelection(view);
        return new WaitingSelectionHelper(*this);
    }
    return this;
}

guimisc::helper::SelectionHelper* Self::mouseMoveEvent(QMouseEvent* event, DetailView* view)
{
    follow(event->localPos(), event->modifiers(), view);
    view->update();
    return this;
}

guimisc::helper::SelectionHelper* Self::mousePressEvent(QMouseEvent* event, DetailView* view)
{
    if (event->button() != Qt::LeftButton) {
        return this;
    }
    SelectionHelper::mousePressEvent(event, view);
    follow(event->localPos(), event->modifiers(), view);
    insertCandidate();
    view->update();
    return new TranslationSelectionHelper(*this);
}

} // namespace varnel
