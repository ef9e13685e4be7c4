#pragma once

#include "movarin/sections/CrossSectionDialog.h"

#include <QStyledItemDelegate>

namespace varnel {

/// The profile table's cells: numbers shown with 5 decimals in the view's locale; a spin box
/// editor gets 5 decimals before its value goes in.
class CrossSectionDialog::StyledItemDelegate : public QStyledItemDelegate {
public:
    static constexpr int PRECISION = 5;

    explicit StyledItemDelegate(QObject* parent = nullptr);

    QString displayText(const QVariant& value, const QLocale& locale) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
};

} // namespace varnel
