#include "movarin/survey/BreaklineItem.h"

#include "movarin/survey/BreaklineItemController.h"
#include "movarin/survey/BreaklineItemView.h"
#include "movarin/survey/CoordinatePointsForTinItem.h"

#include "orlin/core/Point.h"
#include "orlin/core/PointSet.h"

#include <common/exception/RuntimeException.h>
#include <common/io/IoUtil.h>

#include <Poco/StringTokenizer.h>

#include <QIcon>
#include <QStandardItem>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <limits>
#include <locale>

namespace varnel {

namespace {

const char IMPORT_ERROR[] = "Unexpected error in importing breakline.";

/// The whole token as a decimal integer; throws the import error otherwise.
int parseId(const std::string& token)
{
    const char* begin = token.c_str();
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(begin, &end, 10);
    if (end == begin || *end != '\0' || errno == ERANGE || value < INT_MIN || value > INT_MAX) {
        throw common::exception::RuntimeException(IMPORT_ERROR);
    }
    return static_cast<int>(value);
}

} // namespace

BreaklineItem::BreaklineItem(const QString& caption, const std::vector<PointPtr>& points,
                             mvc::core::ModelItem* parent)
    : mvc::core::ModelItem(QIcon(), caption, parent, Deletable | Reorderable),
      m_caption(QStringLiteral("caption"), caption),
      m_points(points)
{
}

BreaklineItem::~BreaklineItem() = default;

QString BreaklineItem::itemTypeName() const
{
    return tr("breakline");
}

QRectF BreaklineItem::myBoundingBox() const
{
    if (m_points.empty()) {
        return QRectF();
    }
    double minX = std::numeric_limits<double>::max();
    double minY = minX;
    double maxX = std::numeric_limits<double>::lowest();
    double maxY = maxX;
    for (const PointPtr& p : m_points) {
        minX = std::min(minX, p->x());
        minY = std::min(minY, p->y());
        maxX = std::max(maxX, p->x());
        maxY = std::max(maxY, p->y());
    }
    return QRectF(minX, minY, maxX - minX, maxY - minY);
}

const std::vector<BreaklineItem::PointPtr>& BreaklineItem::points() const
{
    return m_points;
}

void BreaklineItem::setFilenameByIndex(int index)
{
    setFilename(QStringLiteral("breakline%1.bln").arg(index).toStdString());
}

void BreaklineItem::doLoadFromProjectMainFile(const QDomElement& element)
{
    m_caption.load(element);
    if (QStandardItem* row = browserItem()) {
        row->setText(m_caption.value());
    }
}

void BreaklineItem::doSaveToProjectMainFile(QXmlStreamWriter* writer)
{
    m_caption.save(writer);
}

void BreaklineItem::loadExternalData(const std::string& absoluteFilename)
{
    const CoordinatePointsForTinItem* parent = pointsItem();
    std::ifstream stream = common::io::IoUtil::openInAscii(absoluteFilename);
    std::vector<PointPtr> points;
    std::string line;
    while (std::getline(stream, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        const Poco::StringTokenizer tokens(line, ",\t ",
                                           Poco::StringTokenizer::TOK_IGNORE_EMPTY
                                               | Poco::StringTokenizer::TOK_TRIM);
        if (tokens.count() == 0) {
            continue;
        }
        PointPtr point = parent ? parent->pointOfFileRecord(parseId(tokens[0])) : nullptr;
        if (!point) {
            throw common::exception::RuntimeException(IMPORT_ERROR);
        }
        points.push_back(std::move(point));
    }
    if (stream.bad()) {
        throw common::exception::RuntimeException(IMPORT_ERROR);
    }
    m_points = std::move(points);
}

void BreaklineItem::saveExternalData(const std::string& absoluteFilename)
{
    const CoordinatePointsForTinItem* parent = pointsItem();
    std::ofstream stream = common::io::IoUtil::openOutAscii(absoluteFilename);
    stream.imbue(std::locale::classic());
    for (const PointPtr& p : m_points) {
        if (parent && parent->pointSet()->hasPoint(p)) {
            stream << p->id() << '\n';
        }
    }
    stream.close();
    if (stream.fail()) {
        throw common::exception::RuntimeException("Could not write " + absoluteFilename);
    }
}

mvc::core::ModelItemView* BreaklineItem::buildView() const
{
    return new BreaklineItemView(this);
}

mvc::core::ModelItemController* BreaklineItem::buildController() const
{
    return new BreaklineItemController(this);
}

CoordinatePointsForTinItem* BreaklineItem::pointsItem() const
{
    return qobject_cast<CoordinatePointsForTinItem*>(parent());
}

} // namespace varnel
