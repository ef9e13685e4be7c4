#pragma once

#include "movarin/surfaces/MoldItemPropertyDialog.h"

#include <QStyledItemDelegate>

namespace varnel {

/// The L-H table's cells: numbers shown with 2 decimals in the view's locale and edited in a
/// spin box of 2 decimals. An editor closed without a change leaves the cell as it was, so
/// that looking at a value of finer precision (a point placed with Alt) does not round it.
class MoldItemPropertyDialog::StyledItemDelegate : public QStyledItemDelegate {
public:
    explicit StyledItemDelegate(QObject* parent = nullptr);

    QString displayText(const QVariant& value, const QLocale& locale) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
};

} // namespace varnel
