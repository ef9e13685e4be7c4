#pragma once

#include <QString>
#include <QStringList>

namespace mvc::proj {

/// A reader of members of a project archive that the load reads first and that can be
/// read while the rest of the archive unpacks (see Project::setMemberReadAhead).
///
/// `read` is called on the GUI thread with the path of a member that the first unpacking
/// program has finished, only when it is a regular file of its own (no link, no second
/// hard link). What it reads is kept for the load to take, which uses it only while the
/// file is still the one that was read. A member that cannot be read leaves nothing
/// behind: the load reads it itself and says what is wrong with it, as without a read
/// ahead. `discard` drops whatever no load took.
class MemberReadAhead {
public:
    virtual ~MemberReadAhead() = default;

    /// The plain top-level names of the members read ahead.
    virtual QStringList members() const = 0;
    /// Reads the unpacked member at `path` ahead of the load; never throws.
    virtual void read(const QString& path) = 0;
    /// Drops what `read` kept.
    virtual void discard() = 0;
};

} // namespace mvc::proj
