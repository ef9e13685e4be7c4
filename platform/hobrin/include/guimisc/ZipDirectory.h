#pragma once

#include <QString>
#include <QStringList>
#include <QVector>
#include <QtGlobal>

namespace guimisc {

/// The member names of a zip archive, read from its central directory at the end of the
/// file, without unpacking anything or starting the zip tool: a cheap test of whether a file
/// the user picked is an archive at all, and which members it holds, before anything is
/// given up for it.
///
/// Reads the end-of-central-directory record (ZIP64 records included), then each central
/// file header; names are decoded as UTF-8 when the entry's flag says so, else as Latin-1
/// (ASCII names read the same either way). Data preceding the archive (a self-extractor stub)
/// is allowed, as the zip tool allows it. The members' data are not looked at, so an archive
/// whose entries are damaged can still be listed; unpacking finds that out.
///
/// Throws `guimisc::exception::QStringRuntimeError` "Not a zip archive: <path>" when the file
/// cannot be read or holds no complete central directory. Cost: one seek and read of the
/// directory (at most 64 KiB plus the directory's size). Thread-safe (no state).
class ZipDirectory {
public:
    ZipDirectory() = delete;

    /// A member as the central directory gives it: its name and the bytes its data take in
    /// the archive (0xffffffff when the size lives in a ZIP64 field: 4 GiB or more).
    struct Member {
        QString name;
        quint64 storedBytes = 0;
    };

    static QStringList memberNames(const QString& archive);
    static QVector<Member> members(const QString& archive);

    /// What an archive that comes from elsewhere must keep before the zip tool may unpack it.
    struct Limits {
        /// The members' declared sizes together at most this (the free space of the disk
        /// they go to).
        quint64 totalBytes = ~quint64(0);
        /// The member of this name, when there is one, at most `namedBytes`.
        QString named;
        quint64 namedBytes = ~quint64(0);
    };

    /// Checks, without unpacking, that the zip tool would write exactly what the directory
    /// declares, and no more than `limits` allow; throws `exception::QStringRuntimeError`
    /// saying what is wrong otherwise. The directory must be exactly where the end record
    /// says and hold exactly the headers it counts (no stub before the archive, no header
    /// beyond the count that the tool would find and unpack as well); each member's local
    /// header must be where its entry says, its data before the directory, stored or
    /// deflated and not encrypted, a stored one as long as it declares; every deflated
    /// member is inflated (into nothing) and must give exactly its declared size, stopping
    /// as soon as it gives more, so that a member declaring a few bytes cannot unpack into
    /// gigabytes. Cost: one read of the deflated members' data and of the directory.
    static void checkForUnpacking(const QString& archive, const Limits& limits);
};

} // namespace guimisc
