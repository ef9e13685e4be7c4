#pragma once

#include "brask/proj/ProjectItem.h"
#include "brask/proj/VersionNumber.h"

#include <QString>

namespace mvc::proj {

class Project;

/// The root of a project's persisted tree and its main file "project.xml" in the work
/// folder. Holds the project-wide modified flag (every node's `isModified` and
/// `setModified` end here) and the version recorded in the file's frame:
///
///     <Project version="1.2"> ...what the tree writes... </Project>
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
    void setModified(bool modified) override;
    std::string relativeSubPath() const override;

    /// The path of "project.xml" in the work folder.
    QString absoluteFilename() const;
    /// Parses "project.xml" and loads the tree from its document element. Throws
    /// `guimisc::ErrorMessage` when the file is missing or not well-formed XML.
    void load();
    /// Writes "project.xml" (first to a temporary name, renamed over the file when
    /// complete) and clears the modified flag. False when the file could not be written;
    /// the flag and any earlier file then stay.
    bool save();

    const VersionNumber& projectVersion() const;
    void setProjectVersion(const VersionNumber& version);

protected:
    /// Reads the attribute "version" (empty when missing).
    void doLoadFromProjectMainFile(const QDomElement& element) override;
    /// Writes the attribute "version".
    void doSaveToProjectMainFile(QXmlStreamWriter* writer) override;

private:
    VersionNumber m_version;
    Project* m_project;
    bool m_isModified = false;
};

} // namespace mvc::proj
