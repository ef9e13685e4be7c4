#include "guimisc/ZipDirectory.h"

#include "guimisc/exception/QStringRuntimeError.h"

#include <QByteArray>
#include <QDir>
#include <QFile>

#include <cstdint>
#include <vector>

#include <zlib.h>

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
    /// Where the end record says the directory starts (before any stub is counted in).
    std::uint64_t recordedStart = 0;
    /// The bytes the counted headers take.
    qint64 consumed = 0;
};

// A member as its central header declares it, the ZIP64 fields resolved.
struct Entry {
    QString name;
    quint64 storedField = 0; ///< the 32-bit compressed size as it stands in the header
    quint64 compressed = 0;
    quint64 size = 0;
    quint64 localOffset = 0;
    std::uint16_t flags = 0;
    std::uint16_t method = 0;
};

constexpr std::uint32_t LOCAL_HEADER_SIGNATURE = 0x04034b50;
constexpr qint64 LOCAL_HEADER_SIZE = 30;
constexpr std::uint16_t ZIP64_EXTRA_ID = 0x0001;
constexpr std::uint16_t ENCRYPTED_FLAG = 1u << 0;
constexpr std::uint16_t STORED = 0;
constexpr std::uint16_t DEFLATED = 8;

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
        directory.recordedStart = end.u32(16);
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
            directory.recordedStart = record.u64(48);
            endPosition = zip64End;
        }
        // Counted back from the end record, so that data before the archive shifts nothing.
        directory.start = endPosition - directory.size;
        return directory.size >= 0 && directory.start >= 0;
    }
    return false;
}

// The sizes and the offset that overflowed their 32-bit fields, from the ZIP64 extra field
// of a central header (they stand there in this order, each only when its field is full).
void resolveZip64(const QByteArray& bytes, qint64 extraAt, qint64 extraLength, Entry* entry)
{
    const bool sizeFull = entry->size == 0xffffffffu;
    const bool compressedFull = entry->compressed == 0xffffffffu;
    const bool offsetFull = entry->localOffset == 0xffffffffu;
    for (qint64 at = extraAt; at + 4 <= extraAt + extraLength;) {
        const Record field(bytes, at);
        const qint64 length = field.u16(2);
        if (field.u16(0) == ZIP64_EXTRA_ID) {
            qint64 next = at + 4;
            const auto take = [&](bool full, quint64* value) {
                if (full && next + 8 <= at + 4 + length && Record(bytes, next).fits(8)) {
                    *value = Record(bytes, next).u64(0);
                    next += 8;
                }
            };
            take(sizeFull, &entry->size);
            take(compressedFull, &entry->compressed);
            take(offsetFull, &entry->localOffset);
            return;
        }
        at += 4 + length;
    }
}

// The entries of the central directory of the archive opened into `file`.
std::vector<Entry> readEntries(const QString& archive, QFile& file, Directory* directory)
{
    file.setFileName(archive);
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
    if (tail.size() != fileSize - tailStart
        || !findDirectory(tail, tailStart, fileSize, file, *directory)
        // Each header takes at least its fixed part: a count beyond that is no directory.
        || directory->entries > static_cast<std::uint64_t>(directory->size / CENTRAL_HEADER_SIZE)
        || directory->size > INT32_MAX || !file.seek(directory->start)) {
        notAnArchive(archive);
    }
    const QByteArray bytes = file.read(directory->size);
    if (bytes.size() != directory->size) {
        notAnArchive(archive);
    }
    std::vector<Entry> entries;
    entries.reserve(static_cast<std::size_t>(directory->entries));
    qint64 at = 0;
    for (std::uint64_t i = 0; i < directory->entries; ++i) {
        const Record header(bytes, at);
        if (!header.fits(CENTRAL_HEADER_SIZE) || header.u32(0) != CENTRAL_HEADER_SIGNATURE) {
            notAnArchive(archive);
        }
        const qint64 nameLength = header.u16(28);
        const qint64 extraLength = header.u16(30);
        const qint64 next = at + CENTRAL_HEADER_SIZE + nameLength + extraLength + header.u16(32);
        if (next > bytes.size()) {
            notAnArchive(archive);
        }
        const QByteArray name = bytes.mid(int(at + CENTRAL_HEADER_SIZE), int(nameLength));
        Entry entry;
        entry.name = (header.u16(8) & UTF8_NAME_FLAG) ? QString::fromUtf8(name)
                                                      : QString::fromLatin1(name);
        entry.flags = header.u16(8);
        entry.method = header.u16(10);
        entry.storedField = header.u32(20);
        entry.compressed = header.u32(20);
        entry.size = header.u32(24);
        entry.localOffset = header.u32(42);
        resolveZip64(bytes, at + CENTRAL_HEADER_SIZE + nameLength, extraLength, &entry);
        entries.push_back(std::move(entry));
        at = next;
    }
    directory->consumed = at;
    return entries;
}

// Inflates the deflated data of members into nothing: false as soon as a member gives more
// than its entry's size, or when its data end short of it or are damaged. One stream and one
// output buffer serve every member of an archive: made anew for each member, the buffer is
// cleared again for every small member, which costs more than inflating it.
class Inflater {
public:
    Inflater() : m_out(OUT) { m_ready = inflateInit2(&m_stream, -MAX_WBITS) == Z_OK; }
    ~Inflater()
    {
        if (m_ready) {
            inflateEnd(&m_stream);
        }
    }
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;

