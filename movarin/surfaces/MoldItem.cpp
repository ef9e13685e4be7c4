#include "movarin/surfaces/MoldItem.h"

#include "movarin/shell/NonFiniteSaveGuard.h"
#include "movarin/sections/PointPicking.h"
#include "movarin/surfaces/DetailView.h"
#include "movarin/surfaces/MoldItemController.h"
#include "movarin/surfaces/MoldItemView.h"

#include "common/exception/RuntimeException.h"
#include "orlin/core/Point.h"
#include "orlin/core/Polygon.h"
#include "orlin/core/Tin.h"
#include "sedrun/TinFromMoldPathCreator.h"

#include <guimisc/StringSupport.h>
#include <mold/io/MoldExporter.h>
#include <mold/io/MoldImporter.h>

#include <QMenu>

#include <algorithm>
#include <cstdint>
#include <stdexcept>

namespace varnel {

namespace {

using Creator = tincreator::util::TinFromMoldPathCreator;

struct Segment {
    QPointF a;
    QPointF b;
};

/// -1, 0 or 1: the turn from a -> b to a -> c.
int orientation(const QPointF& a, const QPointF& b, const QPointF& c)
{
    const double cross = (b.x() - a.x()) * (c.y() - a.y()) - (b.y() - a.y()) * (c.x() - a.x());
    return (cross > 0.0) - (cross < 0.0);
}

/// For c collinear with a -> b: whether c lies within the segment's box.
bool withinBox(const QPointF& a, const QPointF& b, const QPointF& c)
{
    return std::min(a.x(), b.x()) <= c.x() && c.x() <= std::max(a.x(), b.x())
           && std::min(a.y(), b.y()) <= c.y() && c.y() <= std::max(a.y(), b.y());
}

/// Whether two closed segments have a point in common: a proper crossing, a touch or a
/// collinear overlap (what GEOS calls intersecting).
bool intersect(const Segment& s, const Segment& t)
{
    const int o1 = orientation(s.a, s.b, t.a);
    const int o2 = orientation(s.a, s.b, t.b);
    const int o3 = orientation(t.a, t.b, s.a);
    const int o4 = orientation(t.a, t.b, s.b);
    if (o1 != o2 && o3 != o4) {
        return true;
    }
    return (o1 == 0 && withinBox(s.a, s.b, t.a)) || (o2 == 0 && withinBox(s.a, s.b, t.b))
           || (o3 == 0 && withinBox(t.a, t.b, s.a)) || (o4 == 0 && withinBox(t.a, t.b, s.b));
}

/// Whether any two segments of the ring (the last joins the first) that are no neighbours meet,
/// touching included: an outline that touches itself at a vertex is no simple outline either.
/// Segments of no length go first, so that the neighbours are those of the outline itself.
bool ringCrossesItself(const std::vector<Segment>& segments)
{
    std::vector<Segment> ring;
    ring.reserve(segments.size());
    for (const Segment& s : segments) {
        if (s.a != s.b) {
            ring.push_back(s);
        }
    }
    const std::size_t n = ring.size();
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = i + 2; j < n; ++j) {
            if (i == 0 && j == n - 1) {
                continue;
            }
            if (intersect(ring[i], ring[j])) {
                return true;
            }
        }
    }
    return false;
}

QPointF planOf(const tin::core::Point& p)
{
    return QPointF(p.x(), p.y());
}

/// The segments from each point to the next, in order.
void appendChain(std::vector<Segment>& ring, const std::vector<QPointF>& points)
{
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        ring.push_back({points[i], points[i + 1]});
    }
}

std::vector<QPointF> planOf(const std::vector<tin::core::Point>& points)
{
    std::vector<QPointF> plan;
    plan.reserve(points.size());
    for (const tin::core::Point& p : points) {
        plan.push_back(planOf(p));
    }
    return plan;
}

/// The outline of an open sweep: along side A, across the last section, back along side B
/// and across the first section.
std::vector<Segment> openOutline(const std::vector<QPointF>& a, const std::vector<QPointF>& b)
{
    std::vector<Segment> ring;
    appendChain(ring, a);
    ring.push_back({a.back(), b.back()});
    appendChain(ring, std::vector<QPointF>(b.rbegin(), b.rend()));
    ring.push_back({b.front(), a.front()});
    return ring;
}

/// One side of a closed sweep as a ring of its own.
std::vector<Segment> closedSide(const std::vector<QPointF>& side)
{
    std::vector<Segment> ring;
    appendChain(ring, side);
    ring.push_back({side.back(), side.front()});
    return ring;
}

