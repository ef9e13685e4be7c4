#include "movarin/survey/GeoreferenceViewImageItem.h"

#include "movarin/survey/BackgroundImageItem.h"
#include "movarin/survey/GcpTableModel.h"
#include "movarin/survey/GeoreferenceViewImageItemController.h"
#include "movarin/survey/GeoreferenceViewImageItemControllerSelectionHelper.h"
#include "movarin/survey/GeoreferenceViewImageItemView.h"

#include <QMenu>

namespace varnel {

using Self = GeoreferenceView::ImageItem;

Self::ImageItem(BackgroundImageItem* backgroundImageItem, GcpTableModel* model,
                GeoreferenceView* view)
    : mvc::proj::ProjectItem(nullptr),
      m_view(view),
      m_backgroundImageItem(backgroundImageItem),
      m_model(model)
{
}

Self::~ImageItem()
{
    m_itemView.reset();
    m_controller.reset();
}

GeoreferenceView::ImageItemController* Self::controller()
{
    if (!m_controller) {
        // The view first: the controller lists its first tool's helpers there.
        itemView();
        m_controller = std::make_unique<ImageItemController>(this);
        m_controller->rightClickMenu()->addAction(m_controller->deletePointsAction());
    }
    return m_controller.get();
}

GeoreferenceView::ImageItemView* Self::itemView()
{
    if (!m_itemView) {
        m_itemView = std::make_unique<ImageItemView>(this);
    }
    return m_itemView.get();
}

const GcpTable* Self::gcpTable() const
{
    return m_model->gcpTable();
}

gdalimg::GdalImage* Self::image() const
{
    return m_backgroundImageItem->image();
}

void Self::showRightClickMenu(const QPoint& globalPos)
{
    QMenu* menu = controller()->rightClickMenu();
    menu->move(globalPos);
    menu->show();
}

} // namespace varnel
