#include "movarin/survey/CoordinatePointsGroupItemController.h"

#include "movarin/shell/RectMainViewHelper.h"
#include "movarin/survey/CoordinatePointsBaseItemView.h"
#include "movarin/survey/CoordinatePointsGroupItem.h"
#include "movarin/survey/CoordinatePointsGroupItemImportSettingDialog.h"
#include "movarin/survey/CoordinatePointsItem.h"

#include "brask/core/Model.h"
#include "brask/core/View.h"
#include "brask/util/AutoFitter.h"
#include "orlin/core/PointSet.h"

#include <guimisc/LastIODirectory.h>
#include <guimisc/UserDialogs.h>
#include <guimisc/restorer/WaitCursor.h>

#include <QAction>
#include <QEventLoop>
#include <QIcon>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QToolBar>

#include <array>
#include <exception>
#include <memory>

namespace varnel {

// Shorthand inside the bodies; each definition names the class in full, since the
// translation tools do not see through an alias to find a text's class.
using Controller = CoordinatePointsGroupItemController;

namespace {

mvc::core::View* mainViewOf(const mvc::core::ModelItem* item)
{
    const mvc::core::Model* model = item ? item->model() : nullptr;
    return model ? model->view() : nullptr;
}

} // namespace

// --- selection helpers -----------------------------------------------------------------

CoordinatePointsGroupItemController::SelectionHelper::SelectionHelper(
    CoordinatePointsGroupItemController* controller)
    : SelectionHelperT(controller)
{
}

CoordinatePointsGroupItemController::SelectionHelper::SelectionHelper(
    const SelectionHelper& other) = default;

CoordinatePointsGroupItemController::SelectionHelper::~SelectionHelper() = default;

bool CoordinatePointsGroupItemController::SelectionHelper::isSelecting() const
{
    return m_isSelecting;
}

bool CoordinatePointsGroupItemController::SelectionHelper::isCancelled() const
{
    return m_isCancelled;
}

const QPoint& CoordinatePointsGroupItemController::SelectionHelper::pressPosition() const
{
    return m_pressPosition;
}

const tin::core::Rect& CoordinatePointsGroupItemController::SelectionHelper::dataExtent() const
{
    return m_dataExtent;
}

void CoordinatePointsGroupItemController::SelectionHelper::setDataExtent(
    const tin::core::Rect& extent)
{
    m_dataExtent = extent;
}

const tin::core::Rect& CoordinatePointsGroupItemController::SelectionHelper::region() const
{
    return m_region;
}

void CoordinatePointsGroupItemController::SelectionHelper::cancel()
{
    m_isCancelled = true;
    m_region = tin::core::Rect();
}

CoordinatePointsGroupItemController::VoidSelectionHelper::VoidSelectionHelper(
    CoordinatePointsGroupItemController* controller)
    : SelectionHelper(controller)
{
}

CoordinatePointsGroupItemController::VoidSelectionHelper::VoidSelectionHelper(
    const SelectionHelper& other)
    : SelectionHelper(other)
{
    m_isSelecting = false;
}

CoordinatePointsGroupItemController::RectangleSelectionHelper::RectangleSelectionHelper(
    const SelectionHelper& other)
    : SelectionHelper(other)
{
    m_isSelecting = true;
    m_isCancelled = false;
    m_region = tin::core::Rect();
    // An extent left from an earlier import is not shown until the new one is known.
    m_dataExtent = tin::core::Rect();
    if (mvc::core::View* view = mainViewOf(controller()->item())) {
        viewHelpers().push_back(std::make_unique<RectMainViewHelper>(
            &m_dataExtent, view, QPen(Qt::black), QBrush(QColor(0, 0, 0, 40))));
        viewHelpers().push_back(std::make_unique<RectMainViewHelper>(
            &m_region, view, QPen(Qt::black), QBrush(QColor(255, 0, 255, 40))));
    }
}

guimisc::helper::SelectionHelper*
CoordinatePointsGroupItemController::RectangleSelectionHelper::keyPressEvent(QKeyEvent* event,
                                                                             mvc::core::View*)
{
    if (event->key() != Qt::Key_Escape) {
        return this;
    }
    cancel();
    return new VoidSelectionHelper(*this);
}

guimisc::helper::SelectionHelper*
CoordinatePointsGroupItemController::RectangleSelectionHelper::mouseMoveEvent(QMouseEvent* event,
                                                                              mvc::core::View* view)
{
    if (m_isPressed) {
        const QPointF a = view->rconv(m_pressPosition);
        const QPointF b = view->rconv(event->pos());
        m_region = tin::core::Rect(a.x(), a.y(), b.x(), b.y());
        view->update();
    }
    return this;
}

guimisc::helper::SelectionHelper*
CoordinatePointsGroupItemController::RectangleSelectionHelper::mousePressEvent(QMouseEvent* event,
                                                                               mvc::core::View*)
{
    if (event->button() == Qt::LeftButton) {
        m_pressPosition = event->pos();
        m_isPressed = true;
    }
    return this;
}

guimisc::helper::SelectionHelper*
CoordinatePointsGroupItemController::RectangleSelectionHelper::mouseReleaseEvent(QMouseEvent*,
                                                                                 mvc::core::View*)
{
    return new VoidSelectionHelper(*this);
}

// --- controller ------------------------------------------------------------------------

CoordinatePointsGroupItemController::CoordinatePointsGroupItemController(
    const CoordinatePointsGroupItem* item)
    : ModelItemControllerT(item, new VoidSelectionHelper(this)),
      m_importAction(
          new QAction(QIcon(QStringLiteral(":/images/iconImport.png")), tr("Import"), this)),
      m_addAction(new QAction(QIcon(QStringLiteral(":/images/iconImport.png")),
                              tr("Coordinate points data"), this)),
      m_deleteAllAction(
          new QAction(QIcon(QStringLiteral(":/images/iconDeleteItem.png")), tr("Delete all"), this))
{
    connect(m_importAction, &QAction::triggered, this, &Controller::importData);
    connect(m_addAction, &QAction::triggered, this, &Controller::importData);
    connect(m_deleteAllAction, &QAction::triggered, this, &Controller::deleteAllChildItems);
}

CoordinatePointsGroupItemController::~CoordinatePointsGroupItemController() = default;

void CoordinatePointsGroupItemController::addCustomMenuItems(QMenu* menu)
{
    menu->addAction(m_importAction);
    menu->addSeparator();
    menu->addAction(m_deleteAllAction);
}

void CoordinatePointsGroupItemController::addToolBarButtons(QToolBar* toolBar)
{
    toolBar->addAction(m_importAction);
    toolBar->addAction(m_deleteAllAction);
}

void CoordinatePointsGroupItemController::appendAddActionToMenu(QMenu* menu) const
{
    menu->addAction(m_addAction);
}

void CoordinatePointsGroupItemController::handleStandardItemChange()
{
    if (m_regionWait && !item()->isChecked()) {
        cancelRegionWait();
    }
}

void CoordinatePointsGroupItemController::keyPressEvent(QKeyEvent* event, mvc::core::View* view)
{
    ModelItemControllerT::keyPressEvent(event, view);
    endRegionWaitWhenDone();
}

void CoordinatePointsGroupItemController::mouseReleaseEvent(QMouseEvent* event,
                                                            mvc::core::View* view)
{
    ModelItemControllerT::mouseReleaseEvent(event, view);
    endRegionWaitWhenDone();
}

QAction* CoordinatePointsGroupItemController::importAction() const
{
    return m_importAction;
}

QAction* CoordinatePointsGroupItemController::addAction() const
{
    return m_addAction;
}

QAction* CoordinatePointsGroupItemController::deleteAllAction() const
{
    return m_deleteAllAction;
}

CoordinatePointsGroupItemController::SelectionHelper*
CoordinatePointsGroupItemController::currentSelectionHelper() const
{
    return dynamic_cast<SelectionHelper*>(selectionHelper());
}

bool CoordinatePointsGroupItemController::isWaitingForRegion() const
{
    return m_regionWait != nullptr;
}

QColor CoordinatePointsGroupItemController::paletteColor(int index)
{
    static const std::array<Qt::GlobalColor, 12> palette = {
        Qt::cyan,    Qt::magenta,  Qt::yellow,   Qt::red,      Qt::green,       Qt::blue,
        Qt::darkRed, Qt::darkGreen, Qt::darkBlue, Qt::darkCyan, Qt::darkMagenta, Qt::darkYellow};
    const int size = static_cast<int>(palette.size());
    return QColor(palette[static_cast<std::size_t>(((index % size) + size) % size)]);
}

void CoordinatePointsGroupItemController::showDataExtent(const tin::core::Rect& extent)
{
    if (SelectionHelper* helper = currentSelectionHelper()) {
        helper->setDataExtent(extent);
    }
    if (mvc::core::View* view = mainViewOf(item())) {
        const double width = extent.width() / 0.8;
        const double height = extent.height() / 0.8;
        const double centerX = (extent.xMin() + extent.xMax()) / 2.0;
        const double centerY = (extent.yMin() + extent.yMax()) / 2.0;
        view->fit(QRectF(centerX - width / 2.0, centerY - height / 2.0, width, height));
        view->update();
    }
}

std::optional<int> CoordinatePointsGroupItemController::askStep()
{
    CoordinatePointsGroupItemImportSettingDialog dialog(mainWindow());
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.step();
}

CoordinatePointsGroupItemController::RegionWait CoordinatePointsGroupItemController::waitForRegion()
{
    const SelectionHelper* helper = currentSelectionHelper();
    if (!helper || !helper->isSelecting()) {
        return RegionWait::Cancelled;
    }
    // The main view hands its input only to the selected item, and only while it is checked.
    CoordinatePointsGroupItem* group = item();
    group->setChecked();
    group->selectBrowserItem();

    QPointer<Controller> self(this);
    QEventLoop loop;
    connect(this, &QObject::destroyed, &loop, &QEventLoop::quit);
    m_regionWait = &loop;
    if (mvc::core::View* view = mainViewOf(group)) {
        view->update();
    }
    loop.exec();
    if (!self) {
        return RegionWait::Closed;
    }
    m_regionWait = nullptr;
    helper = currentSelectionHelper();
    // A loop ended from outside (the application quitting) counts as a cancel.
    return helper && !helper->isSelecting() && !helper->isCancelled() ? RegionWait::Drawn
                                                                      : RegionWait::Cancelled;
}

void CoordinatePointsGroupItemController::importData()
{
    if (m_isImporting) {
        return;
    }
    QString filter;
    const QString path = guimisc::UserDialogs::getOpenFileName(
        mainWindow(), tr("Import coordinate points data"), guimisc::LastIODirectory::get(),
        CoordinatePointsGroupItem::fileFilterString(), &filter);
    if (path.isEmpty()) {
        return;
    }

    // Message boxes and the region wait run event loops in which the project may close;
    // after each of them nothing is touched once this controller is gone.
    QPointer<Controller> self(this);
    CoordinatePointsGroupItem* group = item();
    m_isImporting = true;
    setImportEnabled(false);
    group->selectBrowserItem();
    if (SelectionHelper* current = currentSelectionHelper()) {
        updateSelectionHelper(new RectangleSelectionHelper(*current));
    }
    const QColor color = paletteColor(static_cast<int>(group->childItems().size()));

    std::optional<QString> failure;
    try {
        std::unique_ptr<CoordinatePointsItem> imported(group->importCoordinatePoints(path, filter));
        if (!self) {
            return;
        }
        if (imported && !imported->pointSet()->empty()) {
            const guimisc::restorer::WaitCursor busy;
            CoordinatePointsBaseItemView* view = imported->view();
            CoordinatePointsBaseItemViewSetting setting = view->viewSetting();
            setting.setColor(color);
            view->setViewSetting(setting);
            CoordinatePointsItem* added = imported.get();
            {
                mvc::util::AutoFitter fitter(group->model());
                pushAttachChildAtFrontCommand(tr("Add new coordinate points data"),
                                              imported.release());
            }
            group->expandBrowserItem();
            added->selectBrowserItem();
            // The new points are drawn before the cursor goes.
            if (mvc::core::View* mainView = mainViewOf(group)) {
                mainView->repaint();
            }
            guimisc::LastIODirectory::setFromAbsoluteFileName(path);
        } else {
            guimisc::UserDialogs::warning(mainWindow(), tr("Warning"),
                                          tr("No points were imported."));
        }
    } catch (const std::exception& e) {
        failure = QString::fromLocal8Bit(e.what());
    } catch (...) {
        failure = tr("unknown error");
    }
    if (!self) {
        return;
    }
    if (failure) {
        guimisc::UserDialogs::critical(
            mainWindow(), tr("Error"),
            tr("Error occured while importing %1 : %2").arg(path, *failure));
        if (!self) {
            return;
        }
    }
    if (SelectionHelper* current = currentSelectionHelper()) {
        updateSelectionHelper(new VoidSelectionHelper(*current));
    }
    setImportEnabled(true);
    m_isImporting = false;
}

void CoordinatePointsGroupItemController::doInformDeselection(mvc::core::View*)
{
    if (m_regionWait) {
        cancelRegionWait();
    }
}

void CoordinatePointsGroupItemController::setImportEnabled(bool enabled)
{
    m_importAction->setEnabled(enabled);
    m_addAction->setEnabled(enabled);
}

void CoordinatePointsGroupItemController::endRegionWaitWhenDone()
{
    const SelectionHelper* helper = currentSelectionHelper();
    if (m_regionWait && (!helper || !helper->isSelecting())) {
        m_regionWait->quit();
    }
}

void CoordinatePointsGroupItemController::cancelRegionWait()
{
    if (SelectionHelper* helper = currentSelectionHelper(); helper && helper->isSelecting()) {
        helper->cancel();
        updateSelectionHelper(new VoidSelectionHelper(*helper));
    }
    if (m_regionWait) {
        m_regionWait->quit();
    }
}

} // namespace varnel
