#pragma once

#include "movarin/shell/PathTableItemDelegate.h"
#include "movarin/surfaces/GeoEditSurfaceItemPathPropertyDialog.h"

namespace varnel {

/// The cells of the surface's path table: numbers shown in the locale's fixed notation with
/// 5 decimals and edited with as many, the active column on the palette's Midlight brush
/// (see `PathTableItemDelegate`).
class GeoEditSurfaceItemPathPropertyDialog::StyledItemDelegate : public PathTableItemDelegate {
    Q_OBJECT
public:
    explicit StyledItemDelegate(QObject* parent = nullptr);
    ~StyledItemDelegate() override;

    QString displayText(const QVariant& value, const QLocale& locale) const override;

public slots:
    /// The index's column becomes the active one; -1 for an invalid index.
    void setColumn(const QModelIndex& index);
};

} // namespace varnel
