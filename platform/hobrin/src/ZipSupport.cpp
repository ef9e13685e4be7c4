#include "guimisc/ZipSupport.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace guimisc {

namespace {

// The program as found on PATH now; the bare name when it is not there, so that the
// process fails to start and says so.
QString program(const QString& name)
{
    const QString found = QStandardPaths::findExecutable(name);
    return found.isEmpty() ? name : found;
}

} // namespace

QProcess* ZipSupport::createUnzipArchiveProcess(const QString& archive, const QString& folder,
                                                QObject* parent)
{
    auto process = new QProcess(parent);
    // Absolute paths never start with "-", so neither can be taken for an option. No "-:":
    // unzip then keeps entries named with "../" or "/" inside the folder.
    process->start(program(QStringLiteral("unzip")),
                   {QStringLiteral("-o"), QStringLiteral("-q"),
                    QFileInfo(archive).absoluteFilePath(), QStringLiteral("-d"),
                    QFileInfo(folder).absoluteFilePath()});
    return process;
}

QProcess* ZipSupport::createZipArchiveProcess(const QString& archive, const QString& folder,
                                              const QStringList& members, QObject* parent)
{
    return createZipArchiveProcess(archive, folder, members, QStringList(), parent);
}

QProcess* ZipSupport::createZipArchiveProcess(const QString& archive, const QString& folder,
                                              const QStringList& members,
                                              const QStringList& storedSuffixes, QObject* parent)
{
    auto process = new QProcess(parent);
    process->setWorkingDirectory(QFileInfo(folder).absoluteFilePath());
    QStringList arguments{QStringLiteral("-q")};
    if (!storedSuffixes.isEmpty()) {
        arguments << QStringLiteral("-n") << storedSuffixes.join(QLatin1Char(':'));
    }
    arguments << QFileInfo(archive).absoluteFilePath();
    for (const QString& member : members) {
        // "./-name" is stored as "-name" but cannot be taken for an option.
        arguments << (member.startsWith(QLatin1Char('-')) ? QStringLiteral("./") + member : member);
    }
    process->start(program(QStringLiteral("zip")), arguments);
    return process;
}

} // namespace guimisc
