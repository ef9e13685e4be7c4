#include "kalmo/ShpAttributeTable.h"

#include "kalmo/ShpFileHandles.h"
#include "kalmo/ShpText.h"

#include "common/exception/InvalidFileFormatException.h"

#include <shapefil.h>

#include <filesystem>

namespace tinshp {

namespace {

QVariant cell(DBFHandle dbf, int row, int col, DBFFieldType type, QTextCodec* codec)
{
    switch (type) {
    case FTString:
        return ShpText::decode(codec, DBFReadStringAttribute(dbf, row, col));
    case FTInteger:
        return DBFReadIntegerAttribute(dbf, row, col);
    case FTDouble:
        return DBFReadDoubleAttribute(dbf, row, col);
    case FTLogical: {
        const char* text = DBFReadLogicalAttribute(dbf, row, col);
        return text && *text ? QString(QChar::fromLatin1(*text)) : QString();
    }
    default:
        return QVariant();
    }
}

} // namespace

ShpAttributeTable ShpAttributeTable::read(const std::string& shpPath, QTextCodec* codec)
{
    ShpAttributeTable table;
    ShpFileHandles files;
    files.dbf = DBFOpen(shpPath.c_str(), "rb");
    DBFHandle dbf = files.dbf;
    if (!dbf) {
        return table;
    }
    // shapelib would make a row for every record the header claims, a billion of them for a
    // header that says so.
    if (!files.recordsFitTheirFile()) {
        throw common::exception::InvalidFileFormatException(
            "The attribute table claims more records than it holds",
            std::filesystem::path(shpPath).replace_extension(".dbf").string());
    }
    const int fields = DBFGetFieldCount(dbf);
    std::vector<DBFFieldType> types;
    for (int col = 0; col < fields; ++col) {
        char name[XBASE_FLDNAME_LEN_READ + 1] = {};
        types.push_back(DBFGetFieldInfo(dbf, col, name, nullptr, nullptr));
        table.m_labels << ShpText::decode(codec, name);
    }
    const int records = DBFGetRecordCount(dbf);
    for (int row = 0; row < records; ++row) {
        QVariantList values;
        for (int col = 0; col < fields; ++col) {
            values << cell(dbf, row, col, types[col], codec);
        }
        table.m_rows << values;
    }
    return table;
}

QVariant ShpAttributeTable::value(int row, int col) const
{
    if (row < 0 || row >= m_rows.size() || col < 0 || col >= m_rows[row].size()) {
        return QVariant();
    }
    return m_rows[row][col];
}

} // namespace tinshp
