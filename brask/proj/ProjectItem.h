#pragma once

#include <QDataStream>
#include <QObject>

#include <memory>
#include <string>
#include <vector>

class QDomElement;
class QXmlStreamWriter;

namespace mvc::proj {

class Project;
class ProjectMainWindowI;

/// A node of the persisted tree of a project. The tree is the Qt object tree: a node's Qt
/// parent is its parent node, and deleting a node deletes its subtree.
///
/// Persistence walks the tree. Each node writes its attributes and child elements into the
/// project main file ("project.xml") through `doSaveToProjectMainFile`, reads them back
/// from the DOM through `doLoadFromProjectMainFile`, and, when it has a file name, keeps its
/// bulk data in an external file (`saveExternalData` / `loadExternalData`, given the file's
/// absolute path). The file lies in the node's folder: the folder of its parent, or a
/// sub-folder of it when the node has a sub path of its own. Paths are 8-bit strings in
/// the local encoding. Before a node writes, a symbolic link or special file found on the
/// way to its folder or file (put into the work folder behind the program's back) is
/// removed, so that no writer reaches outside the work folder through it; a failure to
/// remove it throws `guimisc::ErrorMessage`.
///
/// A node has no modified flag of its own: `isModified` and `setModified` go up the tree to
/// the project main file (`ProjectFile`), which holds the project-wide flag. A node outside
/// any project answers false and ignores `setModified`; its `project()` is null.
class ProjectItem : public QObject {
    Q_OBJECT
public:
    /// The version of every `QDataStream` that items write or read.
    static constexpr int dataStreamVersion = QDataStream::Qt_5_2;

    ProjectItem(const std::string& filename, ProjectItem* parent);
    explicit ProjectItem(ProjectItem* parent);
    ~ProjectItem() override;

    /// `doLoadFromProjectMainFile`, then `loadExternalData` when a file name is set.
    virtual void loadFromProjectMainFile(const QDomElement& element);
    /// Creates the sub-folder if needed, `doSaveToProjectMainFile`, then `saveExternalData`
    /// when a file name is set. The caller has opened the node's element.
    virtual void saveToProjectMainFile(QXmlStreamWriter* writer);
    /// The node's file relative to the work folder when a file name is set and the node
    /// keeps data in it (`keepsExternalData`), else nothing.
    virtual std::vector<std::string> containedFiles() const;
    virtual Project* project() const;
    virtual bool isModified() const;
    virtual void setModified(bool modified);
    /// The node's folder relative to the work folder ("" for the work folder itself).
    virtual std::string relativeSubPath() const;

    /// The Qt parent as a node, null when it is none.
    ProjectItem* parent() const;
    /// The main window of the project, null outside a project.
    ProjectMainWindowI* projectMainWindow() const;

    const std::string& filename() const;
    /// Sets the external file's name (relative to the node's folder); empty: no file.
    void setFilename(const std::string& filename);
    /// Sets the node's own folder below its parent's folder; empty: the parent's folder.
    void setSubPath(const std::string& subPath);

    /// The external file relative to the work folder.
    std::string relativeFilename() const;
    /// The external file's absolute path; empty when there is no file name or no project.
    std::string absoluteFilename() const;
    /// The absolute paths that children of this node named `filenames` would have, each what
    /// the child's `absoluteFilename()` gives when it has no folder of its own and keeps the
    /// node's folder and project: one walk up the tree for all (a group may have 100,000).
    std::vector<std::string> childFilenames(const std::vector<std::string>& filenames) const;

protected:
    virtual void doLoadFromProjectMainFile(const QDomElement& element);
    virtual void doSaveToProjectMainFile(QXmlStreamWriter* writer);
    virtual void loadExternalData(const std::string& absoluteFilename);
    virtual void saveExternalData(const std::string& absoluteFilename);
    /// Whether the node keeps data in its file (the default). A node that only names its
    /// file and writes nothing there says false: then the file is neither read, nor cleared
    /// for writing, nor packed, which saves a look-up of a missing file per node.
    virtual bool keepsExternalData() const;

    /// The node's folder as an absolute path.
    std::string subPath() const;
    void createSubFolderIfNecessary();
    void loadExternalDataIfNecessary();
    void saveExternalDataIfNecessary();

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace mvc::proj
