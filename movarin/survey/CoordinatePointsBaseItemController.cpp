#include "movarin/survey/CoordinatePointsBaseItemController.h"

#include "movarin/shell/PolygonMainViewHelper.h"
#include "movarin/survey/CoordinatePointsBaseItemPropertyDialog.h"
#include "movarin/survey/CoordinatePointsBaseItemView.h"
#include "movarin/survey/RectangleToPolygon.h"

#include "brask/core/Model.h"
#include "brask/core/View.h"
#include "orlin/core/PointSet.h"

#include <guimisc/restorer/WaitCursor.h>

#include <QAction>
#include <QIcon>
#include <QKeyEvent>
#include <QMouseEvent>

#include <cstdlib>
#include <iterator>

namespace varnel {

namespace {

/// The half-size in pixels of the square that a click without a move selects in.
const int CLICK_HALF_SIZE = 3;

bool isPlainLeft(const QMouseEvent* event)
{
    return event->button() == Qt::LeftButton && !(event->modifiers() & Qt::ShiftModifier);
}

tin::core::Point2D worldVertex(const mvc::core::View* view, const QPoint& pos)
{
    const QPointF world = view->rconv(pos);
    return tin::core::Point2D(world.x(), world.y(), -1);
}

} // namespace

// Shorthand inside the bodies; each definition names the class in full, since the
// translation tools do not see through an alias to find a text's class.
using Controller = CoordinatePointsBaseItemController;

// --- selection helpers -----------------------------------------------------------------

CoordinatePointsBaseItemController::SelectionHelper::SelectionHelper(
    CoordinatePointsBaseItemController* controller)
    : SelectionHelperT(controller),
      m_outline(std::make_unique<tin::core::Polygon>()),
      m_pickedPoints(std::make_unique<std::vector<PointPtr>>()),
      m_newPoints(std::make_unique<std::vector<tin::core::Point>>())
{
}

CoordinatePointsBaseItemController::SelectionHelper::SelectionHelper(SelectionHelper& other)
    : SelectionHelperT(other),
      m_outline(std::move(other.m_outline)),
      m_pickedPoints(std::move(other.m_pickedPoints)),
      m_newPoints(std::move(other.m_newPoints)),
      m_anchor(other.m_anchor)
{
    // The source is about to go; it keeps empty state so that it stays usable until then.
    other.m_outline = std::make_unique<tin::core::Polygon>();
    other.m_pickedPoints = std::make_unique<std::vector<PointPtr>>();
    other.m_newPoints = std::make_unique<std::vector<tin::core::Point>>();
}

CoordinatePointsBaseItemController::SelectionHelper::~SelectionHelper() = default;

mvc::core::View* CoordinatePointsBaseItemController::SelectionHelper::mainView() const
{
    const mvc::core::Model* model = controller()->item()->model();
    return model ? model->view() : nullptr;
}

void CoordinatePointsBaseItemController::SelectionHelper::reset()
{
    m_outline->clear();
    m_pickedPoints->clear();
    m_newPoints->clear();
}

tin::core::Polygon* CoordinatePointsBaseItemController::SelectionHelper::outline() const
{
    return m_outline.get();
}

std::vector<CoordinatePointsBaseItemController::PointPtr>*
CoordinatePointsBaseItemController::SelectionHelper::pickedPoints() const
{
    return m_pickedPoints.get();
}

std::vector<tin::core::Point>*
CoordinatePointsBaseItemController::SelectionHelper::newPoints() const
{
    return m_newPoints.get();
}

const QPoint& CoordinatePointsBaseItemController::SelectionHelper::anchor() const
{
    return m_anchor;
}

void CoordinatePointsBaseItemController::SelectionHelper::setAnchor(const QPoint& anchor)
{
    m_anchor = anchor;
}

void CoordinatePointsBaseItemController::SelectionHelper::doFinishSelection(mvc::core::View*)
{
    reset();
}

// Idle.

CoordinatePointsBaseItemController::VoidSelectionHelper::VoidSelectionHelper(
    CoordinatePointsBaseItemController* controller)
    : SelectionHelper(controller)
{
}

CoordinatePointsBaseItemController::VoidSelectionHelper::VoidSelectionHelper(SelectionHelper& other)
    : SelectionHelper(other)
{
}

guimisc::helper::SelectionHelper*
CoordinatePointsBaseItemController::VoidSelectionHelper::mousePressEvent(QMouseEvent* event,
                                                                         mvc::core::View*)
{
    if (event->button() != Qt::LeftButton) {
        return this;
    }
    setAnchor(event->pos());
    reset();
    return new PointsInRectangleSelectionHelper(*this);
}

// Rectangle.

CoordinatePointsBaseItemController::PointsInRectangleSelectionHelper::
    PointsInRectangleSelectionHelper(SelectionHelper& other)
    : SelectionHelper(other)
{
    viewHelpers().push_back(std::make_unique<PolygonMainViewHelper>(outline(), mainView()));
}

guimisc::helper::SelectionHelper*
CoordinatePointsBaseItemController::PointsInRectangleSelectionHelper::keyPressEvent(
    QKeyEvent* event, mvc::core::View* view)
{
    if (event->key() != Qt::Key_Return) {
        return this;
    }
    controller()->selectPointsInPolygon(event, view);
    finishSelection(view);
    return new VoidSelectionHelper(*this);
}

guimisc::helper::SelectionHelper*
CoordinatePointsBaseItemController::PointsInRectangleSelectionHelper::mouseMoveEvent(
    QMouseEvent* event, mvc::core::View* view)
{
    rectangleToPolygon(*outline(), anchor(), event->pos(), view);
    view->update();
    return this;
}

guimisc::helper::SelectionHelper*
CoordinatePointsBaseItemController::PointsInRectangleSelectionHelper::mousePressEvent(
    QMouseEvent* event, mvc::core::View*)
{
    if (event->button() == Qt::LeftButton) {
        setAnchor(event->pos());
        reset();
    }
    return this;
}

guimisc::helper::SelectionHelper*
CoordinatePointsBaseItemController::PointsInRectangleSelectionHelper::mouseReleaseEvent(
    QMouseEvent* event, mvc::core::View* view)
{
    if (isPlainLeft(event)) {
        controller()->clearSelection();
    }
    const QPoint d = event->pos() - anchor();
    if (outline()->empty() && std::abs(d.x()) < CLICK_HALF_SIZE
        && std::abs(d.y()) < CLICK_HALF_SIZE) {
        const QPoint half(CLICK_HALF_SIZE, CLICK_HALF_SIZE);
        rectangleToPolygon(*outline(), anchor() - half, anchor() + half, view);
    }
    controller()->selectPointsInPolygon(event, view);
    finishSelection(view);
    return new VoidSelectionHelper(*this);
}

// Polygon.

CoordinatePointsBaseItemController::PointsInPolygonSelectionHelper::PointsInPolygonSelectionHelper(
    SelectionHelper& other)
    : SelectionHelper(other)
{
    viewHelpers().push_back(std::make_unique<PolygonMainViewHelper>(outline(), mainView()));
}

guimisc::helper::SelectionHelper*
CoordinatePointsBaseItemController::PointsInPolygonSelectionHelper::keyPressEvent(
    QKeyEvent* event, mvc::core::View* view)
{
    if (event->key() == Qt::Key_Return) {
        controller()->selectPointsInPolygon(event, view);
        finishSelection(view);
        return new VoidSelectionHelper(*this);
    }
    if (event->key() == Qt::Key_Escape) {
        if (outline()->empty()) {
            return new VoidSelectionHelper(*this);
        }
        outline()->removeLastPoint();
        // The vertex now last was clicked: it stays when the mouse moves on.
        if (!outline()->empty()) {
            m_fixedVertex = outline()->points().back();
        }
        view->update();
    }
    return this;
}

guimisc::helper::SelectionHelper*
CoordinatePointsBaseItemController::PointsInPolygonSelectionHelper::mouseDoubleClickEvent(
    QMouseEvent* event, mvc::core::View* view)
{
    controller()->selectPointsInPolygon(event, view);
    finishSelection(view);
    return new VoidSelectionHelper(*this);
}

guimisc::helper::SelectionHelper*
CoordinatePointsBaseItemController::PointsInPolygonSelectionHelper::mouseMoveEvent(
    QMouseEvent* event, mvc::core::View* view)
{
    tin::core::Polygon& polygon = *outline();
    if (!polygon.empty()) {
        const tin::core::Point2D p = worldVertex(view, event->pos());
        if (polygon.points().back() != m_fixedVertex) {
            polygon.removeLastPoint();
        }
        if (p != m_fixedVertex) {
            polygon.addPoint(p);
        }
    }
    view->update();
    return this;
}

guimisc::helper::SelectionHelper*
CoordinatePointsBaseItemController::PointsInPolygonSelectionHelper::mousePressEvent(
    QMouseEvent* event, mvc::core::View* view)
{
    if (event->button() != Qt::LeftButton) {
        return this;
    }
    setAnchor(event->pos());
    const tin::core::Point2D p = worldVertex(view, event->pos());
    tin::core::Polygon& polygon = *outline();
    // The click takes the floating vertex's place; a vertex clicked before without a move
    // since stays.
    if (!polygon.empty() && polygon.points().back() != m_fixedVertex) {
        polygon.removeLastPoint();
    }
    polygon.addPoint(p);
    m_fixedVertex = p;
    view->update();
    return this;
}

// --- commands --------------------------------------------------------------------------

CoordinatePointsBaseItemController::PointsMembershipCommand::PointsMembershipCommand(
    const Selection& points, CoordinatePointsBaseItem* item, bool held)
    : m_item(item)
{
    if (!item) {
        return;
    }
    const tin::core::PointSet* set = item->pointSet();
    // An empty set holds none of them: no look-ups (a copy into the empty points for the TIN
    // is millions of points).
    const bool none = set->empty();
    m_points.reserve(held && none ? 0 : points.size());
    for (const PointPtr& p : points) {
        if (p && (none ? !held : set->hasPoint(p) == held)) {
            m_points.push_back(p);
        }
    }
}

const std::vector<CoordinatePointsBaseItemController::PointPtr>&
CoordinatePointsBaseItemController::PointsMembershipCommand::points() const
{
    return m_points;
}

void CoordinatePointsBaseItemController::PointsMembershipCommand::change(bool add)
{
    if (!m_item) {
        return;
    }
    // The set is looked up now: loading may have replaced it since.
    tin::core::PointSet* set = m_item->pointSet();
    if (add) {
        // In one batch: the set appends them at once (an empty set adopts the list) instead of
        // growing its storage point by point.
        set->addPoints(tin::core::PointSet::PointList(m_points.begin(), m_points.end()));
    } else {
        for (const PointPtr& p : m_points) {
            set->removePoint(p);
        }
    }
    clearSelectionOf(m_item);
}

CoordinatePointsBaseItemController::AddPointsCommand::AddPointsCommand(const Selection& points,
                                               CoordinatePointsBaseItem* item)
    : PointsMembershipCommand(points, item, false)
{
}

void CoordinatePointsBaseItemController::AddPointsCommand::redo()
{
    change(true);
}

void CoordinatePointsBaseItemController::AddPointsCommand::undo()
{
    change(false);
}

CoordinatePointsBaseItemController::RemovePointsCommand::RemovePointsCommand(
    const Selection& points, CoordinatePointsBaseItem* item)
    : PointsMembershipCommand(points, item, true)
{
}

void CoordinatePointsBaseItemController::RemovePointsCommand::redo()
{
    change(false);
}

void CoordinatePointsBaseItemController::RemovePointsCommand::undo()
{
    change(true);
}

CoordinatePointsBaseItemController::EditPointsElevationCommand::EditPointsElevationCommand(
    const Selection& points, double elevation, CoordinatePointsBaseItem* item)
    : m_elevation(elevation), m_item(item)
{
    for (const PointPtr& p : points) {
        if (p) {
            m_oldElevations.emplace(p, p->elevation());
        }
    }
}

void CoordinatePointsBaseItemController::EditPointsElevationCommand::redo()
{
    for (const auto& entry : m_oldElevations) {
        entry.first->setElevation(m_elevation);
    }
    clearSelectionOf(m_item);
}

void CoordinatePointsBaseItemController::EditPointsElevationCommand::undo()
{
    for (const auto& entry : m_oldElevations) {
        entry.first->setElevation(entry.second);
    }
    clearSelectionOf(m_item);
}

CoordinatePointsBaseItemController::SetViewSettingCommand::SetViewSettingCommand(
    const CoordinatePointsBaseItemViewSetting& setting, CoordinatePointsBaseItem* item)
    : m_newSetting(setting), m_item(item)
{
    if (item) {
        m_oldSetting = item->view()->viewSetting();
    }
}

void CoordinatePointsBaseItemController::SetViewSettingCommand::redo()
{
    if (m_item) {
        m_item->view()->setViewSetting(m_newSetting);
    }
}

void CoordinatePointsBaseItemController::SetViewSettingCommand::undo()
{
    if (m_item) {
        m_item->view()->setViewSetting(m_oldSetting);
    }
}

// --- controller ------------------------------------------------------------------------

CoordinatePointsBaseItemController::CoordinatePointsBaseItemController(
    const CoordinatePointsBaseItem* item)
    : ModelItemControllerT(item, new VoidSelectionHelper(this)),
      m_polygonSelectAction(new QAction(QIcon(QStringLiteral(":/images/iconPolygonSelection.png")),
                                        tr("Select Points With Polygon"), this)),
      m_selectAllAction(new QAction(QIcon(), tr("Select All Points"), this))
{
    connect(m_polygonSelectAction, &QAction::triggered, this, &Controller::polygonSelect);
    connect(m_selectAllAction, &QAction::triggered, this, &Controller::selectAllPoints);
}

CoordinatePointsBaseItemController::~CoordinatePointsBaseItemController() = default;

QDialog* CoordinatePointsBaseItemController::propertyDialog(QWidget* parent)
{
    auto dialog = new CoordinatePointsBaseItemPropertyDialog(parent);
    dialog->setViewSetting(item()->view()->viewSetting());
    return dialog;
}

void CoordinatePointsBaseItemController::handlePropertyDialogAccepted(QDialog* dialog)
{
    if (auto settingDialog = dynamic_cast<CoordinatePointsBaseItemPropertyDialog*>(dialog)) {
        pushUpdateViewCommand(new SetViewSettingCommand(settingDialog->viewSetting(), item()));
    }
}

void CoordinatePointsBaseItemController::selectPointsInPolygon(QInputEvent* event, mvc::core::View*)
{
    if (auto mouse = dynamic_cast<QMouseEvent*>(event); mouse && isPlainLeft(mouse)) {
        clearSelection();
    }
    const SelectionHelper* helper = currentSelectionHelper();
    if (!helper || helper->outline()->pointsCount() < 3) {
        return;
    }
    for (PointPtr& p : item()->pointSet()->findPointsInPolygon(*helper->outline())) {
        const auto found = m_selection.find(p);
        if (found != m_selection.end()) {
            m_selection.erase(found);
        } else {
            m_selection.insert(std::move(p));
        }
    }
}

void CoordinatePointsBaseItemController::clearSelection()
{
    m_selection.clear();
}

CoordinatePointsBaseItemController::Selection& CoordinatePointsBaseItemController::selection()
{
    return m_selection;
}

const CoordinatePointsBaseItemController::Selection&
CoordinatePointsBaseItemController::selection() const
{
    return m_selection;
}

QAction* CoordinatePointsBaseItemController::polygonSelectAction() const
{
    return m_polygonSelectAction;
}

QAction* CoordinatePointsBaseItemController::selectAllAction() const
{
    return m_selectAllAction;
}

CoordinatePointsBaseItemController::SelectionHelper*
CoordinatePointsBaseItemController::currentSelectionHelper() const
{
    return dynamic_cast<SelectionHelper*>(selectionHelper());
}

std::vector<CoordinatePointsBaseItemController::PointPtr>*
CoordinatePointsBaseItemController::pickedPoints() const
{
    const SelectionHelper* helper = currentSelectionHelper();
    return helper ? helper->pickedPoints() : nullptr;
}

void CoordinatePointsBaseItemController::addPoints(const Selection& points,
                                                   CoordinatePointsBaseItem* item)
{
    pushUpdateViewCommand(new AddPointsCommand(points, item));
}

void CoordinatePointsBaseItemController::removePoints(const Selection& points)
{
    pushUpdateViewCommand(new RemovePointsCommand(points, item()));
}

void CoordinatePointsBaseItemController::editPointsElevation(const Selection& points,
                                                             double elevation)
{
    pushUpdateViewCommand(new EditPointsElevationCommand(points, elevation, item()));
}

void CoordinatePointsBaseItemController::polygonSelect()
{
    SelectionHelper* current = currentSelectionHelper();
    if (!current) {
        VoidSelectionHelper fresh(this);
        updateSelectionHelper(new PointsInPolygonSelectionHelper(fresh));
        return;
    }
    current->reset();
    updateSelectionHelper(new PointsInPolygonSelectionHelper(*current));
}

void CoordinatePointsBaseItemController::selectAllPoints()
{
    const guimisc::restorer::WaitCursor busy;
    std::vector<PointPtr> all = item()->pointSet()->allPoints();
    m_selection.clear();
    m_selection.reserve(all.size());
    m_selection.insert(std::make_move_iterator(all.begin()), std::make_move_iterator(all.end()));
    SelectionHelper* current = currentSelectionHelper();
    if (current) {
        current->reset();
        updateSelectionHelper(new VoidSelectionHelper(*current));
    } else {
        updateSelectionHelper(new VoidSelectionHelper(this));
    }
    // The rings of a survey's points are drawn before the cursor goes.
    if (mvc::core::View* view = item()->model() ? item()->model()->view() : nullptr) {
        view->repaint();
    }
}

void CoordinatePointsBaseItemController::clearSelectionOf(CoordinatePointsBaseItem* item)
{
    if (!item) {
        return;
    }
    if (CoordinatePointsBaseItemController* controller = item->controller()) {
        controller->clearSelection();
    }
}

} // namespace varnel
