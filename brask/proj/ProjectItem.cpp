#include "brask/proj/ProjectItem.h"

#include "brask/proj/Project.h"

#include <guimisc/FileSupport.h>
#include <guimisc/StringSupport.h>

#include <QDir>
#include <QString>

namespace mvc::proj {

struct ProjectItem::Impl {
    std::string filename;
    std::string subPath;
};

ProjectItem::ProjectItem(const std::string& filename, ProjectItem* parent)
    : QObject(parent), m_impl(std::make_unique<Impl>())
{
    m_impl->filename = filename;
}

ProjectItem::ProjectItem(ProjectItem* parent) : ProjectItem(std::string(), parent) {}

ProjectItem::~ProjectItem() = default;

void ProjectItem::loadFromProjectMainFile(const QDomElement& element)
{
    doLoadFromProjectMainFile(element);
    loadExternalDataIfNecessary();
}

void ProjectItem::saveToProjectMainFile(QXmlStreamWriter* writer)
{
    createSubFolderIfNecessary();
    doSaveToProjectMainFile(writer);
    saveExternalDataIfNecessary();
}

std::vector<std::string> ProjectItem::containedFiles() const
{
    if (m_impl->filename.empty() || !keepsExternalData()) {
        return {};
    }
    return {relativeFilename()};
}

Project* ProjectItem::project() const
{
    const ProjectItem* p = parent();
    return p ? p->project() : nullptr;
}

bool ProjectItem::isModified() const
{
    const ProjectItem* p = parent();
    return p ? p->isModified() : false;
}

void ProjectItem::setModified(bool modified)
{
    if (ProjectItem* p = parent()) {
        p->setModified(modified);
    }
}

std::string ProjectItem::relativeSubPath() const
{
    const ProjectItem* p = parent();
    const std::string parentPath = p ? p->relativeSubPath() : std::string();
    if (m_impl->subPath.empty()) {
        return parentPath;
    }
    if (parentPath.empty()) {
        return m_impl->subPath;
    }
    return parentPath + "/" + m_impl->subPath;
}

ProjectItem* ProjectItem::parent() const
{
    return qobject_cast<ProjectItem*>(QObject::parent());
}

ProjectMainWindowI* ProjectItem::projectMainWindow() const
{
    Project* p = project();
    return p ? p->projectMainWindow() : nullptr;
}

const std::string& ProjectItem::filename() const
{
    return m_impl->filename;
}

void ProjectItem::setFilename(const std::string& filename)
{
    m_impl->filename = filename;
}

void ProjectItem::setSubPath(const std::string& subPath)
{
    m_impl->subPath = subPath;
}

namespace {

// `name` below `folder`, joined as QDir(folder).filePath(name) joins them (an absolute
// `name` stands as it is), on the bytes: a save or an open of 100,000 items asks for as
// many file names.
std::string joined(std::string folder, const std::string& name)
{
    if (!name.empty() && name.front() == '/') {
        return name;
    }
    if (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    if (name.empty()) {
        return folder;
    }
    if (folder.empty() || folder.back() == '/') {
        return folder + name;
    }
    return folder + '/' + name;
}

// The file `name` of a node whose folder relative to the work folder is `folder`.
std::string fileIn(const std::string& folder, const std::string& name)
{
    if (folder.empty()) {
        // QDir("") is the current folder and would prefix "./".
        return name;
    }
    return joined(folder, name);
}

// The absolute path of `relative` in the work folder `work`.
std::string absoluteIn(const QString& work, const std::string& relative)
{
    if (!work.startsWith(QLatin1Char('/'))) {
        return guimisc::StringSupport::toStr(
            QDir(work).absoluteFilePath(QString::fromLocal8Bit(relative.c_str())));
    }
    return joined(guimisc::StringSupport::toStr(work), relative);
}

} // namespace

std::string ProjectItem::relativeFilename() const
{
    return fileIn(relativeSubPath(), m_impl->filename);
}

std::string ProjectItem::absoluteFilename() const
{
    const Project* p = project();
    if (m_impl->filename.empty() || !p) {
        return {};
    }
    return absoluteIn(p->workFolder(), relativeFilename());
}

std::vector<std::string> ProjectItem::childFilenames(const std::vector<std::string>& filenames) const
{
    std::vector<std::string> paths(filenames.size());
    const Project* p = project();
    if (!p) {
        return paths;
    }
    const std::string folder = relativeSubPath();
    const QString work = p->workFolder();
    for (std::size_t i = 0; i < filenames.size(); ++i) {
        if (!filenames[i].empty()) {
            paths[i] = absoluteIn(work, fileIn(folder, filenames[i]));
        }
    }
    return paths;
}

void ProjectItem::doLoadFromProjectMainFile(const QDomElement&) {}

void ProjectItem::doSaveToProjectMainFile(QXmlStreamWriter*) {}

void ProjectItem::loadExternalData(const std::string&) {}

void ProjectItem::saveExternalData(const std::string&) {}

bool ProjectItem::keepsExternalData() const
{
    return true;
}

std::string ProjectItem::subPath() const
{
    const Project* p = project();
    if (!p) {
        return {};
    }
    return guimisc::StringSupport::toStr(QDir(p->workFolder())
                                             .absoluteFilePath(QString::fromLocal8Bit(
                                                 relativeSubPath().c_str())));
}

void ProjectItem::createSubFolderIfNecessary()
{
    const Project* p = project();
    if (m_impl->subPath.empty() || !p) {
        return;
    }
    const ProjectItem* up = parent();
    const QString parentPath =
        QString::fromLocal8Bit((up ? up->relativeSubPath() : std::string()).c_str());
    QDir folder(QDir(p->workFolder()).absoluteFilePath(parentPath));
    guimisc::FileSupport::clearWritePath(p->workFolder(),
                                         QString::fromLocal8Bit(relativeSubPath().c_str()));
    // An existing folder is kept; a failure shows when the item writes its file.
    folder.mkdir(QString::fromLocal8Bit(m_impl->subPath.c_str()));
}

void ProjectItem::loadExternalDataIfNecessary()
{
    if (!m_impl->filename.empty() && keepsExternalData()) {
        loadExternalData(absoluteFilename());
    }
}

void ProjectItem::saveExternalDataIfNecessary()
{
    if (m_impl->filename.empty() || !keepsExternalData()) {
        return;
    }
    // Whatever was put in the work folder since the open, the writers below follow no link.
    if (const Project* p = project()) {
        guimisc::FileSupport::clearWritePath(p->workFolder(),
                                             QString::fromLocal8Bit(relativeFilename().c_str()),
                                             p->checkedFolders());
    }
    saveExternalData(absoluteFilename());
}

} // namespace mvc::proj
