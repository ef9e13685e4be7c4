#pragma once

#include <QCoreApplication>
#include <QString>

#include <string>

namespace guimisc {

/// An ASCII-named temporary file for a writer that takes 8-bit names, and the step that
/// puts what it wrote at the user's target path, which may hold any characters.
///
/// `filename()` is a fresh ASCII path in `folder` (nothing exists there yet). The writer
/// writes it; `copy()` then replaces `target` with it: the content is first copied next to
/// the target and renamed over it, so the target is either the old file or the complete new
/// one, never half of either. The temporary file is removed by the destructor.
/// Not copyable.
class TmpFileCopyerFromAscii {
    Q_DECLARE_TR_FUNCTIONS(guimisc::TmpFileCopyerFromAscii)

public:
    TmpFileCopyerFromAscii(const QString& target, const QString& folder);
    ~TmpFileCopyerFromAscii();

    TmpFileCopyerFromAscii(const TmpFileCopyerFromAscii&) = delete;
    TmpFileCopyerFromAscii& operator=(const TmpFileCopyerFromAscii&) = delete;

    /// The temporary file's absolute path as an 8-bit string.
    std::string filename() const;

    /// Replaces the target with the temporary file. Throws
    /// `exception::QStringRuntimeError` naming the target when the temporary file is missing
    /// or the target cannot be written; the target is then unchanged.
    void copy();

private:
    QString m_target;
    QString m_tmp;
};

} // namespace guimisc
