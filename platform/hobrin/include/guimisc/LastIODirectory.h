#pragma once

#include <QString>

namespace guimisc {

/// The folder in which every file dialog of the program opens: one value for the whole
/// process (GUI thread only), set at start-up from the settings and after each file the
/// user picked. Until it is first set, `get()` is the user's home folder.
class LastIODirectory {
public:
    LastIODirectory() = delete;

    static QString get();
    static void set(const QString& folder);
    /// Sets the folder that holds `path` (a file name, made absolute first).
    static void setFromAbsoluteFileName(const QString& path);
};

} // namespace guimisc
