#pragma once

#include <QSet>
#include <QString>

namespace guimisc {

/// Temporary names, folder removal and the guards of the work folders of projects, whose
/// content comes from archives and must never lead the program outside them.
class FileSupport {
public:
    FileSupport() = delete;

    /// A path in `folder` whose ASCII name no file, folder or link there has yet. Nothing is
    /// created, so a caller that needs the name reserved creates the file or folder at once.
    /// The name is random (letters and digits), so two calls practically never collide.
    static QString getTempFileName(const QString& folder);

    /// Removes the folder `path` with everything in it. Symbolic links inside (and `path`
    /// itself when it is one) are removed as links: what they point to is never touched.
    /// Returns true when nothing is left at `path` (also when there was nothing); false when
    /// something could not be removed or `path` is a plain file, which is left alone.
    static bool rmdirRecursively(const QString& path);

    /// The path that `path` leads to once its symbolic links are followed, link by link (a
    /// relative target is taken from the link's folder); `path` itself when it is no link. A
    /// dangling chain gives the missing target, so a writer makes it; a chain longer than
    /// 40 links (a loop) gives the link where it stopped, on which writing fails.
    static QString followLinks(const QString& path);

    /// The first entry below `folder` (relative to it, "/" separated) that is neither a folder
    /// nor a regular file of its own: a symbolic link (whatever it points to), a device, pipe
    /// or socket, or a regular file with more than one hard link. Empty when there is none.
    /// Links are never followed; an entry that cannot be examined (a folder that cannot be
    /// listed) is named as well. Cost: one status query per entry.
    static QString findForeignEntry(const QString& folder);

    /// Makes sure that writing `relativePath` below `folder` writes there and nowhere else.
    /// Every step of the path that exists as a symbolic link, device, pipe or socket is
    /// removed (a link goes as a link: what it points to is not touched), and a regular file
    /// at the end that has other hard links is replaced by a copy of its own. Missing steps
    /// are left missing. Throws `guimisc::ErrorMessage` naming the entry when it cannot be
    /// removed or replaced.
    static void clearWritePath(const QString& folder, const QString& relativePath);
    /// The same for the many files of one save: a folder of the path that `checkedFolders`
    /// lists counts as examined, and each folder the call finds to be a plain folder joins
    /// the list, so that a save examines each folder once, not once per file below it. The
    /// entry at the end of the path is always examined. The caller keeps the list for no
    /// longer than the writes it covers.
    static void clearWritePath(const QString& folder, const QString& relativePath,
                               QSet<QString>* checkedFolders);
};

} // namespace guimisc
