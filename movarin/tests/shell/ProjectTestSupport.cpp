#include "ProjectTestSupport.h"

#include "brask/window/ProjectMdiArea.h"
#include "movarin/shell/CreateModeProject.h"
#include "movarin/shell/EditModeMainWindow.h"
#include "movarin/shell/EditModeProject.h"
#include "movarin/shell/ProjectFile.h"
#include "movarin/shell/ProjectWindowFactory.h"
#include "movarin/shell/ProjectWorkspace.h"
#include "orlin/core/PointFactory.h"
#include "pelkas/GdalImageSetting.h"

#include <QFile>
#include <QMdiSubWindow>
#include <QProcess>
#include <QXmlStreamReader>

#include <stdexcept>

namespace varnel::test {

ProjectSession::ProjectSession() : m_mainWindow(std::make_unique<MainWindow>())
{
    // As the program does: sub-windows shown later are then really shown.
    m_mainWindow->resize(1000, 800);
    m_mainWindow->show();
}

ProjectSession::~ProjectSession()
{
    closeProject();
}

void ProjectSession::closeProject()
{
    m_mainWindow->undoStack()->clear();
    m_mainWindow->mdiArea()->closeAllSubWindows();
    m_project.reset();
}

template <class Kind>
Project& ProjectSession::newProject()
{
    closeProject();
    const QString folder = mvc::proj::Project::newWorkfolderName(
        m_mainWindow->workspace()->workspace().absolutePath());
    m_project = std::make_unique<Kind>(folder, m_mainWindow.get());
    return *m_project;
}

Project& ProjectSession::newCreateProject()
{
    return newProject<CreateModeProject>();
}

Project& ProjectSession::newEditProject()
{
    return newProject<EditModeProject>();
}

template <class Window>
Window* ProjectSession::makeWindow(const char* prefix)
{
    QMdiSubWindow* sub = createProjectWindow(QLatin1String(prefix), m_mainWindow->mdiArea(),
                                             m_project->projectFile());
    return sub ? qobject_cast<Window*>(sub->widget()) : nullptr;
}

CreateModeMainWindow* ProjectSession::createWindow()
{
    return makeWindow<CreateModeMainWindow>("createMainWindow");
}

EditModeMainWindow* ProjectSession::createEditWindow()
{
    return makeWindow<EditModeMainWindow>("editMainWindow");
}

QString ProjectSession::projectXmlPath() const
{
    return m_project->projectFile()->absoluteFilename();
}

void ProjectSession::writeProjectXml(const QString& body) const
{
    QFile file(projectXmlPath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        throw std::runtime_error("Cannot write " + projectXmlPath().toStdString());
    }
    file.write(QStringLiteral("<?xml version=\"1.0\"?>\n<Project version=\"1.0\">%1</Project>\n")
                   .arg(body)
                   .toUtf8());
}

std::vector<CreateModeMainWindow*> ProjectSession::createModeWindows() const
{
    std::vector<CreateModeMainWindow*> windows;
    for (mvc::window::ProjectWindow* window : m_mainWindow->mdiArea()->allSubWindows()) {
        windows.push_back(qobject_cast<CreateModeMainWindow*>(window));
    }
    return windows;
}

QMdiSubWindow* ProjectSession::subWindowOf(const QWidget* window)
{
    return window ? qobject_cast<QMdiSubWindow*>(window->parentWidget()) : nullptr;
}

QStringList XmlElement::childNames() const
{
    QStringList names;
    for (const XmlElement& c : children) {
        names << c.name;
    }
    return names;
}

const XmlElement& XmlElement::child(const QString& childName) const
{
    for (const XmlElement& c : children) {
        if (c.name == childName) {
            return c;
        }
    }
    throw std::out_of_range("No element " + childName.toStdString() + " in "
                            + name.toStdString());
}

gdalimg::GdalImageSetting imagePlacement(double x, double y, double scale, double angle)
{
    gdalimg::GdalImageSetting setting;
    setting.setTopLeft(QPointF(x, y));
    setting.setScale(scale);
    setting.setAngle(angle);
    return setting;
}

tin::core::Tin squareGridTin(int n, double x0, double z11, bool spoilt)
{
    std::vector<std::shared_ptr<tin::core::Point>> nodes;
    for (int j = 0; j <= n; ++j) {
        for (int i = 0; i <= n; ++i) {
            const double x = x0 + 10.0 * i;
            const double y = 10.0 * j;
            const double z = spoilt && i == 1 && j == 1 ? z11 : x + y;
            nodes.push_back(
                tin::core::PointFactory::instance().factory(tin::core::Point(x, y, z)));
        }
    }
    auto at = [&](int i, int j) { return nodes[static_cast<std::size_t>(j * (n + 1) + i)]; };
    tin::core::Tin tin;
    for (int j = 0; j < n; ++j) {
        for (int i = 0; i < n; ++i) {
            tin.addTriangle(at(i, j), at(i + 1, j), at(i + 1, j + 1));
            tin.addTriangle(at(i, j), at(i + 1, j + 1), at(i, j + 1));
        }
    }
    return tin;
}

QStringList defaultMoldFiles()
{
    QStringList files;
    for (const char* group : {"Sub", "Add"}) {
        for (int i = 1; i <= 5; ++i) {
            files << QStringLiteral("geoEditSurfaceGroupItem/moldsContainer/%1/mold%2.mld")
                         .arg(QLatin1String(group))
                         .arg(i);
        }
    }
    return files;
}

QStringList archiveMembers(const QString& archive)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-Z1"), archive});
    unzip.waitForFinished(-1);
    return QString::fromLocal8Bit(unzip.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFileBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

namespace {

XmlElement readElement(QXmlStreamReader& reader)
{
    XmlElement element;
    element.name = reader.name().toString();
    for (const QXmlStreamAttribute& attribute : reader.attributes()) {
        element.attributes.insert(attribute.name().toString(), attribute.value().toString());
    }
    while (reader.readNextStartElement()) {
        element.children.push_back(readElement(reader));
    }
    return element;
}

} // namespace

XmlElement readXmlFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw std::runtime_error("Cannot read " + path.toStdString());
    }
    QXmlStreamReader reader(&file);
    if (!reader.readNextStartElement()) {
        throw std::runtime_error("No root element in " + path.toStdString());
    }
    XmlElement root = readElement(reader);
    while (!reader.atEnd()) {
        reader.readNext();
    }
    if (reader.hasError()) {
        throw std::runtime_error(path.toStdString() + ":" + std::to_string(reader.lineNumber())
                                 + ":" + std::to_string(reader.columnNumber()) + ": "
                                 + reader.errorString().toStdString());
    }
    return root;
}

std::string firstDifference(const XmlElement& a, const XmlElement& b)
{
    const std::string here = "/" + a.name.toStdString();
    if (a.name != b.name) {
        return here + " is " + b.name.toStdString() + " in the second";
    }
    if (a.attributes != b.attributes) {
        std::string text = here + " attributes differ:";
        for (const XmlElement* e : {&a, &b}) {
            text += " {";
            for (auto it = e->attributes.begin(); it != e->attributes.end(); ++it) {
                text += " " + it.key().toStdString() + "=" + it.value().toStdString();
            }
            text += " }";
        }
        return text;
    }
    if (a.children.size() != b.children.size()) {
        return here + " has " + std::to_string(a.children.size()) + " and "
            + std::to_string(b.children.size()) + " children";
    }
    for (std::size_t i = 0; i < a.children.size(); ++i) {
        const std::string difference = firstDifference(a.children[i], b.children[i]);
        if (!difference.empty()) {
            return here + difference;
        }
    }
    return {};
}

} // namespace varnel::test
