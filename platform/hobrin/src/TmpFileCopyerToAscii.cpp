#include "guimisc/TmpFileCopyerToAscii.h"

#include "guimisc/FileSupport.h"
#include "guimisc/StringSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace guimisc {

TmpFileCopyerToAscii::TmpFileCopyerToAscii(const QString& path, const QString& folder,
                                           bool withRelatedFiles)
{
    const QFileInfo source(path);
    const QString base = FileSupport::getTempFileName(folder);
    const QString suffix = source.suffix();
    m_copy = StringSupport::isAscii(suffix) && !suffix.isEmpty()
                 ? base + QLatin1Char('.') + suffix
                 : base;
    if (QFile::copy(path, m_copy)) {
        m_created << m_copy;
    }
    if (!withRelatedFiles) {
        return;
    }
    // Files named "<complete base name>.<rest>" beside the source: world files, ".aux.xml".
    const QString prefix = source.completeBaseName() + QLatin1Char('.');
    const QFileInfoList siblings =
        source.dir().entryInfoList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QFileInfo& sibling : siblings) {
        const QString name = sibling.fileName();
        if (!name.startsWith(prefix) || name == source.fileName()) {
            continue;
        }
        const QString rest = name.mid(prefix.size());
        if (!StringSupport::isAscii(rest)) {
            continue;
        }
        const QString copy = base + QLatin1Char('.') + rest;
        if (QFile::copy(sibling.absoluteFilePath(), copy)) {
            m_created << copy;
        }
    }
}

TmpFileCopyerToAscii::~TmpFileCopyerToAscii()
{
    for (const QString& file : m_created) {
        QFile::remove(file);
    }
}

std::string TmpFileCopyerToAscii::filename() const
{
    return StringSupport::toStr(m_copy);
}

} // namespace guimisc
