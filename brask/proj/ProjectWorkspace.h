#pragma once

#include <QDir>
#include <QObject>

namespace mvc::proj {

/// The workspace: the folder under which every open project has its work folder, and
/// where temporary archives are written.
///
/// The folder is the setting "general/workspace" of the application's settings store,
/// by default `defaultFolderName` in the user's home folder. The constructor creates the
/// folder's last component when it is missing (one level only).
class ProjectWorkspace : public QObject {
    Q_OBJECT
public:
    ProjectWorkspace(const QString& defaultFolderName, QObject* parent);
    ~ProjectWorkspace() override;

    const QDir& workspace() const;
    /// A fresh name in the workspace; nothing is created.
    QString tmpFileName() const;

private:
    QDir m_workspace;
};

} // namespace mvc::proj
