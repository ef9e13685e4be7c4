#include "movarin/surfaces/GeoEditSurfaceArchive.h"

#include "orlin/io/BinPointContainerExporter.h"
#include "orlin/io/BinPointVectorImporter.h"
#include "orlin/io/TinTinExporter.h"
#include "orlin/io/TinTinImporter.h"

#include <common/exception/InvalidFileFormatException.h>
#include <common/exception/RuntimeException.h>
#include <common/file/TarHeaderBlock.h>
#include <common/io/ByteOrder.h>
#include <common/io/FileUtil.h>
#include <common/io/IoUtil.h>
#include <common/io/SafeFileWriter.h>
#include <mold/io/MoldExporter.h>
#include <mold/io/MoldImporter.h>

#include <Poco/BinaryReader.h>
#include <Poco/BinaryWriter.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <limits>
#include <stdexcept>

namespace varnel {

namespace {

using common::exception::InvalidFileFormatException;
using common::exception::RuntimeException;
using common::file::TarHeaderBlock;

const char META_NAME[] = "meta.txt";
const char PATH_NAME[] = "path.tpobin";
const char MOLD_NAME[] = "mold.mld";
const char TIN_NAME[] = "tin.tin";
const char EXTENDED_TIN_NAME[] = "extendedtin.tin";
const char ADDED_TIN_NAME[] = "addedtin.tin";
const char REMOVED_TIN_NAME[] = "removedtin.tin";
const char PATH_CONTEXT[] = "loading path of GeoEditSurfaceItem";

// Writes entries one after the other into a stream of SafeFileWriter and checks the stream
// after each, so that a full disk stops the save at the entry where it happened.
class EntryWriter {
public:
    EntryWriter(std::ostream& stream, const std::string& filename)
        : m_stream(stream), m_writer(stream, common::io::FILE_BYTE_ORDER), m_filename(filename)
    {
    }

    void entry(const char* name, unsigned long long size,
               const std::function<void(Poco::BinaryWriter&)>& content)
    {
        if (size > std::numeric_limits<unsigned int>::max()) {
            throw RuntimeException(std::string("Archive entry too large: ") + name + " in "
                                   + m_filename);
        }
        TarHeaderBlock header;
        header.setName(name);
        header.setSize(static_cast<unsigned int>(size));
        header.write(m_writer);
        content(m_writer);
        TarHeaderBlock::writeOffset(m_writer, header.offset());
        check();
    }

    void meta()
    {
        const std::size_t size = std::strlen(tin::io::TinTinExporter::META_TEXT);
        entry(META_NAME, size, [](Poco::BinaryWriter& writer) {
            writer.writeRaw(tin::io::TinTinExporter::META_TEXT,
                            static_cast<std::streamsize>(
                                std::strlen(tin::io::TinTinExporter::META_TEXT)));
        });
    }

    void tin(const char* name, const tin::core::Tin& tin)
    {
        const tin::io::TinTinExporter exporter(tin);
        entry(name, exporter.size(), [&](Poco::BinaryWriter& writer) { exporter.exportTin(&writer); });
    }

    void end()
    {
        TarHeaderBlock::writeEndOfArchive(m_writer);
        check();
    }

private:
    void check()
    {
        m_writer.flush();
        if (!m_stream) {
            throw RuntimeException("Could not write file: " + m_filename);
        }
    }

    std::ostream& m_stream;
    Poco::BinaryWriter m_writer;
    std::string m_filename;
};

// Reads entries in order and keeps count of the bytes left in the file, so that no entry is
// believed to be longer than what remains.
class EntryReader {
public:
    explicit EntryReader(const std::string& filename)
        : m_stream(common::io::IoUtil::openInBinary(filename)),
          m_reader(m_stream, common::io::FILE_BYTE_ORDER),
          m_name(std::filesystem::path(filename).filename().string())
    {
        m_stream.seekg(0, std::ios::end);
        const std::streamoff end = m_stream.tellg();
        m_stream.seekg(0, std::ios::beg);
        if (end < 0 || !m_stream) {
            throw InvalidFileFormatException("Invalid file format", m_name);
        }
        m_left = static_cast<unsigned long long>(end);
    }

    const std::string& name() const { return m_name; }
    Poco::BinaryReader* reader() { return &m_reader; }

    /// Reads the next header; the content and its padding are known to be in the file.
    TarHeaderBlock next()
    {
        consume(TarHeaderBlock::headerSize());
        TarHeaderBlock header;
        header.read(m_reader);
        const unsigned long long claimed =
            static_cast<unsigned long long>(header.size()) + static_cast<unsigned long long>(header.offset());
        if (claimed > m_left) {
            throw InvalidFileFormatException("Invalid file size", m_name);
        }
        return header;
    }

    /// Reads the content of `header` with `read`, which must take exactly its size.
    template <class Read>
    auto content(const TarHeaderBlock& header, Read read)
    {
        const std::streamoff start = m_stream.tellg();
        auto value = read(header.size());
        const std::streamoff end = m_stream.tellg();
        if (start < 0 || end < 0 || static_cast<unsigned long long>(end - start) != header.size()) {
            throw InvalidFileFormatException("Invalid file size", m_name);
        }
        m_left -= header.size();
        skip(static_cast<unsigned long long>(header.offset()));
        return value;
    }

