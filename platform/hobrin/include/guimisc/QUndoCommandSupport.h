#pragma once

#include <QString>

namespace guimisc {

/// Ids for `QUndoCommand::id`, so that consecutive commands of one kind merge.
class QUndoCommandSupport {
public:
    QUndoCommandSupport() = delete;

    /// The id of the command kind `name` (by custom the command's class name): the same
    /// number for the same name for the rest of the run, different numbers for different
    /// names, never -1 (which tells the undo stack not to merge). Numbers are handed out in
    /// order of first request, so they differ between runs; never store them. Any thread.
    static int generateCommandId(const QString& name);
};

} // namespace guimisc
