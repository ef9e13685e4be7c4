#include "movarin/surfaces/MoldItemPropertyDialogStyledItemDelegate.h"

#include <QDoubleSpinBox>

namespace varnel {

using Self = MoldItemPropertyDialog::StyledItemDelegate;

namespace {

constexpr int DECIMALS = 2;

} // namespace

Self::StyledItemDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

QString Self::displayText(const QVariant& value, const QLocale& locale) const
{
    if (value.type() == QVariant::Double) {
        return locale.toString(value.toDouble(), 'f', DECIMALS);
    }
    return QStyledItemDelegate::displayText(value, locale);
}

void Self::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    if (auto* spinBox = qobject_cast<QDoubleSpinBox*>(editor)) {
        // Before the value goes in, or it is rounded to the box's default decimals.
        spinBox->setDecimals(DECIMALS);
    }
    QStyledItemDelegate::setEditorData(editor, index);
}

void Self::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    if (auto* spinBox = qobject_cast<QDoubleSpinBox*>(editor)) {
        // Rounded as the box rounds what it is given.
        const double shown =
            QString::number(index.data(Qt::EditRole).toDouble(), 'f', DECIMALS).toDouble();
        if (spinBox->value() == shown) {
            return;
        }
    }
    QStyledItemDelegate::setModelData(editor, model, index);
}

} // namespace varnel
