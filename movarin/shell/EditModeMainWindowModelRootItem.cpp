#include "movarin/shell/EditModeMainWindowModelRootItem.h"

#include "movarin/sections/CrossSectionGroupItem.h"
#include "movarin/sections/GeoDataTopForEditItem.h"
#include "movarin/sections/LandXmlExportItem.h"
#include "movarin/sections/ZindralExportItem.h"
#include "movarin/shell/EditModeMainWindowModel.h"
#include "movarin/shell/EditModeMainWindowModelRootItemView.h"
#include "movarin/surfaces/GeoEditSurfaceGroupItem.h"
#include "movarin/survey/BackgroundImageGroupItem.h"
#include "movarin/survey/ReadOnlyTinItem.h"
#include "movarin/survey/TinItem.h"

#include <common/exception/FileOpenException.h>
#include <guimisc/xml/XmlSupport.h>

#include <QDomElement>
#include <QFileInfo>
#include <QXmlStreamWriter>

namespace varnel {

using guimisc::xml::XmlSupport;

namespace {

const QString BASE_TIN = QStringLiteral("BaseTin");
const QString TIN = QStringLiteral("Tin");
const QString BACKGROUND_IMAGE_GROUP = QStringLiteral("BackgroundImageGroup");
const QString GEO_EDIT_SURFACE_GROUP = QStringLiteral("GeoEditSurfaceGroup");
const QString CROSS_SECTION_TOP = QStringLiteral("CrossSectionTop");
const QString CROSS_SECTION_GROUP = QStringLiteral("CrossSectionGroup");
const QString GEO_DATA_TOP = QStringLiteral("GeoDataTop");
const QString ZINDRAL_EXPORT_SETTING = QStringLiteral("ZindralExportSetting");

bool fileExists(const std::string& path)
{
    return !path.empty() && QFileInfo::exists(QString::fromLocal8Bit(path.c_str()));
}

// Whether the surface group's element lists a surface (every child element of its
// "GeoEditSurfaces" makes one).
bool listsSurfaces(const QDomElement& group)
{
    return !XmlSupport::getChildNode(group, QStringLiteral("GeoEditSurfaces"))
                .firstChildElement()
                .isNull();
}

} // namespace

EditModeMainWindowModelRootItem::EditModeMainWindowModelRootItem(EditModeMainWindowModel* model)
    : ProjectModelRootItem(model)
{
    // Child order: entries 0, 2, 5, 1, 4, 3, 6, 7.
    m_baseTinItem = attachFixedChild(new ReadOnlyTinItem(this));
    m_tinItem = attachFixedChild(new TinItem(this));
    m_backgroundImageGroupItem = attachFixedChild(new BackgroundImageGroupItem(this));
    m_geoEditSurfaceGroupItem = attachFixedChild(new GeoEditSurfaceGroupItem(this));
    m_geoDataTopItem = attachFixedChild(new GeoDataTopForEditItem(this));
    m_crossSectionGroupItem = attachFixedChild(new CrossSectionGroupItem(this));
    m_zindralExportItem = attachFixedChild(new ZindralExportItem(this));
    m_landXmlExportItem = attachFixedChild(new LandXmlExportItem(this));

    // Browser rows: entries 0 to 5; the export items have none.
    appendBrowserRows({m_baseTinItem, m_geoEditSurfaceGroupItem, m_tinItem,
                       m_crossSectionGroupItem, m_geoDataTopItem, m_backgroundImageGroupItem});

    m_baseTinItem->setCaption(tr("base TIN"));
    m_baseTinItem->updateCaption();
}

EditModeMainWindowModelRootItem::~EditModeMainWindowModelRootItem() = default;

ReadOnlyTinItem* EditModeMainWindowModelRootItem::baseTinItem() const
{
    return m_baseTinItem;
}

GeoEditSurfaceGroupItem* EditModeMainWindowModelRootItem::geoEditSurfaceGroupItem() const
{
    return m_geoEditSurfaceGroupItem;
}

TinItem* EditModeMainWindowModelRootItem::tinItem() const
{
    return m_tinItem;
}

CrossSectionGroupItem* EditModeMainWindowModelRootItem::crossSectionGroupItem() const
{
    return m_crossSectionGroupItem;
}

GeoDataTopForEditItem* EditModeMainWindowModelRootItem::geoDataTopItem() const
{
    return m_geoDataTopItem;
}

BackgroundImageGroupItem* EditModeMainWindowModelRootItem::backgroundImageGroupItem() const
{
    return m_backgroundImageGroupItem;
}

ZindralExportItem* EditModeMainWindowModelRootItem::zindralExportItem() const
{
    return m_zindralExportItem;
}

LandXmlExportItem* EditModeMainWindowModelRootItem::landXmlExportItem() const
{
    return m_landXmlExportItem;
}

std::vector<mvc::core::ModelItem*> EditModeMainWindowModelRootItem::paintingOrder() const
{
    return {m_backgroundImageGroupItem, m_baseTinItem, m_tinItem, m_geoEditSurfaceGroupItem,
            m_crossSectionGroupItem, m_geoDataTopItem};
}

void EditModeMainWindowModelRootItem::doLoadFromProjectMainFile(const QDomElement& element)
{
    const QDomElement surfaces = XmlSupport::getChildNode(element, GEO_EDIT_SURFACE_GROUP);
    // A project saved without any TIN opens without one. An edited TIN or surfaces without
    // their base TIN are what is left of a damaged archive: taking the surfaces back would
    // have nothing to give.
    if (!fileExists(m_baseTinItem->absoluteFilename())
        && (fileExists(m_tinItem->absoluteFilename()) || listsSurfaces(surfaces))) {
        throw common::exception::FileOpenException(m_baseTinItem->absoluteFilename());
    }
    loadChild(m_baseTinItem, XmlSupport::getChildNode(element, BASE_TIN));
    loadChild(m_tinItem, XmlSupport::getChildNode(element, TIN));
    loadChild(m_backgroundImageGroupItem, backgroundImagesElement(element));
    loadChild(m_geoEditSurfaceGroupItem, surfaces);
    const QDomElement crossSectionTop = XmlSupport::getChildNode(element, CROSS_SECTION_TOP);
    if (!crossSectionTop.isNull()) {
        loadChild(m_crossSectionGroupItem,
                  XmlSupport::getChildNode(crossSectionTop, CROSS_SECTION_GROUP));
    }
    loadChild(m_geoDataTopItem, XmlSupport::getChildNode(element, GEO_DATA_TOP));
    loadChild(m_zindralExportItem, XmlSupport::getChildNode(element, ZINDRAL_EXPORT_SETTING));
}

void EditModeMainWindowModelRootItem::doSaveToProjectMainFile(QXmlStreamWriter* writer)
{
    saveChild(m_baseTinItem, BASE_TIN, writer);
    saveChild(m_tinItem, TIN, writer);
    saveChild(m_backgroundImageGroupItem, BACKGROUND_IMAGE_GROUP, writer);
    saveChild(m_geoEditSurfaceGroupItem, GEO_EDIT_SURFACE_GROUP, writer);

    writer->writeStartElement(CROSS_SECTION_TOP);
    writer->writeStartElement(CROSS_SECTION_GROUP);
    writer->writeAttribute(QStringLiteral("name"), QStringLiteral("cross sections 1"));
    m_crossSectionGroupItem->saveToProjectMainFile(writer);
    writer->writeEndElement();
    writer->writeEndElement();

    saveChild(m_geoDataTopItem, GEO_DATA_TOP, writer);
    saveChild(m_zindralExportItem, ZINDRAL_EXPORT_SETTING, writer);
}

mvc::core::ModelItemView* EditModeMainWindowModelRootItem::buildView() const
{
    return new EditModeMainWindowModelRootItemView(this);
}

} // namespace varnel