    /// Passes over the content of `header` and its padding.
    void skipContent(const TarHeaderBlock& header)
    {
        skip(static_cast<unsigned long long>(header.size()) + static_cast<unsigned long long>(header.offset()));
    }

    tin::core::Tin tin()
    {
        const TarHeaderBlock header = next();
        return content(header, [this](unsigned long long size) {
            return tin::io::TinTinImporter().importTin(&m_reader, size);
        });
    }

private:
    void consume(unsigned long long bytes)
    {
        if (bytes > m_left) {
            throw InvalidFileFormatException("Invalid file size", m_name);
        }
        m_left -= bytes;
    }

    // In pieces: the size has been checked against the file, not against memory.
    void skip(unsigned long long bytes)
    {
        consume(bytes);
        char buffer[4096];
        while (bytes > 0) {
            const std::streamsize piece =
                static_cast<std::streamsize>(bytes < sizeof buffer ? bytes : sizeof buffer);
            m_reader.readRaw(buffer, piece);
            if (!m_stream) {
                throw InvalidFileFormatException("Invalid file format", m_name);
            }
            bytes -= static_cast<unsigned long long>(piece);
        }
    }

    std::ifstream m_stream;
    Poco::BinaryReader m_reader;
    std::string m_name;
    unsigned long long m_left = 0;
};

// Runs `read` and reports every way in which the content can be unreadable as a damaged
// file of that name.
template <class Read>
auto readNamed(const std::string& filename, Read read)
{
    const std::string name = std::filesystem::path(filename).filename().string();
    try {
        return read();
    } catch (const InvalidFileFormatException& e) {
        if (e.fileName() == name) {
            throw;
        }
        throw InvalidFileFormatException(e.message(), name);
    } catch (const std::logic_error&) {
        // An index out of range, a vertex the point factory refuses.
        throw InvalidFileFormatException("Invalid file format", name);
    }
}

} // namespace

void GeoEditSurfaceArchive::writeMoldSurface(const std::string& filename,
                                             const std::vector<tin::core::Point>& path,
                                             const mold::core::Mold& mold, const tin::core::Tin& tin,
                                             const tin::core::Tin& extendedTin,
                                             const tin::core::Tin& addedTin,
                                             const tin::core::Tin& removedTin)
{
    const mold::io::MoldExporter moldExporter(mold);
    const std::size_t moldSize = moldExporter.binarySize();
    common::io::SafeFileWriter::writeBinary(filename, [&](std::ostream& stream) {
        EntryWriter entries(stream, filename);
        entries.meta();
        std::vector<const tin::core::Point*> points;
        points.reserve(path.size());
        for (const tin::core::Point& p : path) {
            points.push_back(&p);
        }
        const unsigned long long pathSize = common::io::FileUtil::headerSize() + 4ull
                                            + tin::io::BinPointContainerExporter::RECORD_SIZE * 1ull
                                                  * points.size();
        entries.entry(PATH_NAME, pathSize, [&](Poco::BinaryWriter& writer) {
            tin::io::BinPointContainerExporter().writePoints(writer, points.begin(), points.end(),
                                                             static_cast<int>(points.size()));
        });
        entries.entry(MOLD_NAME, moldSize,
                      [&](Poco::BinaryWriter& writer) { moldExporter.exportMoldBinary(&writer); });
        entries.tin(TIN_NAME, tin);
        entries.tin(EXTENDED_TIN_NAME, extendedTin);
        entries.tin(ADDED_TIN_NAME, addedTin);
        entries.tin(REMOVED_TIN_NAME, removedTin);
        entries.end();
    });
}

GeoEditSurfaceArchive::MoldSurface GeoEditSurfaceArchive::readMoldSurface(const std::string& filename)
{
    return readNamed(filename, [&] {
        EntryReader entries(filename);
        entries.skipContent(entries.next());
        MoldSurface surface;
        const TarHeaderBlock pathHeader = entries.next();
        surface.path = entries.content(pathHeader, [&](unsigned long long size) {
            return tin::io::BinPointVectorImporter().importPointVector(entries.reader(), size,
                                                                       PATH_CONTEXT);
        });
        const TarHeaderBlock moldHeader = entries.next();
        surface.mold = entries.content(moldHeader, [&](unsigned long long size) {
            return mold::io::MoldImporter().importMold(entries.reader(), static_cast<std::size_t>(size));
        });
        surface.tin = entries.tin();
        surface.extendedTin = entries.tin();
        surface.addedTin = entries.tin();
        surface.removedTin = entries.tin();
        return surface;
    });
}

void GeoEditSurfaceArchive::writeBrushSurface(const std::string& filename,
                                              const tin::core::Tin& addedTin,
                                              const tin::core::Tin& removedTin)
{
    common::io::SafeFileWriter::writeBinary(filename, [&](std::ostream& stream) {
        EntryWriter entries(stream, filename);
        entries.meta();
        entries.tin(ADDED_TIN_NAME, addedTin);
        entries.tin(REMOVED_TIN_NAME, removedTin);
        entries.end();
    });
}

GeoEditSurfaceArchive::BrushSurface GeoEditSurfaceArchive::readBrushSurface(const std::string& filename)
{
    return readNamed(filename, [&] {
        EntryReader entries(filename);
        entries.skipContent(entries.next());
        BrushSurface surface;
        surface.addedTin = entries.tin();
        surface.removedTin = entries.tin();
        return surface;
    });
}

} // namespace varnel
