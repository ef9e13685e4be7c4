#pragma once

#include <QList>
#include <QStringList>
#include <QVariant>

#include <string>

class QTextCodec;

namespace tinshp {

// The attribute table of a shapefile read whole, as the import wizard and dialog show it: the
// field names and one row of values per record.
//
// A text field gives the decoded QString (trimmed, as shapelib reads it), an integer field an
// int, a floating-point field a double, a logical field its stored character as text, and a
// field of any other type an invalid QVariant. shapelib reports a numeric field of width 10 or
// more with 0 decimals as floating point, so such integers come as doubles. Cost: the whole table
// in memory.
class ShpAttributeTable
{
public:
    // Empty: no fields, no rows.
    ShpAttributeTable() = default;

    // The table shapelib finds beside the ".shp" at path (8-bit bytes, UTF-8 here), names and
    // text decoded with codec; an empty table when it does not open. A table whose header
    // claims more records than its file holds throws
    // common::exception::InvalidFileFormatException naming the ".dbf".
    static ShpAttributeTable read(const std::string& shpPath, QTextCodec* codec);

    const QStringList& labels() const { return m_labels; }
    const QList<QVariantList>& rows() const { return m_rows; }

    // An invalid QVariant for any row or column outside the table.
    QVariant value(int row, int col) const;

private:
    QStringList m_labels;
    QList<QVariantList> m_rows;
};

} // namespace tinshp
