#pragma once

#include <QString>
#include <QStringList>

#include <string>

namespace guimisc {

/// A copy of a file under an ASCII name, for readers that take 8-bit file names (GDAL,
/// the point readers) and cannot open a path with other characters.
///
/// The constructor copies `path` into `folder` under a fresh ASCII name (see
/// `FileSupport::getTempFileName`) that keeps the file's suffix, since readers choose the
/// format by it (a suffix that is not ASCII is dropped). With `withRelatedFiles` true it
/// also copies the files beside it whose names start with its complete base name and a dot
/// ("map.pgw", "map.wld", "map.png.aux.xml" beside "map.png"), renamed alike, so that a
/// georeferenced image keeps its world file. The copies are removed by the destructor.
///
/// A source that cannot be copied (missing, say) is not an error here: `filename()` then
/// names a file that does not exist and the reader reports the failure as for any missing
/// file. The name is ASCII when `folder` is (the work folders of projects are).
/// Cost: one copy of each file. Not copyable.
class TmpFileCopyerToAscii {
public:
    TmpFileCopyerToAscii(const QString& path, const QString& folder,
                         bool withRelatedFiles = false);
    ~TmpFileCopyerToAscii();

    TmpFileCopyerToAscii(const TmpFileCopyerToAscii&) = delete;
    TmpFileCopyerToAscii& operator=(const TmpFileCopyerToAscii&) = delete;

    /// The copy's absolute path as an 8-bit string.
    std::string filename() const;

private:
    QString m_copy;
    QStringList m_created;
};

} // namespace guimisc
