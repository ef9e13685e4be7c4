#pragma once

#include <QDir>
#include <QObject>

namespace mvc::proj {

/// The workspace: the folder under which every open project has its work folder, and
/// where temporary archives are written.
///
/// The folder is the setting "general/workspace" of the application's settings store,
/// by default `defaultFolderName` in the user's home folder. The constructor makes the
/// folder with every missing parent; a folder that cannot be made (a file in the way, no
/// permission) is reported by `makeFolder`, which callers ask before they put a project
/// there.
class ProjectWorkspace : public QObject {
    Q_OBJECT
public:
    ProjectWorkspace(const QString& defaultFolderName, QObject* parent);
    ~ProjectWorkspace() override;

    const QDir& workspace() const;
    /// Makes the folder with every missing parent (again, if it went since); true when it
    /// is a folder now.
    bool makeFolder() const;
    /// A fresh name in the workspace; nothing is created.
    QString tmpFileName() const;

private:
    QDir m_workspace;
};

} // namespace mvc::proj