void requireKnown(mold::core::Mold::EditType editType)
{
    if (editType != mold::core::Mold::Add && editType != mold::core::Mold::Subtract) {
        throw common::exception::RuntimeException(mold::core::Mold::editTypeString(editType)
                                                  + " not handled.");
    }
}

} // namespace

MoldItem::MoldItem(const QString& name, const mold::core::Mold& mold,
                   mvc::proj::ProjectItem* parent)
    : mvc::proj::ProjectItem(parent), m_name(QStringLiteral("name")), m_mold(mold),
      m_awaitingFile(false)
{
    m_name = name;
}

MoldItem::MoldItem(const QString& name, EditType editType, const std::vector<double>& l,
                   const std::vector<double>& h, double baseL, double baseH,
                   mvc::proj::ProjectItem* parent)
    : MoldItem(name, mold::core::Mold(editType, l, h, baseL, baseH), parent)
{
}

MoldItem::MoldItem(mvc::proj::ProjectItem* parent)
    : mvc::proj::ProjectItem(parent), m_name(QStringLiteral("name")), m_awaitingFile(true)
{
}

MoldItem::MoldItem(EditType editType, mvc::proj::ProjectItem* parent)
    : MoldItem(QString(), editType, {}, {}, 0.0, 0.0, parent)
{
}

MoldItem::~MoldItem()
{
    // The editor's tools own the overlays that the view lists: they go first.
    m_controller.reset();
    m_view.reset();
}

QString MoldItem::name() const
{
    return m_name;
}

void MoldItem::setName(const QString& name)
{
    m_name = name;
}

mold::core::Mold& MoldItem::mold()
{
    return m_mold;
}

const mold::core::Mold& MoldItem::mold() const
{
    return m_mold;
}

MoldItem::EditType MoldItem::editType() const
{
    return m_mold.editType();
}

void MoldItem::setEditType(EditType editType)
{
    m_mold.setEditType(editType);
}

QString MoldItem::editTypeText() const
{
    return m_awaitingFile ? QString() : editTypeDisplayText(editType());
}

QString MoldItem::editTypeDisplayText(EditType editType)
{
    const QString text = QString::fromStdString(mold::core::Mold::editTypeString(editType));
    if (text == QLatin1String("Add")) {
        return tr("Add");
    }
    if (text == QLatin1String("Sub")) {
        return tr("Sub");
    }
    return text;
}

std::size_t MoldItem::size() const
{
    return m_mold.size();
}

bool MoldItem::empty() const
{
    return m_mold.empty();
}

const std::vector<double>& MoldItem::l() const
{
    return m_mold.l();
}

const std::vector<double>& MoldItem::h() const
{
    return m_mold.h();
}

double MoldItem::lAt(std::size_t i) const
{
    return m_mold.l().at(i);
}

double MoldItem::hAt(std::size_t i) const
{
    return m_mold.h().at(i);
}

QPointF MoldItem::point(std::size_t i) const
{
    return QPointF(lAt(i), hAt(i));
}

QPointF MoldItem::firstPoint() const
{
    if (empty()) {
        throw std::out_of_range("MoldItem::firstPoint: the mold has no points");
    }
    return point(0);
}

QPointF MoldItem::lastPoint() const
{
    if (empty()) {
        throw std::out_of_range("MoldItem::lastPoint: the mold has no points");
    }
    return point(size() - 1);
}

double MoldItem::baseL() const
{
    return m_mold.baseL();
}

double MoldItem::baseH() const
{
    return m_mold.baseH();
}

std::vector<std::size_t> MoldItem::pointIndicesInPolygon(const tin::core::Polygon& polygon) const
{
    return varnel::pointIndicesInPolygon(
        [this](std::size_t i) { return tin::core::Point(lAt(i), hAt(i)); }, size(), polygon);
}

QRectF MoldItem::boundingRect() const
{
    if (empty()) {
        return QRectF(0.0, 0.0, 0.0, 0.0);
    }
    const auto [lMin, lMax] = std::minmax_element(l().begin(), l().end());
    const auto [hMin, hMax] = std::minmax_element(h().begin(), h().end());
    const double left = std::min(*lMin, baseL());
    const double right = std::max(*lMax, baseL());
    const double top = std::min(*hMin, baseH());
    const double bottom = std::max(*hMax, baseH());
    return QRectF(left, top, right - left, bottom - top);
}

