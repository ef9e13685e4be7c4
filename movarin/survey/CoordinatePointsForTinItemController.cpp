#include "movarin/survey/CoordinatePointsForTinItemController.h"

#include "movarin/shell/CreateModeMainWindowModelRootItem.h"
#include "movarin/shell/PointsMainViewHelper.h"
#include "movarin/shell/PolylineMainViewHelper.h"
#include "movarin/survey/BreaklineItem.h"
#include "movarin/survey/CoordinatePointsBaseItemEditElevationDialog.h"
#include "movarin/survey/PickNearest.h"
#include "movarin/survey/ReadOnlyTinItem.h"
#include "movarin/survey/ReadOnlyTinItemController.h"

#include "brask/core/Model.h"
#include "brask/core/View.h"
#include "brask/util/AutoFitter.h"
#include "orlin/core/PointFactory.h"
#include "orlin/core/PointSet.h"
#include "orlin/core/Tin.h"

#include <guimisc/UserDialogs.h>
#include <guimisc/restorer/WaitCursor.h>

#include <QAction>
#include <QIcon>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMouseEvent>

#include <stdexcept>
#include <unordered_set>

namespace varnel {

// Shorthand inside the bodies; each definition names the class in full, since the
// translation tools do not see through an alias to find a text's class.
using Controller = CoordinatePointsForTinItemController;

// --- clicking tools --------------------------------------------------------------------

CoordinatePointsForTinItemController::ClickingSelectionHelper::ClickingSelectionHelper(
    SelectionHelper& other)
    : SelectionHelper(other)
{
}

guimisc::helper::SelectionHelper*
CoordinatePointsForTinItemController::ClickingSelectionHelper::keyPressEvent(QKeyEvent* event,
                                                                             mvc::core::View* view)
{
    if (event->key() == Qt::Key_Return) {
        return finish(view);
    }
    if (event->key() == Qt::Key_Escape) {
        reset();
        return new VoidSelectionHelper(*this);
    }
    return this;
}

guimisc::helper::SelectionHelper*
CoordinatePointsForTinItemController::ClickingSelectionHelper::mouseDoubleClickEvent(
    QMouseEvent* event, mvc::core::View* view)
{
    setAnchor(event->pos());
    return finish(view);
}

Controller* CoordinatePointsForTinItemController::ClickingSelectionHelper::tinController() const
{
    // The clicking tools are installed only by this controller.
    return static_cast<Controller*>(controller());
}

guimisc::helper::SelectionHelper*
CoordinatePointsForTinItemController::ClickingSelectionHelper::finish(mvc::core::View* view)
{
    commit();
    finishSelection(view);
    return new VoidSelectionHelper(*this);
}

// Breaklines.

CoordinatePointsForTinItemController::BreaklineSelectionHelper::BreaklineSelectionHelper(
    SelectionHelper& other)
    : ClickingSelectionHelper(other)
{
    viewHelpers().push_back(
        std::make_unique<PolylineMainViewHelper>(pickedPoints(), mainView(), nullptr));
}

guimisc::helper::SelectionHelper*
CoordinatePointsForTinItemController::BreaklineSelectionHelper::mouseMoveEvent(
    QMouseEvent* event, mvc::core::View* view)
{
    const tin::core::PointSet* set = controller()->item()->pointSet();
    std::vector<PointPtr>& picked = *pickedPoints();
    if (picked.empty() || set->empty()) {
        return this;
    }
    const PointPtr nearest = pickNearestPoint(*set, event->pos(), view);
    if (picked.back() != m_lastClicked) {
        picked.pop_back();
    }
    if (nearest != m_lastClicked) {
        picked.push_back(nearest);
    }
    view->update();
    return this;
}

guimisc::helper::SelectionHelper*
CoordinatePointsForTinItemController::BreaklineSelectionHelper::mousePressEvent(
    QMouseEvent* event, mvc::core::View* view)
{
    const tin::core::PointSet* set = controller()->item()->pointSet();
    if (event->button() != Qt::LeftButton || set->empty()) {
        return this;
    }
    setAnchor(event->pos());
    const PointPtr nearest = pickNearestPoint(*set, event->pos(), view);
    std::vector<PointPtr>& picked = *pickedPoints();
    if (!picked.empty()) {
        picked.pop_back(); // the provisional end that followed the cursor
    }
    picked.push_back(nearest);
    m_lastClicked = nearest;
    view->update();
    return this;
}

void CoordinatePointsForTinItemController::BreaklineSelectionHelper::commit()
{
    tinController()->addBreakline(*pickedPoints());
}

// New points.

CoordinatePointsForTinItemController::NewPointsSelectionHelper::NewPointsSelectionHelper(
    SelectionHelper& other)
    : ClickingSelectionHelper(other)
{
    viewHelpers().push_back(
        std::make_unique<PointsMainViewHelper>(newPoints(), mainView(), QBrush(Qt::SolidPattern)));
}

guimisc::helper::SelectionHelper*
CoordinatePointsForTinItemController::NewPointsSelectionHelper::mousePressEvent(
    QMouseEvent* event, mvc::core::View* view)
{
    if (event->button() != Qt::LeftButton) {
        return this;
    }
    setAnchor(event->pos());
    const tin::core::PointSet* set = controller()->item()->pointSet();
    const QPointF at = view->rconv(event->pos());
    const double elevation =
        set->empty() ? 0.0 : pickNearestPoint(*set, event->pos(), view)->elevation();
    newPoints()->emplace_back(at.x(), at.y(), elevation);
    view->update();
    return this;
}

void CoordinatePointsForTinItemController::NewPointsSelectionHelper::commit()
{
    tinController()->addNewPoints(*newPoints());
}

// --- controller ------------------------------------------------------------------------

CoordinatePointsForTinItemController::CoordinatePointsForTinItemController(
    const CoordinatePointsForTinItem* item)
    : CoordinatePointsBaseItemController(item),
      m_editElevationAction(new QAction(tr("Edit Elevation"), this)),
      m_removeAction(new QAction(QIcon(QStringLiteral(":/images/iconDeleteItem.png")),
                                 tr("Remove Selected Points From Points For Tin"), this)),
      m_addNewPointsAction(new QAction(tr("Add New Points"), this)),
      m_newPointsMenuAction(new QAction(tr("New points to points for Tin"), this)),
      m_addBreaklineAction(new QAction(tr("Add Breakline"), this)),
      m_breaklineMenuAction(new QAction(tr("Add Breakline to points for Tin"), this)),
      m_createTinAction(
          new QAction(QIcon(QStringLiteral(":/images/iconTin.png")), tr("Create TIN"), this))
{
    connect(m_editElevationAction, &QAction::triggered, this,
            qOverload<>(&Controller::editPointsElevation));
    connect(m_removeAction, &QAction::triggered, this, &Controller::removeSelectedPoints);
    connect(m_addNewPointsAction, &QAction::triggered, this, &Controller::startNewPointsAddition);
    connect(m_newPointsMenuAction, &QAction::triggered, this,
            &Controller::startNewPointsAddition);
    connect(m_addBreaklineAction, &QAction::triggered, this, &Controller::startBreaklineAddition);
    connect(m_breaklineMenuAction, &QAction::triggered, this,
            &Controller::startBreaklineAddition);
    connect(m_createTinAction, &QAction::triggered, this, &Controller::createTin);
}

CoordinatePointsForTinItemController::~CoordinatePointsForTinItemController() = default;

void CoordinatePointsForTinItemController::addCustomMenuItems(QMenu* menu)
{
    menu->addAction(polygonSelectAction());
    menu->addAction(selectAllAction());
    menu->addSeparator();
    menu->addAction(m_addNewPointsAction);
    menu->addAction(m_addBreaklineAction);
    menu->addAction(m_editElevationAction);
    menu->addAction(m_removeAction);
    menu->addSeparator();
    menu->addAction(m_createTinAction);
}

void CoordinatePointsForTinItemController::appendAddActionToMenu(QMenu* menu) const
{
    menu->addAction(m_newPointsMenuAction);
    menu->addAction(m_breaklineMenuAction);
}

CoordinatePointsForTinItem* CoordinatePointsForTinItemController::item() const
{
    return static_cast<CoordinatePointsForTinItem*>(CoordinatePointsBaseItemController::item());
}

QAction* CoordinatePointsForTinItemController::editElevationAction() const
{
    return m_editElevationAction;
}

QAction* CoordinatePointsForTinItemController::removeAction() const
{
    return m_removeAction;
}

QAction* CoordinatePointsForTinItemController::addNewPointsAction() const
{
    return m_addNewPointsAction;
}

QAction* CoordinatePointsForTinItemController::addBreaklineAction() const
{
    return m_addBreaklineAction;
}

QAction* CoordinatePointsForTinItemController::newPointsMenuAction() const
{
    return m_newPointsMenuAction;
}

QAction* CoordinatePointsForTinItemController::breaklineMenuAction() const
{
    return m_breaklineMenuAction;
}

QAction* CoordinatePointsForTinItemController::createTinAction() const
{
    return m_createTinAction;
}

void CoordinatePointsForTinItemController::addBreakline(const std::vector<PointPtr>& picked)
{
    try {
        const tin::core::PointSet* set = item()->pointSet();
        std::vector<PointPtr> points;
        for (const PointPtr& p : picked) {
            if (set->hasPoint(p) && (points.empty() || points.back() != p)) {
                points.push_back(p);
            }
        }
        if (points.size() < 2) {
            return;
        }
        const QString caption =
            tr("Breakline %1").arg(static_cast<int>(item()->childItems().size()) + 1);
        BreaklineItem* breakline = item()->newBreakline(caption, points);
        {
            mvc::util::AutoFitter fitter(item()->model());
            pushAttachChildAtFrontCommand(tr("Add new coordinate points data"), breakline);
        }
        item()->expandBrowserItem();
    } catch (const std::exception& e) {
        showError(e);
    }
}

void CoordinatePointsForTinItemController::addNewPoints(const std::vector<tin::core::Point>& points)
{
    if (points.empty()) {
        return;
    }
    try {
        Selection interned;
        for (const tin::core::Point& p : points) {
            interned.insert(tin::core::PointFactory::instance().factory(p, false));
        }
        addPoints(interned, item());
    } catch (const std::exception& e) {
        showError(e);
    }
}

void CoordinatePointsForTinItemController::editPointsElevation()
{
    try {
        const Selection points = selection();
        if (points.empty()) {
            return;
        }
        double sum = 0.0;
        for (const PointPtr& p : points) {
            sum += p->elevation();
        }
        CoordinatePointsBaseItemEditElevationDialog dialog(mainWindow());
        dialog.setElevation(sum / static_cast<double>(points.size()));
        if (dialog.exec() == QDialog::Accepted) {
            editPointsElevation(points, dialog.elevation());
        }
    } catch (const std::exception& e) {
        showError(e);
    }
}

void CoordinatePointsForTinItemController::removeSelectedPoints()
{
    try {
        std::unordered_set<PointPtr> onBreaklines;
        for (const BreaklineItem* breakline : item()->breaklineItems()) {
            onBreaklines.insert(breakline->points().begin(), breakline->points().end());
        }
        Selection removable;
        bool keptSome = false;
        for (const PointPtr& p : selection()) {
            if (onBreaklines.count(p) != 0) {
                keptSome = true;
            } else {
                removable.insert(p);
            }
        }
        if (keptSome) {
            guimisc::UserDialogs::warning(mainWindow(), tr("Warning"),
                                          tr("Points on Breakline were not deleted."));
        }
        removePoints(removable);
    } catch (const std::exception& e) {
        showError(e);
    }
}

void CoordinatePointsForTinItemController::startNewPointsAddition()
{
    try {
        startTool<NewPointsSelectionHelper>();
    } catch (const std::exception& e) {
        showError(e);
    }
}

void CoordinatePointsForTinItemController::startBreaklineAddition()
{
    try {
        if (item()->pointSet()->empty()) {
            guimisc::UserDialogs::warning(mainWindow(), tr("Warning"),
                                          tr("Coordinate points is empty."));
            return;
        }
        startTool<BreaklineSelectionHelper>();
    } catch (const std::exception& e) {
        showError(e);
    }
}

void CoordinatePointsForTinItemController::createTin()
{
    try {
        const std::optional<CoordinatePointsForTinItem::TinKind> kind = item()->askTinKind();
        if (!kind) {
            return;
        }
        auto* root = qobject_cast<CreateModeMainWindowModelRootItem*>(item()->parentItem());
        if (!root) {
            throw std::logic_error("The points for the TIN are not in a create-mode project.");
        }
        if (item()->pointSet()->empty()) {
            guimisc::UserDialogs::warning(mainWindow(), tr("Warning"),
                                          tr("No point is found for creating TIN."));
        }
        guimisc::restorer::WaitCursor busy;
        const tin::core::Tin tin = item()->triangulate(*kind);
        root->tinItem()->controller()->pushSetTinCommand(tin, tr("Create TIN"));
        // The new TIN is drawn before the cursor goes; this paint takes the update that
        // the command asked for, so the view is painted once.
        if (mvc::core::View* view = item()->model() ? item()->model()->view() : nullptr) {
            view->repaint();
        }
    } catch (const std::exception& e) {
        showError(e);
    }
}

template <class Tool>
void CoordinatePointsForTinItemController::startTool()
{
    {
        // Both tools pick the point nearest to the mouse at every press (the breakline tool
        // at every move); the index makes each pick a local search at survey scale.
        guimisc::restorer::WaitCursor busy;
        item()->prepareSpatialIndex();
    }
    if (mvc::core::Model* model = item()->model()) {
        model->select(item());
    }
    SelectionHelper* current = currentSelectionHelper();
    if (current) {
        current->reset();
        updateSelectionHelper(new Tool(*current));
    } else {
        VoidSelectionHelper fresh(this);
        updateSelectionHelper(new Tool(fresh));
    }
}

void CoordinatePointsForTinItemController::showError(const std::exception& error) const
{
    guimisc::UserDialogs::critical(mainWindow(), tr("Error"), QString::fromLocal8Bit(error.what()));
}

} // namespace varnel
