#include "movarin/sections/GeoDataShapeItemController.h"

#include "brask/core/Model.h"
#include "brask/core/ModelItem.h"
#include "brask/core/View.h"
#include "brask/proj/Project.h"
#include "orlin/core/GeometryFunctions.h"

#include <guimisc/KeyboardSupport.h>
#include <guimisc/MouseSupport.h>
#include <guimisc/UserDialogs.h>

#include <QAction>
#include <QIcon>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QPixmap>
#include <QUndoStack>

#include <exception>
#include <set>
#include <utility>

namespace varnel {

namespace {

QCursor hotSpotAtCentre(const QPixmap& pixmap)
{
    return QCursor(pixmap, pixmap.width() / 2, pixmap.height() / 2);
}

} // namespace

GeoDataShapeItemController::GeoDataShapeItemController(const mvc::core::ModelItem* item)
    : mvc::core::ModelItemController(item),
      m_addVertexAction(new QAction(QIcon(QStringLiteral(":/images/iconAddPolygonVertex.png")),
                                    tr("&Add Vertex"), this)),
      m_removeVertexAction(new QAction(
          QIcon(QStringLiteral(":/images/iconRemovePolygonVertex.png")), tr("&Remove Vertex"),
          this)),
      m_editCoordinatesAction(new QAction(tr("Edit &Coordinates..."), this)),
      m_addCursor(QPixmap(QStringLiteral(":/images/cursorAdd.png")), 0, 0),
      m_removeCursor(QPixmap(QStringLiteral(":/images/cursorRemove.png")), 0, 0),
      m_moveVertexCursor(
          hotSpotAtCentre(QPixmap(QStringLiteral(":/images/cursorOpenHandPoint.png"))))
{
    m_addVertexAction->setCheckable(true);
    m_removeVertexAction->setCheckable(true);
    connect(m_addVertexAction, &QAction::triggered, this,
            &GeoDataShapeItemController::addPointMode);
    connect(m_removeVertexAction, &QAction::triggered, this,
            &GeoDataShapeItemController::removePointMode);
    connect(m_editCoordinatesAction, &QAction::triggered, this,
            &GeoDataShapeItemController::editCoordinates);
}

GeoDataShapeItemController::~GeoDataShapeItemController() = default;

void GeoDataShapeItemController::addCustomMenuItems(QMenu* menu)
{
    menu->addAction(m_addVertexAction);
    menu->addAction(m_removeVertexAction);
    menu->addAction(m_editCoordinatesAction);
}

void GeoDataShapeItemController::guarded(const std::function<void()>& action)
{
    try {
        action();
    } catch (const std::exception& e) {
        guimisc::UserDialogs::critical(mainWindow(), tr("Error"), QString::fromLocal8Bit(e.what()));
    }
}

void GeoDataShapeItemController::keyPressEvent(QKeyEvent* event, mvc::core::View*)
{
    if (m_mode == Defining && guimisc::KeyboardSupport::isEnterKey(event->key())) {
        guarded([this] { finishDefinition(); });
    }
}

void GeoDataShapeItemController::mouseDoubleClickEvent(QMouseEvent* event, mvc::core::View*)
{
    if (m_mode == Defining && event->button() == Qt::LeftButton) {
        guarded([this] { finishDefinition(); });
    }
}

void GeoDataShapeItemController::mousePressEvent(QMouseEvent* event, mvc::core::View* view)
{
    if (event->button() != Qt::LeftButton) {
        return;
    }
    guarded([&] {
        const QPointF world = view->rconv(event->pos());
        const tin::core::Point2D p(world.x(), world.y(), -1);
        switch (m_mode) {
        case WaitingFirstPoint:
            pushDefineStart(p, true);
            break;
        case Defining:
            if (!m_hasRubberBand) {
                pushDefineAddPoint(p, true);
            }
            pushDefineAddPoint(p, true);
            break;
        case NearEdge:
            m_mode = EdgePressed;
            m_pressedPosition = event->pos();
            updateMouseCursor();
            break;
        case NearVertex:
            m_mode = MovingVertex;
            pushMovePoint(m_vertexIndex, p, true);
            break;
        case AddNearEdge:
            m_mode = InsertingVertex;
            pushInsertPoint(m_edgeIndex, p, true);
            break;
        case RemoveNearVertex:
            m_mode = Normal;
            // The action is off at the minimum; a shape never goes below it.
            if (static_cast<int>(vertices().size()) > minimumVertexCount()) {
                pushDeletePoint(m_vertexIndex);
            }
            break;
        default:
            break;
        }
    });
}

void GeoDataShapeItemController::mouseMoveEvent(QMouseEvent* event, mvc::core::View* view)
{
    guarded([&] {
        const QPointF world = view->rconv(event->pos());
        const tin::core::Point2D p(world.x(), world.y(), -1);
        switch (m_mode) {
        case Defining:
            if (!m_hasRubberBand) {
                pushDefineAddPoint(p, true);
            } else if (vertices().size() == 2) {
                pushDefineStart(p, false);
            } else {
                pushDefineAddPoint(p, false);
            }
            break;
        case MovingVertex:
            pushMovePoint(m_vertexIndex, p, false);
            break;
        case InsertingVertex:
            pushInsertPoint(m_edgeIndex, p, false);
            break;
        case WaitingFirstPoint:
        case EdgePressed:
            break;
        default:
            updateModeFromPosition(event->pos(), view);
            updateMouseCursor();
            break;
        }
    });
}

void GeoDataShapeItemController::mouseReleaseEvent(QMouseEvent* event, mvc::core::View* view)
{
    if (event->button() != Qt::LeftButton) {
        return;
    }
    guarded([&] {
        updateModeFromPosition(event->pos(), view);
        updateMouseCursor();
        updateActionStatus();
    });
}

void GeoDataShapeItemController::finishDefinition()
{
    const std::vector<tin::core::Point2D>& all = vertices();
    const std::size_t kept = all.size() - (m_hasRubberBand && !all.empty() ? 1 : 0);
    std::set<std::pair<double, double>> distinct;
    for (std::size_t i = 0; i < kept; ++i) {
        distinct.emplace(all[i].x(), all[i].y());
    }
    if (static_cast<int>(distinct.size()) < minimumVertexCount()) {
        guimisc::UserDialogs::warning(mainWindow(), tr("Warning"), tooFewPointsMessage());
        return;
    }
    if (!prepareDefineEnd()) {
        return;
    }
    pushDefineEnd();
    updateActionStatus();
}

void GeoDataShapeItemController::updateModeFromPosition(const QPoint& widgetPos,
                                                        const mvc::core::View* view)
{
    if (m_mode == WaitingFirstPoint || m_mode == Defining) {
        return;
    }
    const QPointF world = view->rconv(widgetPos);
    const double radius = view->pixel() * guimisc::MouseSupport::nearRadius();
    if (m_mode == AddNearEdge || m_mode == AddNothingNear) {
        const int edge = edgeAt(world, radius);
        m_edgeIndex = std::max(edge, 0);
        m_mode = edge >= 0 ? AddNearEdge : AddNothingNear;
        return;
    }
    if (m_mode == RemoveNearVertex || m_mode == RemoveNothingNear) {
        const int vertex = vertexAt(world, radius);
        m_vertexIndex = std::max(vertex, 0);
        m_mode = vertex >= 0 ? RemoveNearVertex : RemoveNothingNear;
        return;
    }
    if (const int vertex = vertexAt(world, radius); vertex >= 0) {
        m_vertexIndex = vertex;
        m_mode = NearVertex;
    } else if (const int edge = edgeAt(world, radius); edge >= 0) {
        m_edgeIndex = edge;
        m_mode = NearEdge;
    } else {
        m_mode = Normal;
    }
}

int GeoDataShapeItemController::vertexAt(const QPointF& world, double radius) const
{
    const std::vector<tin::core::Point2D>& points = vertices();
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (guimisc::MouseSupport::isNear(world, QPointF(points[i].x(), points[i].y()), radius)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int GeoDataShapeItemController::edgeAt(const QPointF& world, double radius) const
{
    const std::vector<tin::core::Point2D>& points = vertices();
    const int n = static_cast<int>(points.size());
    if (n < 2) {
        return -1;
    }
    const tin::core::Point2D mouse(world.x(), world.y(), -1);
    const int edges = isClosed() ? n : n - 1;
    for (int i = 0; i < edges; ++i) {
        const int next = (i + 1) % n;
        int where = 0;
        const tin::core::Point2D nearest =
            tin::core::nearestPoint(points[i], points[next], mouse, &where);
        const double dx = nearest.x() - mouse.x();
        const double dy = nearest.y() - mouse.y();
        if (where == 3 && dx * dx + dy * dy <= radius * radius) {
            return next;
        }
    }
    return -1;
}

QCursor GeoDataShapeItemController::cursorFor(Mode mode) const
{
    switch (mode) {
    case EdgePressed:
    case MovingVertex:
    case InsertingVertex:
        return QCursor(Qt::ClosedHandCursor);
    case NearEdge:
        return QCursor(Qt::OpenHandCursor);
    case NearVertex:
        return m_moveVertexCursor;
    case AddNearEdge:
        return m_addCursor;
    case RemoveNearVertex:
        return m_removeCursor;
    default:
        return QCursor(Qt::ArrowCursor);
    }
}

void GeoDataShapeItemController::updateMouseCursor()
{
    const mvc::core::Model* model = item()->model();
    if (isSelected() && model && model->view()) {
        model->view()->setCursor(cursorFor(m_mode));
    }
}

void GeoDataShapeItemController::updateActionStatus()
{
    const bool defining = m_mode == WaitingFirstPoint || m_mode == Defining;
    m_addVertexAction->setEnabled(!defining);
    m_removeVertexAction->setEnabled(
        !defining && static_cast<int>(vertices().size()) > minimumVertexCount());
    m_editCoordinatesAction->setEnabled(!defining);
    m_addVertexAction->setChecked(m_mode == AddNearEdge || m_mode == AddNothingNear);
    m_removeVertexAction->setChecked(m_mode == RemoveNearVertex || m_mode == RemoveNothingNear);
}

void GeoDataShapeItemController::addPointMode(bool on)
{
    m_mode = on ? AddNothingNear : Normal;
    updateActionStatus();
    updateMouseCursor();
}

void GeoDataShapeItemController::removePointMode(bool on)
{
    m_mode = on ? RemoveNothingNear : Normal;
    updateActionStatus();
    updateMouseCursor();
}

void GeoDataShapeItemController::editCoordinates() {}

void GeoDataShapeItemController::doInformSelection(mvc::core::View*)
{
    m_mode = vertices().empty() ? WaitingFirstPoint : Normal;
    m_hasRubberBand = false;
    updateMouseCursor();
    updateActionStatus();
}

void GeoDataShapeItemController::doInformDeselection(mvc::core::View* view)
{
    if (view) {
        view->unsetCursor();
    }
}

} // namespace varnel
