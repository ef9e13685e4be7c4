#include "movarin/surfaces/GeoEditSurfaceItem.h"

#include "movarin/shell/NonFiniteSaveGuard.h"
#include "movarin/surfaces/GeoEditSurfaceArchive.h"
#include "movarin/surfaces/GeoEditSurfaceItemController.h"
#include "movarin/surfaces/GeoEditSurfaceItemView.h"
#include "movarin/surfaces/MoldItem.h"

#include "orlin/util/TinModifier.h"

#include <common/exception/RuntimeException.h>

#include <QStandardItem>

#include <algorithm>
#include <cmath>
#include <exception>
#include <unordered_set>

namespace varnel {

namespace {

bool samePlace(const tin::core::Point& a, const tin::core::Point& b)
{
    return a.x() == b.x() && a.y() == b.y();
}

bool hasTwoPlaces(const std::vector<tin::core::Point>& path)
{
    return std::any_of(path.begin(), path.end(),
                       [&](const tin::core::Point& p) { return !samePlace(p, path.front()); });
}

// The point `d` beyond `end` in plan, away from `from` (a point at another place), at
// elevation `elevation`.
tin::core::Point prolonged(const tin::core::Point& end, const tin::core::Point& from, double d,
                           double elevation)
{
    const double vx = end.x() - from.x();
    const double vy = end.y() - from.y();
    const double f = d / std::hypot(vx, vy);
    return tin::core::Point(end.x() + f * vx, end.y() + f * vy, elevation);
}

} // namespace

GeoEditSurfaceItem::GeoEditSurfaceItem(const QString& name, const std::vector<tin::core::Point>& path,
                                       bool closed, const QString& moldName,
                                       const mold::core::Mold& mold, mvc::core::ModelItem* parent)
    : GeoEditSurfaceItemI(name, parent),
      m_path(path),
      m_closed(QStringLiteral("closed"), false),
      m_moldName(QStringLiteral("moldName")),
      m_mold(mold),
      m_valid(QStringLiteral("valid"), false)
{
    m_closed = closed;
    m_moldName = moldName;
    if (!m_path.empty() && !m_mold.empty()) {
        buildTins();
    }
}

GeoEditSurfaceItem::GeoEditSurfaceItem(const QString& name, const std::vector<tin::core::Point>& path,
                                       bool closed, const MoldItem& moldItem,
                                       mvc::core::ModelItem* parent)
    : GeoEditSurfaceItem(name, path, closed, moldItem.name(), moldItem.mold(), parent)
{
}

GeoEditSurfaceItem::GeoEditSurfaceItem(mvc::core::ModelItem* parent)
    : GeoEditSurfaceItemI(QString(), parent),
      m_closed(QStringLiteral("closed"), false),
      m_moldName(QStringLiteral("moldName")),
      m_valid(QStringLiteral("valid"), false)
{
}

GeoEditSurfaceItem::~GeoEditSurfaceItem() = default;

tin::core::Tin GeoEditSurfaceItem::modifiedRootTin(const tin::core::Tin& rootTin, bool* ok)
{
    *ok = false;
    const mold::core::Mold::EditType type = m_mold.editType();
    if (type != mold::core::Mold::Add && type != mold::core::Mold::Subtract) {
        throw common::exception::RuntimeException(mold::core::Mold::editTypeString(type)
                                                  + " not handled.");
    }
    // Merged as an empty TIN, a missing one would take the surface's effect away and put
    // nothing in: no TIN, no merge.
    if (!m_tin || !m_extendedTin) {
        return tin::core::Tin();
    }
    const tin::core::Tin& surface = *m_tin;
    const tin::core::Tin& extended = *m_extendedTin;
    try {
        tin::core::Tin* added = addedTinForUpdate();
        tin::core::Tin* removed = removedTinForUpdate();
        const std::vector<const geos::geom::Polygon*> outline = surface.geosPolygons();
        if (type == mold::core::Mold::Add) {
            return tin::util::TinModifier::add(rootTin, extended, outline, ok, nullptr, added, removed);
        }
        return tin::util::TinModifier::sub(rootTin, extended, outline, ok, nullptr, added, removed);
    } catch (const std::exception&) {
        *ok = false;
        return tin::core::Tin();
    }
}

QString GeoEditSurfaceItem::filenamePattern() const
{
    return QStringLiteral("geoedit%1.ges");
}

QRectF GeoEditSurfaceItem::myBoundingBox() const
{
    if (!m_tin || m_tin->empty()) {
        return QRectF(0.0, 0.0, 0.0, 0.0);
    }
    const tin::core::Rect r = m_tin->boundingRect();
    return QRectF(r.xMin(), r.yMin(), r.width(), r.height());
}

const std::vector<tin::core::Point>& GeoEditSurfaceItem::path() const
{
    return m_path;
}

void GeoEditSurfaceItem::setPath(const std::vector<tin::core::Point>& path)
{
    m_path = path;
}

bool GeoEditSurfaceItem::closed() const
{
    return m_closed;
}

void GeoEditSurfaceItem::setClosed(bool closed)
{
    m_closed = closed;
}

QString GeoEditSurfaceItem::moldName() const
{
    return m_moldName;
}

const mold::core::Mold& GeoEditSurfaceItem::mold() const
{
    return m_mold;
}

void GeoEditSurfaceItem::setMold(const QString& moldName, const mold::core::Mold& mold)
{
    m_moldName = moldName;
    m_mold = mold;
}

bool GeoEditSurfaceItem::isValid() const
{
    return m_valid;
}

tin::core::Tin* GeoEditSurfaceItem::tin() const
{
    return m_tin.get();
}

tin::core::Tin* GeoEditSurfaceItem::extendedTin() const
{
    return m_extendedTin.get();
}

void GeoEditSurfaceItem::buildTins()
{
    const MoldItem moldItem(m_moldName, m_mold, nullptr);
    m_tin.reset();
    m_extendedTin.reset();
    // Nothing to sweep: no TIN, and no end direction to prolong.
    if (!hasTwoPlaces(m_path) || m_mold.size() < 2) {
        m_valid = false;
        return;
    }
    m_valid = moldItem.hasSimpleOutline(m_path, m_closed);
    m_tin = moldItem.createTin(m_path, m_closed, {});
    const std::vector<tin::core::Point> extended = extendedPath(m_path, moldItem, m_closed);
    // The path's own ends inside a prolonged path are no corners of its sweep.
    std::unordered_set<std::size_t> ends;
    if (extended.size() == m_path.size() + 2) {
        ends = {1, extended.size() - 2};
    }
    m_extendedTin = extendedMold(moldItem)->createTin(extended, m_closed, ends);
}

std::vector<tin::core::Point> GeoEditSurfaceItem::extendedPath(const std::vector<tin::core::Point>& path,
                                                               const MoldItem& moldItem, bool closed)
{
    const mold::core::Mold::EditType type = moldItem.editType();
    if (closed || (type != mold::core::Mold::Add && type != mold::core::Mold::Subtract)
        || !hasTwoPlaces(path)) {
        return path;
    }
    const std::vector<double>& h = moldItem.h();
    const auto [low, high] = std::minmax_element(h.begin(), h.end());
    const double range = h.empty() ? 0.0 : *high - *low;
    const double d = range / std::tan(1.3962634015954636);
    const double shift = type == mold::core::Mold::Add ? -range : range;
    const tin::core::Point& first = path.front();
    const tin::core::Point& last = path.back();
    const auto afterFirst = std::find_if(path.begin(), path.end(),
                                         [&](const tin::core::Point& p) { return !samePlace(p, first); });
    const auto beforeLast = std::find_if(path.rbegin(), path.rend(),
                                         [&](const tin::core::Point& p) { return !samePlace(p, last); });
    const tin::core::Point start = prolonged(first, *afterFirst, d, first.elevation() + shift);
    const tin::core::Point end = prolonged(last, *beforeLast, d, last.elevation() + shift);
    // A mold of no height range (a level plane) would prolong the ends by nothing: the sweep
    // merges a point repeated at an end into it, and the end, now marked as no corner, loses
    // its run of the surface.
    if (start.isCloseTo(first) || end.isCloseTo(last)) {
        return path;
    }
    std::vector<tin::core::Point> extended;
    extended.reserve(path.size() + 2);
    extended.push_back(start);
    extended.insert(extended.end(), path.begin(), path.end());
    extended.push_back(end);
    return extended;
}

std::unique_ptr<MoldItem> GeoEditSurfaceItem::extendedMold(const MoldItem& moldItem)
{
    auto extended = std::make_unique<MoldItem>(moldItem.name(), moldItem.mold(), nullptr);
    const std::size_t n = moldItem.size();
    if (n < 2) {
        return extended;
    }
    const QPointF first = moldItem.point(0);
    const QPointF second = moldItem.point(1);
    const QPointF last = moldItem.point(n - 1);
    const QPointF beforeLast = moldItem.point(n - 2);
    if (n == 2) {
        extended->setPoint(0, second - 1.5 * (second - first));
        extended->setPoint(1, first + 1.5 * (second - first));
    } else {
        extended->setPoint(0, 2.0 * first - second);
        extended->setPoint(n - 1, 2.0 * last - beforeLast);
    }
    return extended;
}

void GeoEditSurfaceItem::doLoadFromProjectMainFile(const QDomElement& element)
{
    nameContainer().load(element);
    m_closed.load(element);
    m_moldName.load(element);
    m_valid.load(element);
    markAddedTinRead();
    if (QStandardItem* row = browserItem()) {
        row->setText(name());
    }
}

void GeoEditSurfaceItem::doSaveToProjectMainFile(QXmlStreamWriter* writer)
{
    nameContainer().save(writer);
    m_closed.save(writer);
    m_moldName.save(writer);
    m_valid.save(writer);
}

void GeoEditSurfaceItem::loadExternalData(const std::string& absoluteFilename)
{
    if (absoluteFilename.empty()) {
        return;
    }
    GeoEditSurfaceArchive::MoldSurface read = GeoEditSurfaceArchive::readMoldSurface(absoluteFilename);
    m_path = std::move(read.path);
    m_mold = std::move(read.mold);
    m_tin = std::make_unique<tin::core::Tin>(std::move(read.tin));
    m_extendedTin = std::make_unique<tin::core::Tin>(std::move(read.extendedTin));
    setAddedTin(read.addedTin);
    setRemovedTin(read.removedTin);
}

void GeoEditSurfaceItem::saveExternalData(const std::string& absoluteFilename)
{
    const tin::core::Tin none;
    if (!NonFiniteSaveGuard::isFinite(m_mold)) {
        NonFiniteSaveGuard::refuse(name());
    }
    NonFiniteSaveGuard::write(name(), [&] {
        GeoEditSurfaceArchive::writeMoldSurface(absoluteFilename, m_path, m_mold,
                                                m_tin ? *m_tin : none,
                                                m_extendedTin ? *m_extendedTin : none,
                                                storedAddedTin(), removedTin());
    });
}

mvc::core::ModelItemView* GeoEditSurfaceItem::buildView() const
{
    return new GeoEditSurfaceItemView(this);
}

mvc::core::ModelItemController* GeoEditSurfaceItem::buildController() const
{
    return new GeoEditSurfaceItemController(this);
}

} // namespace varnel
