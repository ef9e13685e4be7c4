#include "movarin/surfaces/GeoEditSurfaceItemControllerSelectionHelper.h"

#include "movarin/sections/PointPicking.h"
#include "movarin/shell/SettingsKeys.h"
#include "movarin/shell/PointsMainViewHelper.h"
#include "movarin/shell/PolygonMainViewHelper.h"
#include "movarin/shell/PolylineMainViewHelper.h"
#include "movarin/shell/RectMainViewHelper.h"
#include "movarin/surfaces/GeoEditSurfaceGroupItemControllerPathSelectionHelper.h"
#include "movarin/surfaces/GeoEditSurfaceItemControllerGuideMainViewHelper.h"
#include "movarin/surfaces/GeoEditSurfaceItemControllerSelectionHelperSnapshot.h"
#include "movarin/survey/TinItem.h"

#include "brask/core/View.h"
#include "orlin/core/Tin.h"
#include "sedrun/TinFromMoldPathCreator.h"

#include <common/exception/RuntimeException.h>

#include <QSettings>

#include <algorithm>
#include <cmath>
#include <exception>
#include <stdexcept>
#include <utility>

namespace varnel {

using Self = GeoEditSurfaceItemController::SelectionHelper;

Self::SelectionHelper(GeoEditSurfaceItemController* controller)
    : MainViewSelectionHelperT(controller)
{
}

Self::SelectionHelper(SelectionHelper& other) : MainViewSelectionHelperT(other)
{
    takeOver(other);
    if (m_committedReferenceLines.empty()) {
        m_committedReferenceLines = m_referenceLines;
    }
}

Self::~SelectionHelper() = default;

void Self::takeOver(SelectionHelper& other)
{
    m_pendingPath = std::move(other.m_pendingPath);
    m_referenceLines = std::move(other.m_referenceLines);
    m_committedReferenceLines = std::move(other.m_committedReferenceLines);
    m_outline = std::move(other.m_outline);
    m_pressPosition = other.m_pressPosition;
    m_selectedIndices = std::move(other.m_selectedIndices);
    m_selectedPoints = std::move(other.m_selectedPoints);
    m_waitingEntered = other.m_waitingEntered;
    // The other tool is about to go; until then it paints nothing of what it handed on.
    other.m_pendingPath.clear();
    other.m_referenceLines.clear();
    other.m_committedReferenceLines.clear();
    other.m_outline = tin::core::Polygon();
    other.m_selectedIndices.clear();
    other.m_selectedPoints.clear();
}

void Self::giveBackTo(SelectionHelper& other)
{
    other.takeOver(*this);
}

void Self::setCommittedReferenceLines(const ReferenceLines& lines)
{
    m_committedReferenceLines = lines;
}

void Self::initFromSurface()
{
    m_pendingPath = controller()->item()->path();
    m_referenceLines = ReferenceLine::defaultsFor(m_pendingPath);
    // Lines recorded by an edit before any tool was made from this one must have a state
    // to go back to.
    if (m_committedReferenceLines.empty()) {
        m_committedReferenceLines = m_referenceLines;
    }
    updateAuxiliaries();
}

void Self::resetFromSurface()
{
    restorePending(controller()->item()->path(), m_committedReferenceLines);
}

void Self::restorePending(const std::vector<tin::core::Point>& path, const ReferenceLines& lines)
{
    m_pendingPath = path;
    m_referenceLines = lines;
    for (auto it = m_selectedIndices.begin(); it != m_selectedIndices.end();) {
        it = *it < m_pendingPath.size() ? std::next(it) : m_selectedIndices.erase(it);
    }
    rebuildSelectedPoints();
    updateAuxiliaries();
}

void Self::updateAuxiliaries()
{
    m_outline = tin::core::Polygon();
    if (m_pendingPath.empty()) {
        return;
    }
    // The creator keeps a reference to the mold.
    const mold::core::Mold mold = controller()->pendingMold();
    try {
        const tincreator::util::TinFromMoldPathCreator creator(mold, m_pendingPath);
        m_outline = creator.createOutlinePolygon(controller()->pendingClosed());
    } catch (const std::exception&) {
        // A path the sweep refuses has no preview; applying it says why.
        m_outline = tin::core::Polygon();
    }
}

void Self::rebuildSelectedPoints()
{
    m_selectedPoints.clear();
    for (std::size_t index : m_selectedIndices) {
        m_selectedPoints.push_back(m_pendingPath.at(index));
    }
}

void Self::updateSelectionBox()
{
    if (m_selectedPoints.empty()) {
        return;
    }
    std::vector<tin::core::Point2D> positions;
    for (const tin::core::Point& p : m_selectedPoints) {
        positions.push_back(p.point2d());
    }
    m_selectionBox = tin::core::Rect(positions);
}

void Self::clearSelectionBox()
{
    m_selectionBox = tin::core::Rect();
}

void Self::checkIndex(std::size_t index, std::size_t size) const
{
    if (index >= size) {
        throw std::out_of_range("Path point index out of range.");
    }
}

void Self::insertPoint(std::size_t index, const tin::core::Point& point)
{
    checkIndex(index, m_pendingPath.size() + 1);
    m_pendingPath.insert(m_pendingPath.begin() + static_cast<std::ptrdiff_t>(index), point);
    ReferenceLine::afterInsert(m_referenceLines, m_pendingPath, index);
    std::set<std::size_t> shifted;
    for (std::size_t i : m_selectedIndices) {
        shifted.insert(i < index ? i : i + 1);
    }
    m_selectedIndices = std::move(shifted);
    rebuildSelectedPoints();
}

void Self::removePoint(std::size_t index)
{
    checkIndex(index, m_pendingPath.size());
    m_pendingPath.erase(m_pendingPath.begin() + static_cast<std::ptrdiff_t>(index));
    ReferenceLine::afterRemove(m_referenceLines, m_pendingPath, index);
    std::set<std::size_t> shifted;
    for (std::size_t i : m_selectedIndices) {
        if (i != index) {
            shifted.insert(i < index ? i : i - 1);
        }
    }
    m_selectedIndices = std::move(shifted);
    rebuildSelectedPoints();
}

void Self::movePoint(std::size_t index, const tin::core::Point& point)
{
    checkIndex(index, m_pendingPath.size());
    tin::core::Point& vertex = m_pendingPath[index];
    vertex.setPosition(point.x(), point.y());
    vertex.setElevation(point.elevation());
    ReferenceLine::afterMove(m_referenceLines, m_pendingPath, index);
    rebuildSelectedPoints();
}

void Self::setReferenceLine(std::size_t index, const tin::core::Point2D& direction)
{
    checkIndex(index, m_referenceLines.size());
    m_referenceLines[index] = ReferenceLine{direction, true};
}

void Self::deleteSelectedPoints()
{
    m_selectedPoints.clear();
    const std::vector<std::size_t> doomed(m_selectedIndices.rbegin(), m_selectedIndices.rend());
    for (std::size_t index : doomed) {
        removePoint(index);
    }
    updateAuxiliaries();
    repaint();
    controller()->markEdited();
    if (!controller()->isBatchApply()) {
        finishSelection(view());
    }
    clearSelectionBox();
    m_selectedIndices.clear();
    rebuildSelectedPoints();
    updateAuxiliaries();
    repaint();
}

void Self::reset(mvc::core::View* view)
{
    clearSelectionBox();
    m_selectedIndices.clear();
    rebuildSelectedPoints();
    updateAuxiliaries();
    if (view) {
        view->update();
    }
}

std::unique_ptr<Self::Snapshot> Self::snapshot()
{
    return std::make_unique<Snapshot>(controller(), m_pendingPath, m_referenceLines);
}

std::size_t Self::findInsertIndex(const std::vector<tin::core::Point>& path,
                                  const QPointF& position, const mvc::core::View* view)
{
    const std::size_t n = path.size();
    if (n == 0) {
        return 0;
    }
    struct Pixel {
        float x;
        float y;
    };
    const auto onScreen = [view](const tin::core::Point& p) {
        const QPointF s = view->conv(QPointF(p.x(), p.y()));
        return Pixel{static_cast<float>(s.x()), static_cast<float>(s.y())};
    };
    const Pixel click{static_cast<float>(position.x()), static_cast<float>(position.y())};
    const auto distance = [&click](const Pixel& p) {
        const float dx = p.x - click.x;
        const float dy = p.y - click.y;
        return dx * dx + dy * dy;
    };

    std::size_t best = 0;
    float nearest = distance(onScreen(path.front()));
    Pixel a = onScreen(path.front());
    for (std::size_t k = 1; k < n; ++k) {
        const Pixel b = onScreen(path[k]);
        const float dx = b.x - a.x;
        const float dy = b.y - a.y;
        const float t = ((click.x - a.x) * dx + (click.y - a.y) * dy) / (dx * dx + dy * dy);
        // A foot on a segment's end (or a segment of no length) gives no candidate.
        if (t > 0.0f && t < 1.0f) {
            const float d = distance(Pixel{a.x + t * dx, a.y + t * dy});
            if (d < nearest) {
                best = k;
                nearest = d;
            }
        }
        a = b;
    }
    if (distance(onScreen(path.back())) < nearest) {
        best = n;
    }
    return best;
}

double Self::newVertexElevation(const QPointF& world, const mvc::core::View* view) const
{
    const TinItem* edited = controller()->item()->rootTinItem();
    const tin::core::Tin* tin = edited ? edited->tin() : nullptr;
    if (!tin || tin->empty()) {
        throw common::exception::RuntimeException("Empty Tin.");
    }
    double z = 0.0;
    if (tin->interpolatedElevation(tin::core::Point2D(world.x(), world.y()), &z)) {
        return z;
    }
    const QPoint pixel = view->conv(world).toPoint();
    return GeoEditSurfaceGroupItemController::PathSelectionHelper::nearestVertex(*tin, pixel, view)
        ->elevation();
}

void Self::doFinishSelection(mvc::core::View*)
{
    if (controller()->isEdited()) {
        controller()->applyPendingEdit(m_pendingPath);
    }
}

void Self::finishSelection(mvc::core::View* view)
{
    doFinishSelection(view);
    if (view) {
        view->update();
    }
}

void Self::toggleInside(const tin::core::Polygon& polygon)
{
    toggleIndicesInside(m_selectedIndices, m_pendingPath, polygon);
}

void Self::addPathAndOutlineHelpers()
{
    viewHelpers().push_back(
        std::make_unique<PolylineMainViewHelper>(&m_pendingPath, view(), QPen(Qt::black), nullptr));
    viewHelpers().push_back(std::make_unique<PolygonMainViewHelper>(&m_outline, view()));
}

void Self::addPathHelpers()
{
    addPathAndOutlineHelpers();
    const bool developers = QSettings().value(QString::fromLatin1(settings::developersMode)).toBool();
    auto guides = std::make_unique<GuideMainViewHelper>(&m_pendingPath, &m_referenceLines, view());
    guides->setDecimals(developers ? 5 : 2);
    viewHelpers().push_back(std::move(guides));
}

void Self::addSelectedPointsHelper()
{
    viewHelpers().push_back(std::make_unique<PointsMainViewHelper>(
        &m_selectedPoints, view(), QPen(Qt::black), QBrush(Qt::black, Qt::SolidPattern)));
}

void Self::addSelectionBoxHelper()
{
    viewHelpers().push_back(
        std::make_unique<RectMainViewHelper>(&m_selectionBox, view(), QPen(Qt::DotLine)));
}

void Self::repaint() const
{
    if (mvc::core::View* mainView = view()) {
        mainView->update();
    }
}

bool Self::isNear(const QPointF& a, const QPointF& b)
{
    return isWithinPickSquare(a, b);
}

} // namespace varnel
