#include "brask/proj/ProjectWorkspace.h"

#include <guimisc/FileSupport.h>

#include <QFileInfo>
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

} // namespace mvc::proj
