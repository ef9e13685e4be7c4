#pragma once

#include <QTableWidget>

namespace tinshp {

class ShpAttributeTable;

// A read-only table of the records of an attribute table, one row per record and one column per
// field, each value shown as text; the user selects whole rows.
class ShpRecordTableWidget : public QTableWidget
{
    Q_OBJECT
public:
    explicit ShpRecordTableWidget(QWidget* parent = nullptr);

    // Replaces what the table shows.
    void setRecords(const ShpAttributeTable& table);
};

} // namespace tinshp
