#include "brask/proj/ProjectFile.h"

#include "brask/proj/Project.h"

#include <guimisc/ErrorMessage.h>
#include <guimisc/FileSupport.h>
#include <guimisc/xml/XmlSupport.h>

#include <QDomDocument>
#include <QSaveFile>
#include <QUndoStack>
#include <QXmlStreamWriter>

namespace mvc::proj {

const char ProjectFile::FILENAME[] = "project.xml";

ProjectFile::ProjectFile(Project* project) : ProjectItem(nullptr), m_project(project) {}

ProjectFile::~ProjectFile() = default;

Project* ProjectFile::project() const
{
    return m_project;
}

bool ProjectFile::isModified() const
{
    if (m_isChangedOutsideStack) {
        return true;
    }
    const QUndoStack* stack = undoStack();
    return stack && !stack->isClean();
}

void ProjectFile::setModified(bool modified)
{
    m_isChangedOutsideStack = modified;
    if (!modified) {
        if (QUndoStack* stack = undoStack()) {
            stack->setClean();
        }
    }
}

QUndoStack* ProjectFile::undoStack() const
{
    return m_project ? m_project->undoStack() : nullptr;
}

std::string ProjectFile::relativeSubPath() const
{
    return {};
}

QString ProjectFile::absoluteFilename() const
{
    return m_project ? m_project->absoluteFileName(QString::fromLatin1(FILENAME)) : QString();
}

void ProjectFile::load()
{
    QDomDocument document;
    guimisc::xml::XmlSupport::loadDom(absoluteFilename(), &document);
    struct Discard {
        QDomDocument* document;
        ~Discard() { guimisc::xml::XmlSupport::discardDom(document); }
    } const discard{&document};
    loadFromProjectMainFile(document.documentElement());
}

bool ProjectFile::save()
{
    // The folders are examined anew by every save: whatever was put in the work folder
    // since the last one is seen.
    QSet<QString>* checked = m_project ? m_project->checkedFolders() : nullptr;
    if (checked) {
        checked->clear();
    }
    struct Forget {
        QSet<QString>* folders;
        ~Forget()
        {
            if (folders) {
                folders->clear();
            }
        }
    } const forget{checked};
    // QSaveFile follows a link to its target: a link put here is replaced, not written through.
    try {
        if (m_project) {
            guimisc::FileSupport::clearWritePath(m_project->workFolder(),
                                                 QString::fromLatin1(FILENAME));
        }
    } catch (const guimisc::ErrorMessage&) {
        return false;
    }
    // Written beside the file and renamed over it when complete, so that a failed write
    // leaves the earlier file as it was.
    QSaveFile file(absoluteFilename());
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    QXmlStreamWriter writer(&file);
    writer.setAutoFormatting(true);
    writer.writeStartDocument(QStringLiteral("1.0"));
    writer.writeStartElement(QStringLiteral("Project"));
    saveToProjectMainFile(&writer);
    writer.writeEndElement();
    writer.writeEndDocument();
    if (writer.hasError() || !file.commit()) {
        return false;
    }
    setModified(false);
    return true;
}

const VersionNumber& ProjectFile::projectVersion() const
{
    return m_version;
}

void ProjectFile::setProjectVersion(const VersionNumber& version)
{
    m_version = version;
}

void ProjectFile::doLoadFromProjectMainFile(const QDomElement& element)
{
    m_version = VersionNumber(element.attribute(QStringLiteral("version")));
}

void ProjectFile::doSaveToProjectMainFile(QXmlStreamWriter* writer)
{
    writer->writeAttribute(QStringLiteral("version"), m_version.toString());
}

} // namespace mvc::proj
