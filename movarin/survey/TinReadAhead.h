#pragma once

#include "brask/proj/MemberReadAhead.h"

#include <guimisc/FileState.h>

#include <memory>
#include <string>
#include <vector>

namespace tin::core {
class Tin;
}

namespace varnel {

/// The TIN archives of a project ("readOnlyTin.tin", "tin.tin") read while the rest of its
/// archive unpacks, for the TIN items to take as they load (`ReadOnlyTinItem`).
///
/// `read` reads a member as TinTinImporter reads it from its path, from the bytes of the
/// regular file opened without following a link, and keeps the TIN with the file's state.
/// `take` gives it back only while the file is in that state; then the load never reads the
/// file again. A member that does not read keeps nothing: the item reads the file itself and
/// says what is wrong with it. Reads and takes happen on the GUI thread, as the pools of the
/// TIN's objects require.
///
/// Cost: one read of each member, its bytes held while it is read (a tenth or less of the
/// TIN it becomes), and the TINs held until taken or discarded.
class TinReadAhead : public mvc::proj::MemberReadAhead {
public:
    /// The project's TIN archives as they are named in the work folder.
    explicit TinReadAhead(const QStringList& members);
    ~TinReadAhead() override;

    QStringList members() const override;
    void read(const QString& path) override;
    void discard() override;

    /// The TIN read from `path` (absolute) when the file there is still the one that was
    /// read; null otherwise, and for a path not read ahead. Each TIN is taken once.
    std::unique_ptr<tin::core::Tin> take(const std::string& path);

private:
    struct Read {
        QString path;
        guimisc::FileState state;
        std::unique_ptr<tin::core::Tin> tin;
    };

    QStringList m_members;
    std::vector<Read> m_read;
};

} // namespace varnel
