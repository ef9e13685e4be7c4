#pragma once

#include "movarin/survey/GcpTableRow.h"

#include <guimisc/restorer/QPainterPenBrushChanger.h>

#include <QPainter>
#include <QPointF>

namespace varnel {

/// A painter helper that marks every pair of a borrowed GCP table, enabled or not, with a
/// disc of radius 3 pixels (whatever the zoom), in the helper's pen and brush: at the
/// pair's source on the georeference pane, at its destination on the main view.
/// `Base` is the helper base of the view type `View`; `Position` returns the position of
/// a row that this view shows. The table is read anew at every paint and must outlive the
/// helper. Linear in the rows.
template <class Base, class View, QPointF (*Position)(const GcpTableRow&)>
class GcpTableViewHelperT : public Base {
public:
    GcpTableViewHelperT(const GcpTable* table, View* view, const QPen& pen, const QBrush& brush)
        : Base(view, pen, brush), m_table(table)
    {
    }

    void paintView(QPainter* painter, const QTransform& transform, const QRectF& rect) override
    {
        if (!m_table || m_table->empty()) {
            return;
        }
        guimisc::restorer::QPainterPenBrushChanger changer(painter, this->pen(), this->brush());
        for (const GcpTableRow& row : *m_table) {
            painter->drawEllipse(this->view()->conv(Position(row)), 3.0, 3.0);
        }
    }

private:
    const GcpTable* m_table;
};

} // namespace varnel
