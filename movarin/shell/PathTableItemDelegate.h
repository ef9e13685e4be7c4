#pragma once

#include <QStyledItemDelegate>

namespace varnel {

/// The cells of a path table (`PathTableDialog`): numbers edited in a spin box of `decimals`
/// decimals (5 unless given), and the cells of the active column, the one "Edit all
/// columns" writes into, painted on the palette's Midlight brush before the usual painting.
/// An editor closed without a change writes nothing: looking at a value of finer precision
/// does not round it, and with "Edit all columns" on does not copy it into every row.
class PathTableItemDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit PathTableItemDelegate(QObject* parent = nullptr, int decimals = 5);
    ~PathTableItemDelegate() override;

    int activeColumn() const { return m_activeColumn; }
    /// -1 for none.
    void setActiveColumn(int column) { m_activeColumn = column; }
    int decimals() const { return m_decimals; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

private:
    int m_activeColumn = -1;
    int m_decimals;
};

} // namespace varnel
