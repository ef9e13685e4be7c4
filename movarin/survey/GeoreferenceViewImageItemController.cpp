#include "movarin/survey/GeoreferenceViewImageItemController.h"

#include "movarin/survey/BackgroundImageItem.h"
#include "movarin/survey/BackgroundImageItemGeoreferenceDialog.h"
#include "movarin/survey/GcpTableModel.h"
#include "movarin/survey/GeoreferenceViewImageItem.h"
#include "movarin/survey/GeoreferenceViewImageItemView.h"
#include "movarin/survey/GeoreferenceViewInitSelectionHelper.h"
#include "movarin/survey/GeoreferenceViewWaitingSelectionHelper.h"
#include "movarin/survey/GeoreferenceViewDestinationOperationWaitingSelectionHelper.h"
#include "movarin/shell/SelectionHelperSwitchT.h"

#include "brask/core/ModelItemController.h"
#include "orlin/core/Point.h"

#include <guimisc/UserDialogs.h>

#include <QAction>

namespace varnel {

// Shorthand inside the bodies; each definition names the class in full, since the
// translation tools do not see through an alias to find a text's class.
using Self = GeoreferenceView::ImageItemController;

GeoreferenceView::ImageItemController::ImageItemController(ImageItem* item)
    : mvc::proj::ProjectItemController(item),
      m_item(item),
      m_deletePointsAction(new QAction(QIcon(), tr("Delete Points"), this)),
      m_selectionHelper(std::make_unique<InitSelectionHelper>(this))
{
    connect(m_deletePointsAction, &QAction::triggered, this, &ImageItemController::deletePoints);

    // The background image's controller is known only by its signals and slots.
    QObject* background = item->backgroundImageItem()->controller();
    connect(this, SIGNAL(gcpDefined()), background, SLOT(startGcpSelect()));
    connect(background, SIGNAL(gcpDefined(QPointF)), this, SLOT(startGcpSelect(QPointF)));
    connect(this, SIGNAL(selectedIndexChanged(GcpRowIndices)), background,
            SLOT(selectPoints(GcpRowIndices)));
    connect(background, SIGNAL(selectedIndexChanged(GcpRowIndices)), this,
            SLOT(selectPoints(GcpRowIndices)));
    connect(background, SIGNAL(selectedIndexChanged(GcpRowIndices)), this,
            SLOT(updateTableSelection(GcpRowIndices)));

    GcpTableModel* model = item->gcpTableModel();
    connect(model, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) { handleRowsInserted(first, last); });
    connect(model, &QAbstractItemModel::rowsRemoved, this,
            [this](const QModelIndex&, int first, int last) { handleRowsRemoved(first, last); });
    connect(model, &QAbstractItemModel::dataChanged, this, [this] { handleTableEdited(); });
    connect(model, &QAbstractItemModel::modelReset, this, [this] { handleTableEdited(); });
}

GeoreferenceView::ImageItemController::~ImageItemController() = default;

void GeoreferenceView::ImageItemController::setDialog(BackgroundImageItemGeoreferenceDialog* dialog)
{
    m_dialog = dialog;
    connect(dialog, SIGNAL(selectionChanged(GcpRowIndices)),
            m_item->backgroundImageItem()->controller(), SLOT(selectPoints(GcpRowIndices)));
}

BackgroundImageItemGeoreferenceDialog* GeoreferenceView::ImageItemController::dialog() const
{
    return m_dialog;
}

GeoreferenceView* GeoreferenceView::ImageItemController::view() const
{
    return m_item->view();
}

const GcpTable* GeoreferenceView::ImageItemController::gcpTable() const
{
    return m_item->gcpTable();
}

GcpTableModel* GeoreferenceView::ImageItemController::gcpTableModel() const
{
    return m_item->gcpTableModel();
}

template <class Hook>
void GeoreferenceView::ImageItemController::dispatch(Hook hook)
{
    if (!m_selectionHelper) {
        return;
    }
    updateSelectionHelper(hook(*m_selectionHelper));
    if (m_gcpDefinitionDue) {
        // Emitted once the waiting tool is installed, so that an answer that comes back at
        // once finds the pane ready for it.
        m_gcpDefinitionDue = false;
        emit gcpDefined();
    }
}

void GeoreferenceView::ImageItemController::keyPressEvent(QKeyEvent* event, GeoreferenceView* view)
{
    dispatch([&](SelectionHelper& tool) { return tool.keyPressEvent(event, view); });
}

