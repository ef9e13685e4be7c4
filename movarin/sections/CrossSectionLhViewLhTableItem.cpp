#include "movarin/sections/CrossSectionLhViewLhTableItem.h"

#include "movarin/sections/CrossSectionItem.h"
#include "movarin/sections/CrossSectionLhTableModel.h"
#include "movarin/sections/CrossSectionLhViewLhTableItemController.h"
#include "movarin/sections/CrossSectionLhViewLhTableItemView.h"

#include <QMenu>

#include <stdexcept>

namespace varnel {

using Self = CrossSectionLhView::LhTableItem;

Self::LhTableItem(CrossSectionItem* section, CrossSectionLhTableModel* model,
                  CrossSectionLhView* view)
    : mvc::proj::ProjectItem(nullptr), m_lhView(view), m_model(model), m_section(section)
{
}

Self::~LhTableItem() = default;

CrossSectionLhView::LhTableItemController* Self::controller()
{
    if (!m_controller) {
        m_controller = std::make_unique<LhTableItemController>(this);
    }
    return m_controller.get();
}

CrossSectionLhView::LhTableItemView* Self::view()
{
    if (!m_view) {
        m_view = std::make_unique<LhTableItemView>(this);
    }
    return m_view.get();
}

CrossSectionItem* Self::section() const
{
    return m_section;
}

const CrossSectionLhView::Rows& Self::rows() const
{
    return m_model->rows();
}

QPointF Self::point(Rows::size_type i) const
{
    const CrossSectionLhTableRow& row = rows().at(i);
    return QPointF(row.L, row.H);
}

void Self::setEnabled(const CrossSectionLhRowIndices& indices, bool enabled)
{
    m_model->setEnabled(indices, enabled);
}

void Self::showContextMenu(const QPoint& pos)
{
    QMenu* menu = controller()->contextMenu();
    menu->move(pos);
    menu->show();
}

} // namespace varnel
