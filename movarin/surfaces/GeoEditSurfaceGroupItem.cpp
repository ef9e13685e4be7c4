#include "movarin/surfaces/GeoEditSurfaceGroupItem.h"

#include "movarin/shell/EditModeMainWindowModelRootItem.h"
#include "movarin/surfaces/GeoEditSurfaceByBrushItem.h"
#include "movarin/surfaces/GeoEditSurfaceGroupItemController.h"
#include "movarin/surfaces/GeoEditSurfaceItem.h"
#include "movarin/surfaces/MoldsContainer.h"
#include "movarin/surfaces/SurfaceStackCheck.h"
#include "movarin/survey/ReadOnlyTinItem.h"
#include "movarin/survey/TinItem.h"

#include <common/exception/InvalidFileFormatException.h>
#include <common/exception/RuntimeException.h>
#include <guimisc/xml/XmlSupport.h>

#include <QDomElement>
#include <QStandardItem>
#include <QXmlStreamWriter>

namespace varnel {

namespace {

const QString SURFACES = QStringLiteral("GeoEditSurfaces");
const QString MOLD_SURFACE = QStringLiteral("GeoEditSurface");
const QString BRUSH_SURFACE = QStringLiteral("GeoEditSurfaceByBrush");
const QString MOLDS_CONTAINER = QStringLiteral("MoldsContainer");

} // namespace

GeoEditSurfaceGroupItem::GeoEditSurfaceGroupItem(mvc::core::ModelItem* parent)
    : mvc::core::ModelItem(FolderIcon, tr("GeoEdit Surfaces"), parent, 0),
      m_moldsContainer(new MoldsContainer(this))
{
    setSubPath("geoEditSurfaceGroupItem");
}

GeoEditSurfaceGroupItem::~GeoEditSurfaceGroupItem() = default;

QString GeoEditSurfaceGroupItem::itemTypeName() const
{
    return tr("GeoEdit surface");
}

MoldsContainer* GeoEditSurfaceGroupItem::moldsContainer() const
{
    return m_moldsContainer;
}

GeoEditSurfaceGroupItemController* GeoEditSurfaceGroupItem::groupController() const
{
    return static_cast<GeoEditSurfaceGroupItemController*>(controller());
}

GeoEditSurfaceItem* GeoEditSurfaceGroupItem::createGeoEditSurfaceItem(
    const QString& name, const std::vector<tin::core::Point>& path, const MoldItem& moldItem)
{
    auto surface = new GeoEditSurfaceItem(name, path, false, moldItem, this);
    takeRowOf(surface);
    if (!surface->isValid() || !surface->tin() || !surface->extendedTin()) {
        delete surface;
        return nullptr;
    }
    return surface;
}

GeoEditSurfaceByBrushItem* GeoEditSurfaceGroupItem::createGeoEditSurfaceByBrushItem(
    const QString& name, const tin::core::Tin& addedTin, const tin::core::Tin& removedTin)
{
    auto surface = new GeoEditSurfaceByBrushItem(name, addedTin, removedTin, this);
    takeRowOf(surface);
    return surface;
}

void GeoEditSurfaceGroupItem::doLoadFromProjectMainFile(const QDomElement& element)
{
    const QDomElement surfaces = guimisc::xml::XmlSupport::getChildNode(element, SURFACES);
    int index = 0;
    for (QDomElement child = surfaces.firstChildElement(); !child.isNull();
         child = child.nextSiblingElement()) {
        GeoEditSurfaceItemI* surface = child.tagName() == MOLD_SURFACE
                                           ? static_cast<GeoEditSurfaceItemI*>(new GeoEditSurfaceItem(this))
                                           : new GeoEditSurfaceByBrushItem(this);
        takeRowOf(surface);
        attachChildAtBack(surface);
        surface->setFileIndex(++index);
        surface->loadFromProjectMainFile(child);
    }
    rebindAll();
    const QDomElement molds = guimisc::xml::XmlSupport::getChildNode(element, MOLDS_CONTAINER);
    if (!molds.isNull()) {
        m_moldsContainer->loadFromProjectMainFile(molds);
    }
}

void GeoEditSurfaceGroupItem::doSaveToProjectMainFile(QXmlStreamWriter* writer)
{
    writer->writeStartElement(SURFACES);
    int index = 0;
    for (mvc::core::ModelItem* child : childItems()) {
        auto surface = qobject_cast<GeoEditSurfaceItemI*>(child);
        if (!surface) {
            continue;
        }
        surface->setFileIndex(++index);
        writer->writeStartElement(qobject_cast<GeoEditSurfaceItem*>(surface) ? MOLD_SURFACE
                                                                             : BRUSH_SURFACE);
        surface->saveToProjectMainFile(writer);
        writer->writeEndElement();
    }
    writer->writeEndElement();
    writer->writeStartElement(MOLDS_CONTAINER);
    m_moldsContainer->saveToProjectMainFile(writer);
    writer->writeEndElement();
}

mvc::core::ModelItemController* GeoEditSurfaceGroupItem::buildController() const
{
    return new GeoEditSurfaceGroupItemController(this);
}

void GeoEditSurfaceGroupItem::takeRowOf(GeoEditSurfaceItemI* surface)
{
    if (QStandardItem* row = surface->browserItem(); row && row->parent() == browserItem()) {
        browserItem()->takeRow(row->row());
    }
}

void GeoEditSurfaceGroupItem::rebindAll()
{
    // A surface that cannot be rebound could not be saved soundly: the project does not open.
    std::vector<GeoEditSurfaceItemI*> surfaces;
    std::vector<SurfaceStackCheck::Surface> stack;
    for (mvc::core::ModelItem* child : childItems()) {
        auto surface = qobject_cast<GeoEditSurfaceItemI*>(child);
        if (!surface) {
            continue;
        }
        try {
            surface->buildAddedTin();
        } catch (const common::exception::RuntimeException& e) {
            throw common::exception::InvalidFileFormatException(e.what(), surface->filename());
        }
        surfaces.push_back(surface);
        stack.push_back({&surface->addedTin(), &surface->removedTin()});
    }
    // Nor does one that taking back would not give the base TIN.
    const auto root = qobject_cast<const EditModeMainWindowModelRootItem*>(parent());
    if (surfaces.empty() || !root) {
        return;
    }
    const tin::core::Tin none;
    const tin::core::Tin* edited = root->tinItem()->tin();
    const tin::core::Tin* base = root->baseTinItem()->tin();
    const int misfit =
        SurfaceStackCheck::firstMisfit(edited ? *edited : none, base ? *base : none, stack);
    if (misfit >= 0) {
        throw common::exception::InvalidFileFormatException(
            STACK_MISFIT, surfaces[static_cast<std::size_t>(misfit)]->filename());
    }
}

} // namespace varnel
