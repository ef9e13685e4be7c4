#include "movarin/sections/GeoDataGroupItem.h"

#include "movarin/sections/EnumValueEditWidget.h"
#include "movarin/sections/GeoDataGroupItemController.h"
#include "movarin/sections/GeoDataPolygonItem.h"
#include "movarin/sections/GeoDataPolylineItem.h"
#include "movarin/sections/GeoDataTopItem.h"
#include "movarin/sections/RealValueEditWidget.h"

#include "orlin/io/BinPoint2DListFile.h"
#include "orlin/io/BinPoint2DListReads.h"

#include <guimisc/StringSupport.h>

#include <QDomElement>
#include <QStandardItem>
#include <QXmlStreamWriter>
#include <QtGlobal>

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace varnel {

namespace {

const QString POLYGON_ELEMENT = QStringLiteral("GeoDataPolygon");
const QString POLYLINE_ELEMENT = QStringLiteral("GeoDataPolyLine");

std::string geometryFileName(int number)
{
    return QStringLiteral("geodata%1.dat").arg(number).toStdString();
}

} // namespace

GeoDataGroupItem::GeoDataGroupItem(const QString& caption, const QString& name, ValueType type,
                                   mvc::core::ModelItem* parent)
    : mvc::core::ModelItem(FolderIcon, caption, parent, 0), m_name(name), m_valueType(type)
{
    setSubPath(guimisc::StringSupport::toStr(name));
    // The top item may change while the group is built for loading: look it up each time.
    connect(this, &GeoDataGroupItem::geoDataPolylineChanged, this, [this] {
        if (auto top = qobject_cast<GeoDataTopItem*>(QObject::parent())) {
            emit top->geoDataPolylineChanged();
        }
    });
}

GeoDataGroupItem::GeoDataGroupItem(const QString& caption, const QString& name,
                                   mvc::core::ModelItem* parent)
    : GeoDataGroupItem(caption, name, None, parent)
{
}

GeoDataGroupItem::GeoDataGroupItem(const QString& caption, const QString& name,
                                   const QString& unit, mvc::core::ModelItem* parent)
    : GeoDataGroupItem(caption, name, Real, parent)
{
    m_unit = unit;
}

GeoDataGroupItem::GeoDataGroupItem(const QString& caption, const QString& name,
                                   const EnumValues& enumValues, mvc::core::ModelItem* parent)
    : GeoDataGroupItem(caption, name, Enum, parent)
{
    m_enumValues = enumValues;
}

GeoDataGroupItem::~GeoDataGroupItem() = default;

const QString& GeoDataGroupItem::name() const
{
    return m_name;
}

GeoDataGroupItem::ValueType GeoDataGroupItem::valueType() const
{
    return m_valueType;
}

const QString& GeoDataGroupItem::unit() const
{
    return m_unit;
}

const GeoDataGroupItem::EnumValues& GeoDataGroupItem::enumValues() const
{
    return m_enumValues;
}

GeoDataGroupValueEditWidget* GeoDataGroupItem::buildValueEditWidget() const
{
    switch (m_valueType) {
    case Real:
        return new RealValueEditWidget(m_unit);
    case Enum:
        return new EnumValueEditWidget(m_enumValues);
    case None:
        break;
    }
    return nullptr;
}

void GeoDataGroupItem::countPolygonsAndPolylines(int* polygons, int* polylines) const
{
    *polygons = 0;
    *polylines = 0;
    for (const mvc::core::ModelItem* child : childItems()) {
        if (qobject_cast<const GeoDataPolygonItem*>(child)) {
            ++*polygons;
        } else if (qobject_cast<const GeoDataPolylineItem*>(child)) {
            ++*polylines;
        }
    }
}

GeoDataPolylineItem* GeoDataGroupItem::polylineByCaption(const QString& caption) const
{
    const QString key = caption.toLower();
    for (mvc::core::ModelItem* child : childItems()) {
        auto polyline = qobject_cast<GeoDataPolylineItem*>(child);
        if (polyline && polyline->caption().toLower() == key
            && polyline->polyline()->pointsCount() >= 2) {
            return polyline;
        }
    }
    return nullptr;
}

GeoDataPolygonItem* GeoDataGroupItem::createPolygonItem(const QString& caption)
{
    // Made without a parent, so that its row never joins the group's (making 100,000 of
    // them on an open would tell the views of each), then hung under the group.
    auto item = new GeoDataPolygonItem(caption, nullptr);
    item->setParent(this);
    return item;
}

GeoDataPolylineItem* GeoDataGroupItem::createPolylineItem(const QString& caption)
{
    auto item = new GeoDataPolylineItem(caption, nullptr);
    item->setParent(this);
    return item;
}

void GeoDataGroupItem::announcePolylineChange()
{
    try {
        emit geoDataPolylineChanged();
    } catch (const std::exception& e) {
        qWarning("A listener of a geographic-data change failed: %s", e.what());
    }
}

QString GeoDataGroupItem::itemTypeName() const
{
    return tr("Geographic data");
}

void GeoDataGroupItem::doLoadFromProjectMainFile(const QDomElement& element)
{
    // The geometry files are named by the shapes' places alone: they are read side by side
    // (a project may hold 100,000 of them) while each item is made and reads its
    // attributes, with no file to read yet; then each item takes its own in order. The
    // first file that cannot be read fails the load, with the items before it attached, as
    // reading them one by one would.
    const auto isShape = [](const QDomNode& node) {
        const QString tag = node.toElement().tagName();
        return tag == POLYLINE_ELEMENT || tag == POLYGON_ELEMENT;
    };
    std::vector<std::string> names;
    int number = 0;
    for (QDomNode node = element.firstChild(); !node.isNull(); node = node.nextSibling()) {
        ++number;
        if (isShape(node)) {
            names.push_back(geometryFileName(number));
        }
    }
    tin::io::BinPoint2DListReads reading(childFilenames(names));

    struct Loaded {
        std::unique_ptr<mvc::core::ModelItem> item;
        std::function<void(tin::io::BinPoint2DListFile::Read&&)> take; // the item's takeGeometry
    };
    std::vector<Loaded> loaded;
    loaded.reserve(names.size());
    for (QDomNode node = element.firstChild(); !node.isNull(); node = node.nextSibling()) {
        if (!isShape(node)) {
            continue;
        }
        Loaded entry;
        if (node.toElement().tagName() == POLYLINE_ELEMENT) {
            GeoDataPolylineItem* polyline = createPolylineItem(QString());
            entry.item.reset(polyline);
            entry.take = [polyline](auto&& read) { polyline->takeGeometry(std::move(read)); };
        } else {
            GeoDataPolygonItem* polygon = createPolygonItem(QString());
            entry.item.reset(polygon);
            entry.take = [polygon](auto&& read) { polygon->takeGeometry(std::move(read)); };
        }
        // A new item has no file name yet: this reads the attributes only.
        entry.item->loadFromProjectMainFile(node.toElement());
        entry.item->setFilename(names[loaded.size()]);
        loaded.push_back(std::move(entry));
    }
    std::vector<tin::io::BinPoint2DListFile::Read> reads = reading.take();
    // All join the browser in one attach.
    std::vector<mvc::core::ModelItem*> ready;
    std::exception_ptr failure;
    for (std::size_t i = 0; i < loaded.size(); ++i) {
        try {
            loaded[i].take(std::move(reads[i]));
        } catch (...) {
            failure = std::current_exception();
            break;
        }
        ready.push_back(loaded[i].item.release());
    }
    attachChildrenAt(ready, static_cast<int>(childItems().size()));
    if (failure) {
        std::rethrow_exception(failure);
    }
}

void GeoDataGroupItem::doSaveToProjectMainFile(QXmlStreamWriter* writer)
{
    writer->writeAttribute(QStringLiteral("name"), m_name);
    int number = 0;
    for (mvc::core::ModelItem* child : childItems()) {
        ++number;
        const bool isPolyline = qobject_cast<GeoDataPolylineItem*>(child) != nullptr;
        if (!isPolyline && !qobject_cast<GeoDataPolygonItem*>(child)) {
            continue;
        }
        writer->writeStartElement(isPolyline ? POLYLINE_ELEMENT : POLYGON_ELEMENT);
        child->setFilename(geometryFileName(number));
        child->saveToProjectMainFile(writer);
        writer->writeEndElement();
    }
}

mvc::core::ModelItemController* GeoDataGroupItem::buildController() const
{
    return new GeoDataGroupItemController(this);
}

} // namespace varnel
