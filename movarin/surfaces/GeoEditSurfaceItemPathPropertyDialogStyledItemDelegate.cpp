#include "movarin/surfaces/GeoEditSurfaceItemPathPropertyDialogStyledItemDelegate.h"

#include <QDoubleSpinBox>
#include <QLocale>
#include <QPainter>

namespace varnel {

using Self = GeoEditSurfaceItemPathPropertyDialog::StyledItemDelegate;

Self::StyledItemDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

Self::~StyledItemDelegate() = default;

QString Self::displayText(const QVariant& value, const QLocale& locale) const
{
    if (value.userType() == QMetaType::Double) {
        return locale.toString(value.toDouble(), 'f', m_decimals);
    }
    return QStyledItemDelegate::displayText(value, locale);
}

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

QWidget* Self::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const
{
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    // The default editor of a number keeps 2 decimals, which would round what is typed.
    if (auto spinBox = qobject_cast<QDoubleSpinBox*>(editor)) {
        spinBox->setDecimals(m_decimals);
    }
    return editor;
}

void Self::setColumn(const QModelIndex& index)
{
    m_activeColumn = index.isValid() ? index.column() : -1;
}

} // namespace varnel
