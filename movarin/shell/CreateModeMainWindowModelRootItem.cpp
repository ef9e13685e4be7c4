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
#include <QStandardItemModel>
#include <QXmlStreamWriter>

namespace varnel {

using guimisc::xml::XmlSupport;

namespace {

const QString COORDINATE_POINTS = QStringLiteral("CoordinatePoints");
const QString COORDINATE_POINTS_FOR_TIN = QStringLiteral("CoordinatePointsForTin");
const QString TIN = QStringLiteral("Tin");
const QString BACKGROUND_IMAGE_GROUP = QStringLiteral("BackgroundImageGroup");
const QString BACKGROUND_IMAGES = QStringLiteral("BackgroundImages");

/// Enters a child made with the root as parent into the root's list of children.
template <class Item>
Item* attach(mvc::core::ModelItem* root, Item* child)
{
    root->attachChildAtBack(child);
    return child;
}

void loadChild(mvc::core::ModelItem* child, const QDomElement& element)
{
    if (!element.isNull()) {
        child->loadFromProjectMainFile(element);
    }
}

void saveChild(mvc::core::ModelItem* child, const QString& tag, QXmlStreamWriter* writer)
{
    writer->writeStartElement(tag);
    child->saveToProjectMainFile(writer);
    writer->writeEndElement();
}

} // namespace

CreateModeMainWindowModelRootItem::CreateModeMainWindowModelRootItem(
    CreateModeMainWindowModel* model)
    : mvc::core::ModelRootItem(model)
{
    // Child order: entries 0, 1, 2, 4, 3.
    m_coordinatePointsGroupItem = attach(this, new CoordinatePointsGroupItem(this));
    m_coordinatePointsForTinItem = attach(this, new CoordinatePointsForTinItem(this));
    m_tinItem = attach(this, new ReadOnlyTinItem(this));
    m_backgroundImageGroupItem = attach(this, new BackgroundImageGroupItem(this));
    m_geoDataTopItem = attach(this, new GeoDataTopForCreateItem(this));

    // Browser rows: entries 0, 1, 2, 3, 4.
    QStandardItemModel* rows = qStandardItemModel();
    rows->appendRow(m_coordinatePointsGroupItem->browserItem());
    rows->appendRow(m_coordinatePointsForTinItem->browserItem());
    rows->appendRow(m_tinItem->browserItem());
    rows->appendRow(m_geoDataTopItem->browserItem());
    rows->appendRow(m_backgroundImageGroupItem->browserItem());
    updateItemMap();
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
    QDomElement images = XmlSupport::getChildNode(element, BACKGROUND_IMAGE_GROUP);
    if (images.isNull()) {
        images = XmlSupport::getChildNode(element, BACKGROUND_IMAGES);
    }
    loadChild(m_backgroundImageGroupItem, images);
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
