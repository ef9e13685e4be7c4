#include "movarin/surfaces/MoldItem.h"

#include "movarin/surfaces/DetailView.h"
#include "movarin/surfaces/MoldItemController.h"
#include "movarin/surfaces/MoldItemView.h"

#include <QMenu>

namespace varnel {

MoldItem::MoldItem(mvc::proj::ProjectItem* parent) : ProjectItem(parent)
{
}

MoldItem::~MoldItem()
{
    // The editor's tools own the overlays that the view lists: they go first.
    m_controller.reset();
    m_view.reset();
}

mold::core::Mold& MoldItem::mold()
{
    return m_mold;
}

const mold::core::Mold& MoldItem::mold() const
{
    return m_mold;
}

MoldItemController* MoldItem::controller()
{
    if (!m_controller) {
        m_controller = std::make_unique<MoldItemController>(this);
    }
    return m_controller.get();
}

MoldItemView* MoldItem::view()
{
    if (!m_view) {
        m_view = std::make_unique<MoldItemView>(this);
    }
    return m_view.get();
}

void MoldItem::setDetailView(DetailView* view)
{
    m_detailView = view;
}

DetailView* MoldItem::detailView() const
{
    return m_detailView;
}

void MoldItem::showContextMenu(const QPoint& pos)
{
    controller()->contextMenu()->popup(pos);
}

} // namespace varnel
