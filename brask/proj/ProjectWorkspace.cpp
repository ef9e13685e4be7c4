#include "brask/proj/ProjectWorkspace.h"

#include <guimisc/FileSupport.h>
#include <guimisc/SettingsSupport.h>

#include <QFileInfo>

namespace mvc::proj {

ProjectWorkspace::ProjectWorkspace(const QString& defaultFolderName, QObject* parent)
    : QObject(parent)
{
    const QString fallback = QDir::home().absoluteFilePath(defaultFolderName);
    const QString folder =
        guimisc::SettingsSupport::value(QStringLiteral("general/workspace"), fallback).toString();
    m_workspace = QDir(folder);
    makeFolder();
}

ProjectWorkspace::~ProjectWorkspace() = default;

const QDir& ProjectWorkspace::workspace() const
{
    return m_workspace;
}

bool ProjectWorkspace::makeFolder() const
{
    const QString path = m_workspace.absolutePath();
    return QDir().mkpath(path) && QFileInfo(path).isDir();
}

QString ProjectWorkspace::tmpFileName() const
{
    return guimisc::FileSupport::getTempFileName(m_workspace.absolutePath());
}

} // namespace mvc::proj
