#include "movarin/survey/CoordinatePointsBaseItem.h"

#include "movarin/shell/NonFiniteSaveGuard.h"
#include "movarin/survey/CoordinatePointsBaseItemController.h"
#include "movarin/survey/CoordinatePointsBaseItemView.h"

#include "common/exception/InvalidFileFormatException.h"
#include "common/io/FileUtil.h"
#include "orlin/core/PointSet.h"
#include "orlin/io/BinPointContainerExporter.h"
#include "orlin/io/BinPointSetImporter.h"
#include "orlin/io/TpoPointSetImporter.h"

#include <QDomElement>
#include <QIcon>
#include <QXmlStreamWriter>

#include <cstring>
#include <fstream>

namespace varnel {

namespace {

/// Whether the file opens with the binary point file's title: such a file is read as
/// binary only, so that a damaged one fails the load instead of passing as a text file
/// without points.
bool hasBinaryTitle(const std::string& path)
{
    const char* title = tin::io::BinPointContainerExporter::TITLE;
    const std::size_t length = std::strlen(title);
    char head[common::io::FileUtil::TITLE_SIZE] = {};
    std::ifstream stream(path, std::ios::in | std::ios::binary);
    stream.read(head, sizeof head);
    if (stream.gcount() != static_cast<std::streamsize>(sizeof head)) {
        return false;
    }
    if (std::memcmp(head, title, length) != 0) {
        return false;
    }
    for (std::size_t i = length; i < sizeof head; ++i) {
        if (head[i] != '\0') {
            return false;
        }
    }
    return true;
}

} // namespace

CoordinatePointsBaseItem::CoordinatePointsBaseItem(const QString& caption,
                                                   tin::core::PointSet* pointSet,
                                                   mvc::core::ModelItem* parent, int options)
    : mvc::core::ModelItem(QIcon(QStringLiteral(":/images/iconPoints.png")), caption, parent,
                           options),
      m_pointSet(pointSet ? pointSet : new tin::core::PointSet())
{
    setFilename("coordinatePointsBase.tpobin");
}

CoordinatePointsBaseItem::~CoordinatePointsBaseItem() = default;

QString CoordinatePointsBaseItem::itemTypeName() const
{
    return tr("coordinate point data");
}

QRectF CoordinatePointsBaseItem::myBoundingBox() const
{
    const tin::core::Rect r = m_pointSet->boundingRect();
    if (!r.isValid()) {
        return QRectF(0.0, 0.0, 0.0, 0.0);
    }
    return QRectF(r.xMin(), r.yMin(), r.xMax() - r.xMin(), r.yMax() - r.yMin());
}

tin::core::PointSet* CoordinatePointsBaseItem::pointSet() const
{
    return m_pointSet.get();
}

CoordinatePointsBaseItemController* CoordinatePointsBaseItem::controller() const
{
    return dynamic_cast<CoordinatePointsBaseItemController*>(ModelItem::controller());
}

CoordinatePointsBaseItemView* CoordinatePointsBaseItem::view() const
{
    return static_cast<CoordinatePointsBaseItemView*>(ModelItem::view());
}

void CoordinatePointsBaseItem::prepareSpatialIndex() const
{
    const tin::core::Rect r = m_pointSet->boundingRect();
    if (r.isValid()) {
        // The first rectangle query builds the index; a query of one corner returns little.
        m_pointSet->findPointsInRect(tin::core::Rect(r.xMin(), r.yMin(), r.xMin(), r.yMin()));
    }
}

void CoordinatePointsBaseItem::loadExternalData(const std::string& path)
{
    replacePointSet(std::make_unique<tin::core::PointSet>(readPointFile(path, nullptr)));
}

tin::core::PointSet CoordinatePointsBaseItem::readPointFile(
    const std::string& path, std::vector<std::shared_ptr<tin::core::Point>>* records)
{
    if (hasBinaryTitle(path)) {
        return tin::io::BinPointSetImporter().importPointSet(path.c_str(), records);
    }
    try {
        return tin::io::BinPointSetImporter().importPointSet(path.c_str(), records);
    } catch (const common::exception::InvalidFileFormatException&) {
        if (records) {
            records->clear();
        }
        return tin::io::TpoPointSetImporter().importPointSet(path.c_str());
    }
}

void CoordinatePointsBaseItem::saveExternalData(const std::string& path)
{
    // Each point is numbered by its place in the file as it is listed; plain pointers, as the
    // set keeps the points alive meanwhile.
    std::vector<const tin::core::Point*> points;
    points.reserve(m_pointSet->size());
    m_pointSet->forEachPoint([&points](const std::shared_ptr<tin::core::Point>& p) {
        p->setId(static_cast<int>(points.size()));
        points.push_back(p.get());
    });
    NonFiniteSaveGuard::write(caption(), [&] {
        tin::io::BinPointContainerExporter().exportPoints(path.c_str(), points.begin(),
                                                          points.end(), -1);
    });
}

mvc::core::ModelItemView* CoordinatePointsBaseItem::buildView() const
{
    return new CoordinatePointsBaseItemView(this);
}

void CoordinatePointsBaseItem::saveViewSetting(QXmlStreamWriter* writer) const
{
    view()->viewSetting().save(writer);
}

void CoordinatePointsBaseItem::loadViewSetting(const QDomElement& element)
{
    const CoordinatePointsBaseItemViewSetting& current = view()->viewSetting();
    // The current values are the defaults that missing attributes keep.
    CoordinatePointsBaseItemViewSetting setting(current.color(), current.radius(),
                                                current.useColorByValue());
    setting.load(element);
    view()->setViewSetting(setting);
}

void CoordinatePointsBaseItem::replacePointSet(std::unique_ptr<tin::core::PointSet> pointSet)
{
    m_pointSet = pointSet ? std::move(pointSet) : std::make_unique<tin::core::PointSet>();
}

} // namespace varnel
