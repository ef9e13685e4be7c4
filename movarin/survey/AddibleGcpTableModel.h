#pragma once

#include "movarin/survey/GcpTableModel.h"

namespace varnel {

/// The GCP table as the georeference dialog shows it: the pairs, then one extra empty row
/// into which the user types a new pair. The extra row gives an empty `QVariant` for
/// every role and is editable (no check box) in every column; a value written into it
/// (edit or check-state role, as `GcpTableModel::setData` takes it) becomes a new enabled
/// pair, zero elsewhere, appended after the last pair, and the extra row moves down.
/// Inserting and removing rows concern the pairs only.
class AddibleGcpTableModel : public GcpTableModel {
    Q_OBJECT
public:
    explicit AddibleGcpTableModel(QObject* parent = nullptr);
    ~AddibleGcpTableModel() override;

    /// The pairs plus the extra row.
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

private:
    bool isExtraRow(const QModelIndex& index) const;
};

} // namespace varnel
