#include "movarin/surfaces/GeoEditSurfaceGroupItemController.h"

#include "movarin/surfaces/GeoEditSurfaceGroupItem.h"
#include "movarin/surfaces/MoldsContainerBrowser.h"
#include "movarin/surfaces/MoldsContainerWidget.h"

#include <QMainWindow>

namespace varnel {

GeoEditSurfaceGroupItemController::GeoEditSurfaceGroupItemController(
    const GeoEditSurfaceGroupItem* item)
    : mvc::core::ModelItemControllerT<GeoEditSurfaceGroupItem>(item)
{
    QMainWindow* window = mainWindow();
    m_moldsContainerBrowser = new MoldsContainerBrowser(window);
    if (window) {
        window->addDockWidget(Qt::RightDockWidgetArea, m_moldsContainerBrowser);
    }
    m_moldsContainerBrowser->setMoldsContainer(item->moldsContainer());
}

GeoEditSurfaceGroupItemController::~GeoEditSurfaceGroupItemController()
{
    delete m_moldsContainerBrowser.data();
}

MoldsContainerBrowser* GeoEditSurfaceGroupItemController::moldsContainerBrowser() const
{
    return m_moldsContainerBrowser;
}

MoldItem* GeoEditSurfaceGroupItemController::selectedMoldItem() const
{
    return m_moldsContainerBrowser ? m_moldsContainerBrowser->selectedMoldItem() : nullptr;
}

} // namespace varnel