QRectF MoldItem::withExtent(QRectF rect, double side)
{
    if (rect.width() == 0.0) {
        rect.setLeft(rect.left() - side / 2.0);
        rect.setWidth(side);
    }
    if (rect.height() == 0.0) {
        rect.setTop(rect.top() - side / 2.0);
        rect.setHeight(side);
    }
    return rect;
}

void MoldItem::setLH(const std::vector<double>& l, const std::vector<double>& h)
{
    m_mold.setLH(l, h);
}

void MoldItem::setPoint(std::size_t i, const QPointF& point)
{
    m_mold.setLH(i, point.x(), point.y());
}

void MoldItem::setLH(std::size_t i, double l, double h)
{
    m_mold.setLH(i, l, h);
}

void MoldItem::insertPoint(std::size_t i, const QPointF& point)
{
    m_mold.insertLH(i, point.x(), point.y());
}

void MoldItem::insertLH(std::size_t i, double l, double h)
{
    m_mold.insertLH(i, l, h);
}

void MoldItem::erasePoint(std::size_t i)
{
    m_mold.eraseLH(i);
}

void MoldItem::appendPoint(const QPointF& point)
{
    m_mold.pushbackLH(point.x(), point.y());
}

void MoldItem::removeLastPoint()
{
    m_mold.popbackLH();
}

void MoldItem::clear()
{
    m_mold.clear();
}

void MoldItem::setBase(double baseL, double baseH)
{
    m_mold.setBaseL(baseL);
    m_mold.setBaseH(baseH);
}

void MoldItem::setFileIndex(int i)
{
    setFilename(guimisc::StringSupport::toStr(QStringLiteral("mold%1.mld").arg(i)));
}

std::unique_ptr<tin::core::Tin>
MoldItem::createTin(const std::vector<tin::core::Point>& path, bool closed,
                    const std::unordered_set<std::size_t>& notCorners) const
{
    requireKnown(editType());
    const Creator::FlattenTo flatten = closed                              ? Creator::None
                                       : editType() == mold::core::Mold::Add ? Creator::Lowest
                                                                           : Creator::Highest;
    const std::unordered_set<std::uint64_t> pinned(notCorners.begin(), notCorners.end());
    Creator creator(m_mold, path);
    tin::core::Tin tin;
    try {
        tin = creator.createTin(closed, pinned, flatten);
    } catch (const common::exception::RuntimeException&) {
        return nullptr; // a value that is not finite: nothing can be swept
    }
    if (!creator.isValid() || tin.empty()) {
        return nullptr;
    }
    return std::make_unique<tin::core::Tin>(std::move(tin));
}

bool MoldItem::hasSimpleOutline(const std::vector<tin::core::Point>& path, bool closed) const
{
    Creator creator(m_mold, path);
    std::vector<QPointF> a;
    std::vector<QPointF> b;
    try {
        a = planOf(creator.createOutlineSide(true, closed));
        b = planOf(creator.createOutlineSide(false, closed));
    } catch (const common::exception::RuntimeException&) {
        return false; // a value that is not finite
    }
    if (a.size() < 2 || b.size() < 2) {
        return false;
    }
    if (!closed) {
        return !ringCrossesItself(openOutline(a, b));
    }
    return !ringCrossesItself(closedSide(a)) && !ringCrossesItself(closedSide(b));
}

void MoldItem::doLoadFromProjectMainFile(const QDomElement& element)
{
    m_name.load(element);
}

void MoldItem::doSaveToProjectMainFile(QXmlStreamWriter* writer)
{
    m_name.save(writer);
}

void MoldItem::loadExternalData(const std::string& absoluteFilename)
{
    m_mold = mold::io::MoldImporter().importMold(absoluteFilename.c_str());
    m_awaitingFile = false;
}

void MoldItem::saveExternalData(const std::string& absoluteFilename)
{
    if (!NonFiniteSaveGuard::isFinite(m_mold)) {
        NonFiniteSaveGuard::refuse(name());
    }
    mold::io::MoldExporter().exportMold(absoluteFilename.c_str(), m_mold);
}

MoldItemController* MoldItem::controller()
{
    if (!m_controller) {
        m_controller = std::make_unique<MoldItemController>(this);
    }
    return m_controller.get();
}

MoldItemView* MoldItem::view()
{
    if (!m_view) {
        m_view = std::make_unique<MoldItemView>(this);
    }
    return m_view.get();
}

void MoldItem::setDetailView(DetailView* view)
{
    m_detailView = view;
}

DetailView* MoldItem::detailView() const
{
    return m_detailView;
}

void MoldItem::showContextMenu(const QPoint& pos)
{
    controller()->contextMenu()->popup(pos);
}

} // namespace varnel