    bool inflatesToItsSize(QFile& file, const Entry& entry, qint64 dataStart)
    {
        if (!m_ready || inflateReset(&m_stream) != Z_OK || !file.seek(dataStart)) {
            return false;
        }
        // What the member before left unread is not this one's.
        m_stream.next_in = nullptr;
        m_stream.avail_in = 0;
        quint64 left = entry.compressed;
        quint64 produced = 0;
        int result = Z_OK;
        while (result != Z_STREAM_END) {
            if (m_stream.avail_in == 0) {
                if (left == 0) {
                    return false; // the data ends inside the stream
                }
                m_in = file.read(static_cast<qint64>(qMin<quint64>(left, IN)));
                if (m_in.isEmpty()) {
                    return false;
                }
                left -= static_cast<quint64>(m_in.size());
                m_stream.next_in = reinterpret_cast<Bytef*>(m_in.data());
                m_stream.avail_in = static_cast<uInt>(m_in.size());
            }
            m_stream.next_out = m_out.data();
            m_stream.avail_out = OUT;
            result = inflate(&m_stream, Z_NO_FLUSH);
            produced += OUT - m_stream.avail_out;
            if (produced > entry.size) {
                return false;
            }
            if (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR) {
                return false;
            }
        }
        return produced == entry.size;
    }

private:
    static constexpr qint64 IN = 1 << 16;
    static constexpr uInt OUT = 1 << 18;

    z_stream m_stream{};
    bool m_ready = false;
    QByteArray m_in;
    std::vector<unsigned char> m_out;
};

// One member as the zip tool would unpack it; `refuse` throws.
template <class Refuse>
void checkMember(QFile& file, Inflater& inflater, const Entry& entry, qint64 directoryStart,
                 const Refuse& refuse)
{
    if (entry.flags & ENCRYPTED_FLAG) {
        refuse(QStringLiteral("%1 is encrypted").arg(entry.name));
    }
    if (entry.method != STORED && entry.method != DEFLATED) {
        refuse(QStringLiteral("%1 is packed by method %2").arg(entry.name).arg(entry.method));
    }
    if (entry.method == STORED && entry.compressed != entry.size) {
        refuse(QStringLiteral("%1 is stored in %2 bytes but declares %3")
                   .arg(entry.name)
                   .arg(entry.compressed)
                   .arg(entry.size));
    }
    QByteArray local;
    if (entry.localOffset <= static_cast<quint64>(directoryStart) && file.seek(static_cast<qint64>(entry.localOffset))) {
        local = file.read(LOCAL_HEADER_SIZE);
    }
    const Record header(local, 0);
    if (!header.fits(LOCAL_HEADER_SIZE) || header.u32(0) != LOCAL_HEADER_SIGNATURE) {
        refuse(QStringLiteral("%1 has no local header where its entry says").arg(entry.name));
    }
    const quint64 dataStart =
        entry.localOffset + LOCAL_HEADER_SIZE + header.u16(26) + header.u16(28);
    if (dataStart > static_cast<quint64>(directoryStart)
        || entry.compressed > static_cast<quint64>(directoryStart) - dataStart) {
        refuse(QStringLiteral("the data of %1 reach into the directory").arg(entry.name));
    }
    if (entry.method == DEFLATED
        && !inflater.inflatesToItsSize(file, entry, static_cast<qint64>(dataStart))) {
        refuse(QStringLiteral("%1 does not inflate to the %2 bytes it declares")
                   .arg(entry.name)
                   .arg(entry.size));
    }
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
    Directory directory;
    QVector<Member> members;
    for (const Entry& entry : readEntries(archive, file, &directory)) {
        members.append(Member{entry.name, entry.storedField});
    }
    return members;
}

void ZipDirectory::checkForUnpacking(const QString& archive, const Limits& limits)
{
    QFile file(archive);
    Directory directory;
    const std::vector<Entry> entries = readEntries(archive, file, &directory);
    const QString shown = QDir::toNativeSeparators(archive);
    const auto refuse = [&shown](const QString& why) {
        throw exception::QStringRuntimeError(QStringLiteral("%1: %2").arg(shown, why));
    };
    // The zip tool finds the directory where the end record says and reads headers for as
    // long as it finds them: anything else would show it members this reader does not see.
    if (directory.recordedStart != static_cast<std::uint64_t>(directory.start)) {
        refuse(QStringLiteral("the directory is not where the end record says"));
    }
    if (directory.consumed != directory.size) {
        refuse(QStringLiteral("the directory holds more than the headers it counts"));
    }
    // What the directory declares first: members sharing one block of data (each inflating
    // truthfully) declare the whole of what they would unpack to.
    quint64 total = 0;
    for (const Entry& entry : entries) {
        if (entry.size > ~quint64(0) - total) {
            refuse(QStringLiteral("the members' sizes overflow"));
        }
        total += entry.size;
        if (!limits.named.isEmpty() && entry.name == limits.named
            && entry.size > limits.namedBytes) {
            refuse(QStringLiteral("%1 declares %2 bytes").arg(entry.name).arg(entry.size));
        }
    }
    if (total > limits.totalBytes) {
        refuse(QStringLiteral("the members declare %1 bytes, %2 are free")
                   .arg(total)
                   .arg(limits.totalBytes));
    }
    Inflater inflater;
    for (const Entry& entry : entries) {
        checkMember(file, inflater, entry, directory.start, refuse);
    }
}

} // namespace guimisc
