#include "guimisc/ZipDirectory.h"

#include "guimisc/exception/QStringRuntimeError.h"

#include <QByteArray>
#include <QDir>
#include <QFile>

#include <cstdint>

namespace guimisc {

namespace {

constexpr std::uint32_t END_SIGNATURE = 0x06054b50;
constexpr std::uint32_t ZIP64_LOCATOR_SIGNATURE = 0x07064b50;
constexpr std::uint32_t ZIP64_END_SIGNATURE = 0x06064b50;
constexpr std::uint32_t CENTRAL_HEADER_SIGNATURE = 0x02014b50;
constexpr qint64 END_SIZE = 22;
constexpr qint64 ZIP64_LOCATOR_SIZE = 20;
constexpr qint64 ZIP64_END_SIZE = 56;
constexpr qint64 CENTRAL_HEADER_SIZE = 46;
constexpr qint64 MAX_COMMENT = 0xffff;
constexpr std::uint16_t UTF8_NAME_FLAG = 1u << 11;

// Little-endian fields of a record held in `bytes`, read within bounds only.
class Record {
public:
    Record(const QByteArray& bytes, qint64 at) : m_bytes(bytes), m_at(at) {}

    bool fits(qint64 size) const { return m_at >= 0 && m_at + size <= m_bytes.size(); }
    std::uint64_t field(qint64 offset, int width) const
    {
        std::uint64_t value = 0;
        for (int i = width - 1; i >= 0; --i) {
            value = value << 8 | static_cast<unsigned char>(m_bytes[int(m_at + offset + i)]);
        }
        return value;
    }
    std::uint16_t u16(qint64 offset) const { return static_cast<std::uint16_t>(field(offset, 2)); }
    std::uint32_t u32(qint64 offset) const { return static_cast<std::uint32_t>(field(offset, 4)); }
    std::uint64_t u64(qint64 offset) const { return field(offset, 8); }

private:
    const QByteArray& m_bytes;
    qint64 m_at;
};

[[noreturn]] void notAnArchive(const QString& archive)
{
    throw exception::QStringRuntimeError(
        QStringLiteral("Not a zip archive: %1").arg(QDir::toNativeSeparators(archive)));
}

// Where the central directory lies in the file and how many headers it holds.
struct Directory {
    qint64 start = 0;
    qint64 size = 0;
    std::uint64_t entries = 0;
};

// The last end record whose comment reaches exactly to the end of the file, and its ZIP64
// form when its fields overflowed. `tail` holds the last bytes of the file, from `tailStart`.
bool findDirectory(const QByteArray& tail, qint64 tailStart, qint64 fileSize, QFile& file,
                   Directory& directory)
{
    for (qint64 at = tail.size() - END_SIZE; at >= 0; --at) {
        const Record end(tail, at);
        if (end.u32(0) != END_SIGNATURE || at + END_SIZE + end.u16(20) != tail.size()) {
            continue;
        }
        directory.entries = end.u16(10);
        directory.size = end.u32(12);
        qint64 endPosition = tailStart + at;
        const bool overflowed = end.u16(10) == 0xffff || end.u32(12) == 0xffffffffu
                                || end.u32(16) == 0xffffffffu;
        const Record locator(tail, at - ZIP64_LOCATOR_SIZE);
        if (overflowed && locator.fits(ZIP64_LOCATOR_SIZE)
            && locator.u32(0) == ZIP64_LOCATOR_SIGNATURE) {
            const auto zip64End = static_cast<qint64>(locator.u64(8));
            if (zip64End < 0 || zip64End + ZIP64_END_SIZE > fileSize || !file.seek(zip64End)) {
                return false;
            }
            const QByteArray bytes = file.read(ZIP64_END_SIZE);
            const Record record(bytes, 0);
            if (!record.fits(ZIP64_END_SIZE) || record.u32(0) != ZIP64_END_SIGNATURE) {
                return false;
            }
            directory.entries = record.u64(32);
            directory.size = static_cast<qint64>(record.u64(40));
            endPosition = zip64End;
        }
        // Counted back from the end record, so that data before the archive shifts nothing.
        directory.start = endPosition - directory.size;
        return directory.size >= 0 && directory.start >= 0;
    }
    return false;
}

} // namespace

QStringList ZipDirectory::memberNames(const QString& archive)
{
    QStringList names;
    for (const Member& member : members(archive)) {
        names << member.name;
    }
    return names;
}

QVector<ZipDirectory::Member> ZipDirectory::members(const QString& archive)
{
    QFile file(archive);
    if (!file.open(QIODevice::ReadOnly)) {
        notAnArchive(archive);
    }
    const qint64 fileSize = file.size();
    if (fileSize < END_SIZE) {
        notAnArchive(archive);
    }
    const qint64 tailStart = qMax<qint64>(0, fileSize - END_SIZE - MAX_COMMENT);
    if (!file.seek(tailStart)) {
        notAnArchive(archive);
    }
    const QByteArray tail = file.read(fileSize - tailStart);
    Directory directory;
    if (tail.size() != fileSize - tailStart
        || !findDirectory(tail, tailStart, fileSize, file, directory)
        // Each header takes at least its fixed part: a count beyond that is no directory.
        || directory.entries > static_cast<std::uint64_t>(directory.size / CENTRAL_HEADER_SIZE)
        || directory.size > INT32_MAX || !file.seek(directory.start)) {
        notAnArchive(archive);
    }
    const QByteArray bytes = file.read(directory.size);
    if (bytes.size() != directory.size) {
        notAnArchive(archive);
    }
    QVector<Member> members;
    qint64 at = 0;
    for (std::uint64_t i = 0; i < directory.entries; ++i) {
        const Record header(bytes, at);
        if (!header.fits(CENTRAL_HEADER_SIZE) || header.u32(0) != CENTRAL_HEADER_SIGNATURE) {
            notAnArchive(archive);
        }
        const qint64 nameLength = header.u16(28);
        const qint64 next = at + CENTRAL_HEADER_SIZE + nameLength + header.u16(30) + header.u16(32);
        if (next > bytes.size()) {
            notAnArchive(archive);
        }
        const QByteArray name = bytes.mid(int(at + CENTRAL_HEADER_SIZE), int(nameLength));
        members.append(Member{(header.u16(8) & UTF8_NAME_FLAG) ? QString::fromUtf8(name)
                                                               : QString::fromLatin1(name),
                              header.u32(20)});
        at = next;
    }
    return members;
}

} // namespace guimisc
