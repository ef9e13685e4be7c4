#include "guimisc/TmpFileCopyerFromAscii.h"

#include "guimisc/FileSupport.h"
#include "guimisc/StringSupport.h"
#include "guimisc/exception/QStringRuntimeError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace guimisc {

TmpFileCopyerFromAscii::TmpFileCopyerFromAscii(const QString& target, const QString& folder)
    : m_target(target)
{
    const QString suffix = QFileInfo(target).suffix();
    m_tmp = FileSupport::getTempFileName(folder);
    if (!suffix.isEmpty() && StringSupport::isAscii(suffix)) {
        m_tmp += QLatin1Char('.') + suffix;
    }
}

TmpFileCopyerFromAscii::~TmpFileCopyerFromAscii()
{
    QFile::remove(m_tmp);
}

std::string TmpFileCopyerFromAscii::filename() const
{
    return StringSupport::toStr(m_tmp);
}

void TmpFileCopyerFromAscii::copy()
{
    const QString shown = QDir::toNativeSeparators(m_target);
    if (!QFileInfo(m_tmp).isFile()) {
        throw exception::QStringRuntimeError(tr("Nothing was written for %1.").arg(shown));
    }
    const QFileInfo target(m_target);
    if (target.isDir()) {
        throw exception::QStringRuntimeError(tr("%1 is a folder.").arg(shown));
    }
    // Copy beside the target first, then rename over it: the target is replaced whole.
    const QString staging = FileSupport::getTempFileName(target.absolutePath());
    if (!QFile::copy(m_tmp, staging)) {
        QFile::remove(staging);
        throw exception::QStringRuntimeError(tr("Could not write %1.").arg(shown));
    }
    if (std::rename(QFile::encodeName(staging).constData(),
                    QFile::encodeName(target.absoluteFilePath()).constData())
        != 0) {
        QFile::remove(staging);
        throw exception::QStringRuntimeError(tr("Could not write %1.").arg(shown));
    }
}

} // namespace guimisc
