#include "movarin/surfaces/GeoEditSurfaceItemPathPropertyDialogStyledItemDelegate.h"

#include <QLocale>

namespace varnel {

using Self = GeoEditSurfaceItemPathPropertyDialog::StyledItemDelegate;

Self::StyledItemDelegate(QObject* parent) : PathTableItemDelegate(parent) {}

Self::~StyledItemDelegate() = default;

QString Self::displayText(const QVariant& value, const QLocale& locale) const
{
    if (value.userType() == QMetaType::Double) {
        return locale.toString(value.toDouble(), 'f', decimals());
    }
    return PathTableItemDelegate::displayText(value, locale);
}

void Self::setColumn(const QModelIndex& index)
{
    setActiveColumn(index.isValid() ? index.column() : -1);
}

} // namespace varnel
