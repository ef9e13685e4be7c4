#include "kalmo/ShpWriter.h"

#include "common/exception/RuntimeException.h"
#include "common/io/SafeFileWriter.h"
#include "kalmo/ShpFileHandles.h"
#include "kalmo/ShpText.h"

#include <QTextCodec>

#include <shapefil.h>

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;
using common::exception::RuntimeException;

namespace tinshp {

struct ShpWriter::Impl
{
    ShpFileHandles files;
    QTextCodec* codec = QTextCodec::codecForLocale();
    int shapeType = 0;
    fs::path name;        // the file name of the ".shp"
    std::string target;   // as the caller named it, for messages
    fs::path folder;      // where the files go on close()
    fs::path scratch;     // the hidden folder they are built in
    bool failed = false;
};

ShpWriter::ShpWriter() : m_impl(std::make_unique<Impl>()) {}

ShpWriter::~ShpWriter()
{
    drop();
}

bool ShpWriter::open(const std::string& path, int shapeType)
{
    drop();
    const fs::path target(path);
    const fs::path name = target.filename();
    if (name.empty() || name == "." || name == "..") {
        return false;
    }
    fs::path folder = target.parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    std::string pattern = (folder / ("." + name.string() + ".writing-XXXXXX")).string();
    if (!mkdtemp(pattern.data())) {
        return false;
    }
    const fs::path scratch(pattern);
    const std::string built = (scratch / name).string();
    ShpFileHandles& files = m_impl->files;
    files.shp = SHPCreate(built.c_str(), shapeType);
    // No code page yet: close() writes the ".cpg" of the codec then in force.
    files.dbf = files.shp ? DBFCreateEx(built.c_str(), nullptr) : nullptr;
    if (!files.dbf) {
        files.close();
        std::error_code ignored;
        fs::remove_all(scratch, ignored);
        return false;
    }
    m_impl->shapeType = shapeType;
    m_impl->name = name;
    m_impl->target = path;
    m_impl->folder = folder;
    m_impl->scratch = scratch;
    m_impl->failed = false;
    return true;
}

void ShpWriter::close()
{
    if (!m_impl->files.shp) {
        return;
    }
    if (m_impl->failed) {
        drop(); // the caller has had the exception of the failed write
        return;
    }
    const bool padded = padTable() && writeCodePage();
    int shapes = 0;
    SHPGetInfo(m_impl->files.shp, &shapes, nullptr, nullptr, nullptr);
    const int rows = DBFGetRecordCount(m_impl->files.dbf);
    const int fields = DBFGetFieldCount(m_impl->files.dbf);
    m_impl->files.close();
    const std::string target = m_impl->target;
    if (!padded) {
        drop();
        throw RuntimeException("Cannot write the attribute rows or the code page of shapefile " +
                               target);
    }
    if (!finishedFilesHold(shapes, rows, fields)) {
        drop();
        throw RuntimeException("Cannot write shapefile " + target +
                               ": the files written are incomplete");
    }
    // Readers take the files together, so they replace the earlier ones as one set or not at
    // all; the ".shp" goes last, so that the set is complete once it is there.
    try {
        std::vector<common::io::SafeFileWriter::Finished> set;
        std::error_code error;
        for (const fs::directory_entry& entry : fs::directory_iterator(m_impl->scratch, error)) {
            set.push_back(
                {entry.path().string(), (m_impl->folder / entry.path().filename()).string()});
        }
        if (error) {
            throw RuntimeException(error.message());
        }
        std::stable_partition(set.begin(), set.end(), [](const auto& file) {
            return fs::path(file.file).extension() != ".shp";
        });
        common::io::SafeFileWriter::placeSet(set);
    } catch (const std::exception& e) {
        drop();
        throw RuntimeException("Cannot write shapefile " + target + ": " + e.what());
    }
    drop();
}

bool ShpWriter::finishedFilesHold(int shapes, int rows, int fields) const
{
    // shapelib writes through stdio and learns nothing of a write the disk refuses once it was
    // buffered (a full disk, a file-size limit, most often as the files are closed): the files
    // are read back, and must hold every shape, its index entry and every row.
    const std::string built = (m_impl->scratch / m_impl->name).string();
    ShpFileHandles check;
    check.shp = SHPOpen(built.c_str(), "rb");
    check.dbf = DBFOpen(built.c_str(), "rb");
    if (!check.shp || !check.dbf || !check.shapesFitTheirFile() || !check.recordsFitTheirFile()) {
        return false;
    }
    int read = 0;
    SHPGetInfo(check.shp, &read, nullptr, nullptr, nullptr);
    return read == shapes && DBFGetRecordCount(check.dbf) == rows &&
           DBFGetFieldCount(check.dbf) == fields;
}

bool ShpWriter::padTable()
{
    // Readers pair shapes and rows by number and stop at the shorter file: a shape whose row the
    // caller never wrote would be lost to them. A table without fields holds no rows.
    int shapes = 0;
    SHPGetInfo(m_impl->files.shp, &shapes, nullptr, nullptr, nullptr);
    if (DBFGetFieldCount(m_impl->files.dbf) == 0) {
        return true;
    }
    for (int row = DBFGetRecordCount(m_impl->files.dbf); row < shapes; ++row) {
        if (!DBFWriteNULLAttribute(m_impl->files.dbf, row, 0)) {
            return false;
        }
    }
    return true;
}

bool ShpWriter::writeCodePage()
{
    // Named as shapelib names the table: the ".shp" name without its extension.
    const fs::path cpg = m_impl->scratch / m_impl->name.stem().concat(".cpg");
    std::ofstream out(cpg, std::ios::binary | std::ios::trunc);
    out << m_impl->codec->name().constData();
    out.close();
    return static_cast<bool>(out);
}

void ShpWriter::drop()
{
    m_impl->files.close();
    if (!m_impl->scratch.empty()) {
        std::error_code ignored;
        fs::remove_all(m_impl->scratch, ignored);
        m_impl->scratch.clear();
    }
    m_impl->failed = false;
}

void ShpWriter::requireOpen() const
{
    if (!m_impl->files.shp) {
        throw RuntimeException("No shapefile is open for writing");
    }
}

void ShpWriter::requireCell(int row, int col) const
{
    requireOpen();
    // A row may add the next record.
    if (row < 0 || row > DBFGetRecordCount(m_impl->files.dbf) || col < 0 ||
        col >= DBFGetFieldCount(m_impl->files.dbf)) {
        throw std::out_of_range("No attribute at record " + std::to_string(row) + ", field " +
                                std::to_string(col) + " of " + m_impl->target);
    }
}

void ShpWriter::fail(const std::string& what)
{
    m_impl->failed = true;
    throw RuntimeException("Cannot write " + what + " to shapefile " + m_impl->target);
}

void ShpWriter::addStringAttribute(const std::string& name)
{
    requireOpen();
    if (DBFAddField(m_impl->files.dbf, name.c_str(), FTString, STRING_WIDTH, 0) < 0) {
        fail("field " + name);
    }
}

void ShpWriter::addIntAttribute(const std::string& name, int width)
{
    requireOpen();
    if (DBFAddField(m_impl->files.dbf, name.c_str(), FTInteger, width, 0) < 0) {
        fail("field " + name);
    }
}

void ShpWriter::addDoubleAttribute(const std::string& name, int width, int decimals)
{
    requireOpen();
    if (DBFAddField(m_impl->files.dbf, name.c_str(), FTDouble, width, decimals) < 0) {
        fail("field " + name);
    }
}

void ShpWriter::writeStringAttribute(int row, int col, const QString& value)
{
    requireCell(row, col);
    int width = 0;
    DBFGetFieldInfo(m_impl->files.dbf, col, nullptr, &width, nullptr);
    const QByteArray encoded = ShpText::encode(m_impl->codec, value, width);
    if (!DBFWriteStringAttribute(m_impl->files.dbf, row, col, encoded.constData())) {
        fail("the text of record " + std::to_string(row) + ", field " + std::to_string(col));
    }
}

void ShpWriter::writeIntAttribute(int row, int col, int value)
{
    requireCell(row, col);
    if (!DBFWriteIntegerAttribute(m_impl->files.dbf, row, col, value)) {
        fail("the value " + std::to_string(value) + " of record " + std::to_string(row) +
             ", field " + std::to_string(col));
    }
}

void ShpWriter::writeDoubleAttribute(int row, int col, double value)
{
    requireCell(row, col);
    if (!DBFWriteDoubleAttribute(m_impl->files.dbf, row, col, value)) {
        fail("the value " + std::to_string(value) + " of record " + std::to_string(row) +
             ", field " + std::to_string(col));
    }
}

void ShpWriter::setCodec(const QString& name)
{
    m_impl->codec = ShpText::codec(name);
}

void ShpWriter::writeShape(int i, const std::vector<tin::core::Point2D>& vertices)
{
    requireOpen();
    std::vector<double> xs;
    std::vector<double> ys;
    xs.reserve(vertices.size() + 1);
    ys.reserve(vertices.size() + 1);
    for (const tin::core::Point2D& p : vertices) {
        xs.push_back(p.x());
        ys.push_back(p.y());
    }
    const int partStart = 0;
    SHPObject* object =
        SHPCreateObject(m_impl->shapeType, i, 1, &partStart, nullptr, static_cast<int>(xs.size()),
                        xs.data(), ys.data(), nullptr, nullptr);
    if (!object) {
        fail("shape " + std::to_string(i));
    }
    SHPComputeExtents(object);
    SHPRewindObject(m_impl->files.shp, object);
    const int written = SHPWriteObject(m_impl->files.shp, -1, object);
    SHPDestroyObject(object);
    if (written < 0) {
        fail("shape " + std::to_string(i));
    }
}

} // namespace tinshp
