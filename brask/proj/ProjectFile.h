#pragma once

#include "brask/proj/ProjectItem.h"
#include "brask/proj/VersionNumber.h"

#include <QString>

class QUndoStack;

namespace mvc::proj {

class Project;

/// The root of a project's persisted tree and its main file "project.xml" in the work
/// folder. Answers whether the project is modified (every node's `isModified` and
/// `setModified` end here) and holds the version recorded in the file's frame:
///
///     <Project version="1.2"> ...what the tree writes... </Project>
///
/// The project is modified exactly when its state differs from the saved one: while the
/// project's undo stack stands away from its clean index, which a save sets
/// (`QUndoStack::setClean`), so that undoing past a save counts as a change and redoing back
/// to it does not; and after a change made outside the stack (`setModified(true)`: an edit
/// without undo, a rename, an import that clears the stack) until the next save. Without an
/// undo stack only the second counts.
///
/// The project owns its main file; the file owns the nodes whose Qt parent it is.
class ProjectFile : public ProjectItem {
    Q_OBJECT
public:
    static const char FILENAME[];

    explicit ProjectFile(Project* project);
    ~ProjectFile() override;

    Project* project() const override;
    bool isModified() const override;
    /// True: the project changed outside its undo stack. False: the project as it stands is
    /// the saved one (the stack's present index becomes its clean index).
    void setModified(bool modified) override;
    std::string relativeSubPath() const override;

    /// The path of "project.xml" in the work folder.
    QString absoluteFilename() const;
    /// Parses "project.xml" and loads the tree from its document element. Throws
    /// `guimisc::ErrorMessage` when the file is missing or not well-formed XML.
    void load();
    /// Writes "project.xml" (first to a temporary name, renamed over the file when
    /// complete) and marks the project as saved (`setModified(false)`). False when the file
    /// could not be written; the modified state and any earlier file then stay.
    bool save();

    const VersionNumber& projectVersion() const;
    void setProjectVersion(const VersionNumber& version);

protected:
    /// Reads the attribute "version" (empty when missing).
    void doLoadFromProjectMainFile(const QDomElement& element) override;
    /// Writes the attribute "version".
    void doSaveToProjectMainFile(QXmlStreamWriter* writer) override;

private:
    /// The project's stack; null without a project or stack.
    QUndoStack* undoStack() const;

    VersionNumber m_version;
    Project* m_project;
    bool m_isChangedOutsideStack = false;
};

} // namespace mvc::proj
