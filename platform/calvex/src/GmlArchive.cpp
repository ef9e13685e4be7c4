#include "GmlArchive.h"

#include "common/exception/RuntimeException.h"

#include "guimisc/ZipSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>

#include <algorithm>

namespace tingml::io {

namespace {

using common::exception::RuntimeException;

// Empty when unzip succeeded, else what went wrong.
std::string runUnzip(const QString& archive, const QString& folder)
{
    const std::unique_ptr<QProcess> unzip(guimisc::ZipSupport::createUnzipArchiveProcess(archive, folder));
    if (unzip->state() != QProcess::NotRunning) {
        unzip->waitForFinished(-1);
    }
    if (unzip->error() == QProcess::FailedToStart) {
        return "unzip did not start (" + unzip->errorString().toStdString() + ")";
    }
    if (unzip->state() != QProcess::NotRunning || unzip->exitStatus() != QProcess::NormalExit) {
        return "unzip did not finish";
    }
    if (unzip->exitCode() != 0) {
        // Info-ZIP's explanation runs over several lines; one line suits a message box.
        const QString said = QString::fromLocal8Bit(unzip->readAllStandardError()).simplified();
        return "unzip ended with exit code " + std::to_string(unzip->exitCode())
            + (said.isEmpty() ? std::string() : " (" + said.toStdString() + ")");
    }
    return {};
}

} // namespace

GmlArchive::GmlArchive(const QString& archive, const QString& tempFolder, const std::string& archiveName)
{
    if (tempFolder.isEmpty() || !QFileInfo(tempFolder).isDir()) {
        throw RuntimeException("No temporary folder to unpack " + archiveName + " in: \""
                               + tempFolder.toStdString() + "\" is not a folder");
    }
    m_folder = std::make_unique<QTemporaryDir>(QDir(tempFolder).filePath(QStringLiteral("gml-XXXXXX")));
    if (!m_folder->isValid()) {
        throw RuntimeException("Cannot make a folder in " + tempFolder.toStdString() + " to unpack "
                               + archiveName + ": " + m_folder->errorString().toStdString());
    }
    const std::string failure = runUnzip(archive, m_folder->path());
    if (!failure.empty()) {
        throw RuntimeException("Cannot unpack " + archiveName + ": " + failure);
    }
}

std::vector<GmlArchive::Member> GmlArchive::xmlMembers() const
{
    const QDir root(m_folder->path());
    std::vector<std::pair<QString, QString>> found; // name inside the archive, unpacked path
    QDirIterator entries(root.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (entries.hasNext()) {
        const QString path = entries.next();
        const QFileInfo info = entries.fileInfo();
        if (info.isSymLink() || !info.isFile()
            || !info.fileName().endsWith(QLatin1String(".xml"), Qt::CaseInsensitive)) {
            continue;
        }
        found.emplace_back(root.relativeFilePath(path), path);
    }
    std::sort(found.begin(), found.end());
    std::vector<Member> members;
    members.reserve(found.size());
    for (const auto& [name, path] : found) {
        members.push_back({path, name.toStdString()});
    }
    return members;
}

} // namespace tingml::io
