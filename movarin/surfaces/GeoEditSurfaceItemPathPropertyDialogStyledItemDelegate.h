#pragma once

#include "movarin/surfaces/GeoEditSurfaceItemPathPropertyDialog.h"

#include <QStyledItemDelegate>

namespace varnel {

/// The cells of the path table: numbers shown in the locale's fixed notation with 5
/// decimals and edited with as many, and the cells of the active column (the one "Edit all
/// columns" writes into) on the palette's Midlight brush.
class GeoEditSurfaceItemPathPropertyDialog::StyledItemDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit StyledItemDelegate(QObject* parent = nullptr);
    ~StyledItemDelegate() override;

    int activeColumn() const { return m_activeColumn; }

    QString displayText(const QVariant& value, const QLocale& locale) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;

public slots:
    /// The index's column becomes the active one; -1 for an invalid index.
    void setColumn(const QModelIndex& index);

private:
    int m_activeColumn = -1;
    int m_decimals = 5;
};

} // namespace varnel
