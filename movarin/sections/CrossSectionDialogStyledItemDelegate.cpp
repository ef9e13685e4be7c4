#include "movarin/sections/CrossSectionDialogStyledItemDelegate.h"

#include <QDoubleSpinBox>

namespace varnel {

using Self = CrossSectionDialog::StyledItemDelegate;

Self::StyledItemDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

QString Self::displayText(const QVariant& value, const QLocale& locale) const
{
    if (value.type() == QVariant::Double) {
        return locale.toString(value.toDouble(), 'f', PRECISION);
    }
    return QStyledItemDelegate::displayText(value, locale);
}

void Self::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    if (auto* spinBox = qobject_cast<QDoubleSpinBox*>(editor)) {
        spinBox->setDecimals(PRECISION);
    }
    QStyledItemDelegate::setEditorData(editor, index);
}

} // namespace varnel
