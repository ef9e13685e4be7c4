#include "movarin/shell/ProjectFile.h"

#include "brask/window/ProjectMdiArea.h"
#include "brask/window/ProjectWindow.h"
#include "brask/window/ProjectWindowItem.h"
#include "movarin/shell/MainWindow.h"
#include "movarin/shell/ProjectProperty.h"
#include "movarin/shell/ProjectWindowFactory.h"

#include <guimisc/xml/XmlSupport.h>

#include <QDomElement>
#include <QXmlStreamWriter>

namespace varnel {

using guimisc::xml::XmlSupport;

namespace {

/// The project windows of the project's MDI area, in creation order; none without a main
/// window.
std::vector<mvc::window::ProjectWindow*> projectWindows(const Project* project)
{
    MainWindow* window = project ? project->mainWindow() : nullptr;
    if (!window) {
        return {};
    }
    return window->mdiArea()->allSubWindows();
}

} // namespace

ProjectFile::ProjectFile(Project* project) : mvc::proj::ProjectFile(project) {}

ProjectFile::~ProjectFile() = default;

ProjectProperty* ProjectFile::property() const
{
    return m_property;
}

void ProjectFile::setProperty(ProjectProperty* property)
{
    m_property = property;
}

Project* ProjectFile::project() const
{
    return static_cast<Project*>(mvc::proj::ProjectFile::project());
}

std::vector<std::string> ProjectFile::containedFiles() const
{
    std::vector<std::string> files;
    for (const mvc::window::ProjectWindow* window : projectWindows(project())) {
        if (const mvc::window::ProjectWindowItem* item = window->windowItem()) {
            const std::vector<std::string> itemFiles = item->containedFiles();
            files.insert(files.end(), itemFiles.begin(), itemFiles.end());
        }
    }
    return files;
}

void ProjectFile::doSaveToProjectMainFile(QXmlStreamWriter* writer)
{
    mvc::proj::ProjectFile::doSaveToProjectMainFile(writer);

    writer->writeStartElement(QStringLiteral("Property"));
    if (m_property) {
        m_property->saveToProjectMainFile(writer);
    }
    writer->writeEndElement();

    writer->writeStartElement(QStringLiteral("Windows"));
    for (mvc::window::ProjectWindow* window : projectWindows(project())) {
        mvc::window::ProjectWindowItem* item = window->windowItem();
        if (!item) {
            continue;
        }
        writer->writeStartElement(QStringLiteral("Window"));
        item->saveToProjectMainFile(writer);
        writer->writeEndElement();
    }
    writer->writeEndElement();
}

void ProjectFile::doLoadFromProjectMainFile(const QDomElement& element)
{
    mvc::proj::ProjectFile::doLoadFromProjectMainFile(element);

    const QDomElement property = XmlSupport::getChildNode(element, QStringLiteral("Property"));
    if (!property.isNull() && m_property) {
        m_property->loadFromProjectMainFile(property);
    }

    const QDomElement windows = XmlSupport::getChildNode(element, QStringLiteral("Windows"));
    MainWindow* mainWindow = project() ? project()->mainWindow() : nullptr;
    if (windows.isNull() || !mainWindow) {
        return;
    }
    // Whatever the children's tag names, each one is a window to restore; a child that is
    // no element, or names no window kind, restores nothing.
    for (int i = 0; i < windows.childNodes().count(); ++i) {
        restoreProjectWindow(windows.childNodes().at(i).toElement(), mainWindow->mdiArea(),
                             this);
    }
}

} // namespace varnel
