#pragma once

#include "movarin/sections/CrossSectionItemPathPropertyDialog.h"

#include <QStyledItemDelegate>

namespace varnel {

/// Paints the cells of the active column on the palette's Midlight brush before the usual
/// painting, and edits numbers with 5 decimals.
class CrossSectionItemPathPropertyDialog::StyledItemDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit StyledItemDelegate(QObject* parent = nullptr);
    ~StyledItemDelegate() override;

    int activeColumn() const { return m_activeColumn; }
    void setActiveColumn(int column) { m_activeColumn = column; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;

private:
    int m_activeColumn = -1;
    int m_decimals = 5;
};

} // namespace varnel
