#pragma once

#include "movarin/sections/CrossSectionLhView.h"

#include "brask/proj/ProjectItem.h"

#include <QPointF>
#include <QPointer>

#include <memory>

class QPoint;

namespace varnel {

/// What the L-H plot shows of one cross section: the current profile (the rows of the
/// window's table model), and, borrowed from the window, the base profile, the brush preview
/// profile (auxiliary rows) and the polyline crossings (each null until set). Not a browser
/// item and not saved: it lives as long as its plot, which owns it.
///
/// Its controller (`LhTableItemController`, point selection and the plot's menu) and its view
/// (`LhTableItemView`, the painting) are made on first use and owned by the item.
class CrossSectionLhView::LhTableItem : public mvc::proj::ProjectItem {
    Q_OBJECT
public:
    LhTableItem(CrossSectionItem* section, CrossSectionLhTableModel* model,
                CrossSectionLhView* view);
    ~LhTableItem() override;

    LhTableItemController* controller();
    LhTableItemView* view();
    CrossSectionLhView* lhView() const { return m_lhView; }
    CrossSectionLhTableModel* model() const { return m_model; }
    /// The section; null once it went.
    CrossSectionItem* section() const;

    /// The current rows.
    const Rows& rows() const;
    /// Row i as (L, H); std::out_of_range for an index beyond the rows.
    QPointF point(Rows::size_type i) const;

    const Rows* baseRows() const { return m_baseRows; }
    void setBaseRows(const Rows* rows) { m_baseRows = rows; }
    const Rows* auxiliaryRows() const { return m_auxiliaryRows; }
    void setAuxiliaryRows(const Rows* rows) { m_auxiliaryRows = rows; }
    const CrossSectionPolylineCrossings* polylineCrossings() const { return m_crossings; }
    void setPolylineCrossings(const CrossSectionPolylineCrossings* crossings)
    {
        m_crossings = crossings;
    }

    /// Sets the enabled flag of the listed rows through the model (see
    /// `CrossSectionLhTableModel::setEnabled`).
    void setEnabled(const CrossSectionLhRowIndices& indices, bool enabled);
    /// Opens the controller's menu at the global position `pos`.
    void showContextMenu(const QPoint& pos);

private:
    std::unique_ptr<LhTableItemController> m_controller;
    std::unique_ptr<LhTableItemView> m_view;
    CrossSectionLhView* m_lhView;
    CrossSectionLhTableModel* m_model;
    QPointer<CrossSectionItem> m_section;
    const Rows* m_baseRows = nullptr;
    const Rows* m_auxiliaryRows = nullptr;
    const CrossSectionPolylineCrossings* m_crossings = nullptr;
};

} // namespace varnel
