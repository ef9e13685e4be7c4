#include "movarin/shell/CreateModeMainWindowItem.h"

#include "brask/xml/ViewSettingContainer.h"
#include "movarin/shell/CreateModeMainWindow.h"
#include "movarin/shell/CreateModeMainWindowModel.h"
#include "movarin/shell/CreateModeMainWindowView.h"
#include "movarin/shell/ProjectFile.h"

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

CreateModeMainWindowItem::CreateModeMainWindowItem(CreateModeMainWindow* window,
                                                   ProjectFile* projectFile)
    : mvc::window::ProjectWindowItem(window, projectFile)
{
}

CreateModeMainWindowItem::~CreateModeMainWindowItem() = default;

CreateModeMainWindow* CreateModeMainWindowItem::createModeWindow() const
{
    return static_cast<CreateModeMainWindow*>(window());
}

guimisc::xml::WindowGeometryContainer* CreateModeMainWindowItem::geometryContainer()
{
    if (!m_geometryContainer) {
        // Flag false: the frame saved is the MDI sub-window's, the one the user moves.
        m_geometryContainer =
            std::make_unique<guimisc::xml::WindowGeometryContainer>(window(), false);
    }
    return m_geometryContainer.get();
}

mvc::xml::ViewSettingContainer* CreateModeMainWindowItem::viewSettingContainer()
{
    if (!m_viewSettingContainer) {
        m_viewSettingContainer =
            std::make_unique<mvc::xml::ViewSettingContainer>(createModeWindow()->view());
    }
    return m_viewSettingContainer.get();
}

std::vector<std::string> CreateModeMainWindowItem::containedFiles() const
{
    const CreateModeMainWindow* window = createModeWindow();
    const CreateModeMainWindowModel* model = window ? window->model() : nullptr;
    return model ? model->containedFiles() : std::vector<std::string>();
}

void CreateModeMainWindowItem::doSaveToProjectMainFile(QXmlStreamWriter* writer)
{
    CreateModeMainWindow* window = createModeWindow();
    if (!window) {
        return;
    }
    writer->writeAttribute(QStringLiteral("name"), QString::fromStdString(window->windowIdPrefix()));

    writer->writeStartElement(WINDOW_GEOMETRY);
    geometryContainer()->save(writer);
    writer->writeEndElement();

    writer->writeStartElement(VIEW);
    viewSettingContainer()->save(writer);
    writer->writeEndElement();

    writer->writeStartElement(DATA_MODEL);
    if (CreateModeMainWindowModel* model = window->model()) {
        model->saveToProjectMainFile(writer);
    }
    writer->writeEndElement();
}

void CreateModeMainWindowItem::doLoadFromProjectMainFile(const QDomElement& element)
{
    CreateModeMainWindow* window = createModeWindow();
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
        if (CreateModeMainWindowModel* model = window->model()) {
            model->loadFromProjectMainFile(dataModel);
        }
    }
    window->view()->fit();
}

} // namespace varnel
