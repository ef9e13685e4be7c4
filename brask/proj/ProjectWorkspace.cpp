#include "brask/proj/ProjectWorkspace.h"

#include <guimisc/FileSupport.h>

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>

namespace mvc::proj {

ProjectWorkspace::ProjectWorkspace(const QString& defaultFolderName, QObject* parent)
    : QObject(parent)
{
    const QString fallback = QDir::home().absoluteFilePath(defaultFolderName);
    const QString folder =
        QSettings().value(QStringLiteral("general/workspace"), fallback).toString();
    m_workspace = QDir(folder);
    if (!m_workspace.exists()) {
        const QFileInfo info(m_workspace.absolutePath());
        info.dir().mkdir(info.fileName());
    }
}

ProjectWorkspace::~ProjectWorkspace() = default;

const QDir& ProjectWorkspace::workspace() const
{
    return m_workspace;
}

QString ProjectWorkspace::tmpFileName() const
{
    return guimisc::FileSupport::getTempFileName(m_workspace.absolutePath());
}

void ProjectWorkspace::removeZipTrashes() const
{
    removeZipTrashes(m_workspace);
}

void ProjectWorkspace::removeZipTrashes(const QDir& folder)
{
    // Info-ZIP writes a new archive as "zi" plus six characters (older versions "zia...")
    // beside the target; a killed run leaves it there.
    static const QRegularExpression trash(QStringLiteral("^(zia.*|zi.{6})$"));
    const QStringList names = folder.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        if (trash.match(name).hasMatch()) {
            QFile::remove(folder.absoluteFilePath(name));
        }
    }
}

} // namespace mvc::proj
