#include "movarin/shell/CreateModeMainWindowModelRootItem.h"

#include "movarin/sections/GeoDataTopForCreateItem.h"
#include "movarin/shell/CreateModeMainWindowModel.h"
#include "movarin/shell/CreateModeMainWindowModelRootItemView.h"
#include "movarin/survey/BackgroundImageGroupItem.h"
#include "movarin/survey/CoordinatePointsForTinItem.h"
#include "movarin/survey/CoordinatePointsGroupItem.h"
#include "movarin/survey/ReadOnlyTinItem.h"

#include <guimisc/xml/XmlSupport.h>

#include <QDomElement>
#include <QXmlStreamWriter>

namespace varnel {

using guimisc::xml::XmlSupport;

namespace {

const QString COORDINATE_POINTS = QStringLiteral("CoordinatePoints");
const QString COORDINATE_POINTS_FOR_TIN = QStringLiteral("CoordinatePointsForTin");
const QString TIN = QStringLiteral("Tin");
const QString BACKGROUND_IMAGE_GROUP = QStringLiteral("BackgroundImageGroup");

} // namespace

CreateModeMainWindowModelRootItem::CreateModeMainWindowModelRootItem(
    CreateModeMainWindowModel* model)
    : ProjectModelRootItem(model)
{
    // Child order: entries 0, 1, 2, 4, 3.
    m_coordinatePointsGroupItem = attachFixedChild(new CoordinatePointsGroupItem(this));
    m_coordinatePointsForTinItem = attachFixedChild(new CoordinatePointsForTinItem(this));
    m_tinItem = attachFixedChild(new ReadOnlyTinItem(this));
    m_backgroundImageGroupItem = attachFixedChild(new BackgroundImageGroupItem(this));
    m_geoDataTopItem = attachFixedChild(new GeoDataTopForCreateItem(this));

    // Browser rows: entries 0, 1, 2, 3, 4.
    appendBrowserRows({m_coordinatePointsGroupItem, m_coordinatePointsForTinItem, m_tinItem,
                       m_geoDataTopItem, m_backgroundImageGroupItem});
}

CreateModeMainWindowModelRootItem::~CreateModeMainWindowModelRootItem() = default;

CoordinatePointsGroupItem* CreateModeMainWindowModelRootItem::coordinatePointsGroupItem() const
{
    return m_coordinatePointsGroupItem;
}

CoordinatePointsForTinItem* CreateModeMainWindowModelRootItem::coordinatePointsForTinItem() const
{
    return m_coordinatePointsForTinItem;
}

ReadOnlyTinItem* CreateModeMainWindowModelRootItem::tinItem() const
{
    return m_tinItem;
}

GeoDataTopForCreateItem* CreateModeMainWindowModelRootItem::geoDataTopItem() const
{
    return m_geoDataTopItem;
}

BackgroundImageGroupItem* CreateModeMainWindowModelRootItem::backgroundImageGroupItem() const
{
    return m_backgroundImageGroupItem;
}

std::vector<mvc::core::ModelItem*> CreateModeMainWindowModelRootItem::paintingOrder() const
{
    return {m_backgroundImageGroupItem, m_tinItem, m_coordinatePointsGroupItem,
            m_coordinatePointsForTinItem, m_geoDataTopItem};
}

void CreateModeMainWindowModelRootItem::doLoadFromProjectMainFile(const QDomElement& element)
{
    loadChild(m_coordinatePointsGroupItem, XmlSupport::getChildNode(element, COORDINATE_POINTS));
    loadChild(m_coordinatePointsForTinItem,
              XmlSupport::getChildNode(element, COORDINATE_POINTS_FOR_TIN));
    loadChild(m_tinItem, XmlSupport::getChildNode(element, TIN));
    loadChild(m_backgroundImageGroupItem, backgroundImagesElement(element));
}

void CreateModeMainWindowModelRootItem::doSaveToProjectMainFile(QXmlStreamWriter* writer)
{
    saveChild(m_coordinatePointsGroupItem, COORDINATE_POINTS, writer);
    saveChild(m_coordinatePointsForTinItem, COORDINATE_POINTS_FOR_TIN, writer);
    saveChild(m_tinItem, TIN, writer);
    saveChild(m_backgroundImageGroupItem, BACKGROUND_IMAGE_GROUP, writer);
}

mvc::core::ModelItemView* CreateModeMainWindowModelRootItem::buildView() const
{
    return new CreateModeMainWindowModelRootItemView(this);
}

} // namespace varnel
