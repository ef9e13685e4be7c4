#include "movarin/shell/PathTableItemDelegate.h"

#include <QDoubleSpinBox>
#include <QPainter>

namespace varnel {

PathTableItemDelegate::PathTableItemDelegate(QObject* parent, int decimals)
    : QStyledItemDelegate(parent), m_decimals(decimals)
{
}

PathTableItemDelegate::~PathTableItemDelegate() = default;

void PathTableItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const
{
    if (index.column() == m_activeColumn) {
        const QPalette::ColorGroup group =
            option.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
        painter->fillRect(option.rect, option.palette.brush(group, QPalette::Midlight));
    }
    QStyledItemDelegate::paint(painter, option, index);
}

void PathTableItemDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    if (auto spinBox = qobject_cast<QDoubleSpinBox*>(editor)) {
        // Before the value goes in, or it is rounded to the box's default of 2 decimals.
        spinBox->setDecimals(m_decimals);
    }
    QStyledItemDelegate::setEditorData(editor, index);
}

void PathTableItemDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                         const QModelIndex& index) const
{
    if (auto spinBox = qobject_cast<QDoubleSpinBox*>(editor)) {
        // Rounded as the box rounded what it was given.
        const double shown =
            QString::number(index.data(Qt::EditRole).toDouble(), 'f', m_decimals).toDouble();
        if (spinBox->value() == shown) {
            return;
        }
    }
    QStyledItemDelegate::setModelData(editor, model, index);
}

} // namespace varnel
