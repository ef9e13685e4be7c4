#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

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
};

} // namespace guimisc
