#include "movarin/shell/ProjectModelWindowItem.h"

#include "brask/core/Model.h"
#include "brask/core/View.h"
#include "brask/xml/ViewSettingContainer.h"
#include "movarin/shell/ProjectFile.h"
#include "movarin/shell/ProjectModelWindow.h"

#include <guimisc/xml/WindowGeometryContainer.h>
#include <guimisc/xml/XmlSupport.h>

#include <QDomElement>
#include <QXmlStreamWriter>

namespace varnel {

using guimisc::xml::XmlSupport;

namespace {
const QString WINDOW_GEOMETRY = QStringLiteral("WindowGeometry");
const QString VIEW = QStringLiteral("View");
const QString DATA_MODEL = QStringLiteral("DataModel");
} // namespace

ProjectModelWindowItem::ProjectModelWindowItem(ProjectModelWindow* window,
                                               ProjectFile* projectFile)
    : mvc::window::ProjectWindowItem(window, projectFile)
{
}

ProjectModelWindowItem::~ProjectModelWindowItem() = default;

ProjectModelWindow* ProjectModelWindowItem::modelWindow() const
{
    return static_cast<ProjectModelWindow*>(window());
}

guimisc::xml::WindowGeometryContainer* ProjectModelWindowItem::geometryContainer()
{
    if (!m_geometryContainer) {
        // Flag false: the frame saved is the MDI sub-window's, the one the user moves.
        m_geometryContainer =
            std::make_unique<guimisc::xml::WindowGeometryContainer>(window(), false);
    }
    return m_geometryContainer.get();
}

mvc::xml::ViewSettingContainer* ProjectModelWindowItem::viewSettingContainer()
{
    if (!m_viewSettingContainer) {
        m_viewSettingContainer =
            std::make_unique<mvc::xml::ViewSettingContainer>(modelWindow()->view());
    }
    return m_viewSettingContainer.get();
}

std::vector<std::string> ProjectModelWindowItem::containedFiles() const
{
    const ProjectModelWindow* window = modelWindow();
    const mvc::core::Model* model = window ? window->model() : nullptr;
    return model ? model->containedFiles() : std::vector<std::string>();
}

void ProjectModelWindowItem::doSaveToProjectMainFile(QXmlStreamWriter* writer)
{
    ProjectModelWindow* window = modelWindow();
    if (!window) {
        return;
    }
    writer->writeAttribute(QStringLiteral("name"),
                           QString::fromStdString(window->windowIdPrefix()));

    writer->writeStartElement(WINDOW_GEOMETRY);
    geometryContainer()->save(writer);
    writer->writeEndElement();

    writer->writeStartElement(VIEW);
    viewSettingContainer()->save(writer);
    writer->writeEndElement();

    writer->writeStartElement(DATA_MODEL);
    if (mvc::core::Model* model = window->model()) {
        model->saveToProjectMainFile(writer);
    }
    writer->writeEndElement();
}

void ProjectModelWindowItem::doLoadFromProjectMainFile(const QDomElement& element)
{
    ProjectModelWindow* window = modelWindow();
    if (!window) {
        return;
    }
    const QDomElement geometry = XmlSupport::getChildNode(element, WINDOW_GEOMETRY);
    if (!geometry.isNull()) {
        geometryContainer()->load(geometry);
    }
    const QDomElement view = XmlSupport::getChildNode(element, VIEW);
    if (!view.isNull()) {
        viewSettingContainer()->load(view);
    }
    const QDomElement dataModel = XmlSupport::getChildNode(element, DATA_MODEL);
    if (!dataModel.isNull()) {
        if (mvc::core::Model* model = window->model()) {
            model->loadFromProjectMainFile(dataModel);
        }
    }
    window->view()->fit();
}

} // namespace varnel
