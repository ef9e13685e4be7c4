#pragma once

#include <QString>

namespace guimisc {

/// Temporary names and folder removal for the work folders of projects.
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
};

} // namespace guimisc
