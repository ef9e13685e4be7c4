#include "movarin/sections/CrossSectionItemPathPropertyDialogStyledItemDelegate.h"

#include <QDoubleSpinBox>
#include <QPainter>

namespace varnel {

using Self = CrossSectionItemPathPropertyDialog::StyledItemDelegate;

Self::StyledItemDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

Self::~StyledItemDelegate() = default;

void Self::paint(QPainter* painter, const QStyleOptionViewItem& option,
                 const QModelIndex& index) const
{
    if (index.column() == m_activeColumn) {
        const QPalette::ColorGroup group =
            option.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
        painter->fillRect(option.rect, option.palette.brush(group, QPalette::Midlight));
    }
    QStyledItemDelegate::paint(painter, option, index);
}

void Self::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    if (auto spinBox = qobject_cast<QDoubleSpinBox*>(editor)) {
        spinBox->setDecimals(m_decimals);
    }
    QStyledItemDelegate::setEditorData(editor, index);
}

} // namespace varnel