void GeoreferenceView::ImageItemController::mouseDoubleClickEvent(QMouseEvent* event,
                                                                  GeoreferenceView* view)
{
    dispatch([&](SelectionHelper& tool) { return tool.mouseDoubleClickEvent(event, view); });
}

void GeoreferenceView::ImageItemController::mouseMoveEvent(QMouseEvent* event,
                                                           GeoreferenceView* view)
{
    dispatch([&](SelectionHelper& tool) { return tool.mouseMoveEvent(event, view); });
}

void GeoreferenceView::ImageItemController::mousePressEvent(QMouseEvent* event,
                                                            GeoreferenceView* view)
{
    dispatch([&](SelectionHelper& tool) { return tool.mousePressEvent(event, view); });
}

void GeoreferenceView::ImageItemController::mouseReleaseEvent(QMouseEvent* event,
                                                              GeoreferenceView* view)
{
    dispatch([&](SelectionHelper& tool) { return tool.mouseReleaseEvent(event, view); });
}

void GeoreferenceView::ImageItemController::wheelEvent(QWheelEvent* event, GeoreferenceView* view)
{
    dispatch([&](SelectionHelper& tool) { return tool.wheelEvent(event, view); });
}

void GeoreferenceView::ImageItemController::updateSelectionHelper(
    guimisc::helper::SelectionHelper* next)
{
    SelectionHelperSwitchT<SelectionHelper, GeoreferenceViewHelper>::install(
        m_selectionHelper, next, this, m_item->itemView()->viewHelpers(),
        "Not a tool of the georeference pane's controller.");
}

void GeoreferenceView::ImageItemController::defineGcp(GcpTable::size_type row)
{
    m_pendingRow = row;
    m_gcpDefinitionDue = true;
}

void GeoreferenceView::ImageItemController::selectPoints(const GcpRowIndices& indices)
{
    if (m_selectionHelper) {
        m_selectionHelper->selectPoints(indices);
    }
}

void GeoreferenceView::ImageItemController::updateTableSelection(const GcpRowIndices& indices)
{
    if (m_dialog) {
        m_dialog->clearTableSelection();
        m_dialog->selectTableRows(indices);
    }
}

void GeoreferenceView::ImageItemController::deletePoints()
{
    if (m_selectionHelper->positions().empty()) {
        guimisc::UserDialogs::warning(view(), tr("Warning"), tr("No point is selected."));
        return;
    }
    if (gcpTable()->empty()) {
        guimisc::UserDialogs::warning(view(), tr("Warning"),
                                      tr("No point can be further deleted."));
        return;
    }
    m_selectionHelper->deleteSelectedRows();
    view()->update();
    updateTableSelection(GcpRowIndices());
    emit selectedIndexChanged(GcpRowIndices());
}

void GeoreferenceView::ImageItemController::startGcpSelect(const QPointF& point)
{
    if (!m_pendingRow) {
        // The pair was deleted while it waited; a pane that waited for it listens again.
        if (dynamic_cast<DestinationOperationWaitingSelectionHelper*>(m_selectionHelper.get())) {
            updateSelectionHelper(new WaitingSelectionHelper(*m_selectionHelper));
            view()->update();
        }
        return;
    }
    const GcpTable::size_type row = *m_pendingRow;
    m_pendingRow.reset();
    gcpTableModel()->setDestinations({row}, {tin::core::Point(point.x(), point.y())});
    guimisc::UserDialogs::information(view(), tr("Information"),
                                      tr("Select a point on Georeference dialog."));
    updateSelectionHelper(new WaitingSelectionHelper(*m_selectionHelper));
    view()->update();
}

void GeoreferenceView::ImageItemController::handleRowsInserted(int first, int last)
{
    if (m_pendingRow && *m_pendingRow >= static_cast<GcpTable::size_type>(first)) {
        *m_pendingRow += static_cast<GcpTable::size_type>(last - first + 1);
    }
    m_selectionHelper->followRows(first, last, true);
    view()->update();
}

void GeoreferenceView::ImageItemController::handleRowsRemoved(int first, int last)
{
    if (m_pendingRow) {
        if (*m_pendingRow > static_cast<GcpTable::size_type>(last)) {
            *m_pendingRow -= static_cast<GcpTable::size_type>(last - first + 1);
        } else if (*m_pendingRow >= static_cast<GcpTable::size_type>(first)) {
            m_pendingRow.reset();
        }
    }
    m_selectionHelper->followRows(first, last, false);
    view()->update();
}

void GeoreferenceView::ImageItemController::handleTableEdited()
{
    m_selectionHelper->tableChanged();
    view()->update();
}

} // namespace varnel
