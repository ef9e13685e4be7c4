#include "movarin/surfaces/GeoEditSurfaceItemI.h"

#include "movarin/shell/EditModeMainWindowModelRootItem.h"
#include "movarin/shell/TinMainViewHelper.h"
#include "movarin/surfaces/AddedTriangleRebinder.h"
#include "movarin/survey/TinItem.h"

#include "brask/core/Model.h"
#include "orlin/core/Point.h"
#include "orlin/core/Rect.h"
#include "orlin/core/Triangle.h"

#include <guimisc/StringSupport.h>

#include <QIcon>

#include <algorithm>

namespace varnel {

namespace {

// Whether some triangle object is held by both TINs.
bool shareTriangle(const tin::core::Tin& a, const tin::core::Tin& b)
{
    if (a.empty() || b.empty() || !a.boundingRect().intersects(b.boundingRect())) {
        return false;
    }
    const tin::core::Tin& fewer = a.allTriangles().size() <= b.allTriangles().size() ? a : b;
    const tin::core::Tin& more = &fewer == &a ? b : a;
    return std::any_of(fewer.allTriangles().begin(), fewer.allTriangles().end(),
                       [&](const auto& t) { return more.containsTriangle(t); });
}

// The world rectangle that the triangles of both TINs span; a null rectangle for none.
QRectF spanOf(const tin::core::Tin& a, const tin::core::Tin& b)
{
    QRectF span;
    for (const tin::core::Tin* t : {&a, &b}) {
        if (!t->empty()) {
            const tin::core::Rect r = t->boundingRect();
            span = span.united(QRectF(QPointF(r.xMin(), r.yMin()), QPointF(r.xMax(), r.yMax())));
        }
    }
    return span;
}

// Lets the main view's pictures follow a change of the edited TIN `before` (at `revision`)
// into `after` within `area`: the edited TIN's is drawn again there, and the base TIN's, which
// no surface changes, is kept as it is.
void followInMainView(const TinItem& edited, const tin::core::Tin* before, std::uint64_t revision,
                      const tin::core::Tin* after, const QRectF& area)
{
    const mvc::core::Model* model = edited.model();
    mvc::core::View* view = model ? model->view() : nullptr;
    if (!view) {
        return;
    }
    TinMainViewHelper::followTinChange(view, before, revision, after, area);
    auto root = qobject_cast<const EditModeMainWindowModelRootItem*>(edited.parentItem());
    const ReadOnlyTinItem* base = root ? root->baseTinItem() : nullptr;
    if (base && base->tin() && base->tin() != after) {
        TinMainViewHelper::followTinChange(view, base->tin(), base->tin()->revision(), base->tin(), QRectF());
    }
}

} // namespace

GeoEditSurfaceItemI::GeoEditSurfaceItemI(const QString& name, mvc::core::ModelItem* parent)
    : mvc::core::ModelItem(QIcon(), name, parent, CaptionEditable | Deletable | Reorderable),
      m_name(QStringLiteral("name"))
{
    m_name = name;
    connect(this, &GeoEditSurfaceItemI::rootTinChanged, this,
            [this](const tin::core::Tin& partialTin) {
                if (TinItem* edited = rootTinItem()) {
                    emit edited->tinChanged(partialTin);
                }
            });
}

GeoEditSurfaceItemI::~GeoEditSurfaceItemI() = default;

QString GeoEditSurfaceItemI::itemTypeName() const
{
    return tr("GeoEdit surface");
}

tin::core::Tin GeoEditSurfaceItemI::modifiedRootTin(const tin::core::Tin&, bool*)
{
    return tin::core::Tin();
}

QString GeoEditSurfaceItemI::name() const
{
    return m_name;
}

void GeoEditSurfaceItemI::setName(const QString& name)
{
    m_name = name;
}

const tin::core::Tin& GeoEditSurfaceItemI::addedTin()
{
    buildAddedTin();
    return m_addedTin;
}

const tin::core::Tin& GeoEditSurfaceItemI::removedTin() const
{
    return m_removedTin;
}

void GeoEditSurfaceItemI::setAddedTin(const tin::core::Tin& tin)
{
    m_addedTin = tin;
}

void GeoEditSurfaceItemI::setRemovedTin(const tin::core::Tin& tin)
{
    m_removedTin = tin;
}

TinItem* GeoEditSurfaceItemI::rootTinItem() const
{
    const mvc::core::ModelItem* group = parentItem();
    auto root = group ? qobject_cast<EditModeMainWindowModelRootItem*>(group->parentItem())
                      : nullptr;
    return root ? root->tinItem() : nullptr;
}

void GeoEditSurfaceItemI::swapTriangles(const tin::core::Tin& out, const tin::core::Tin& in)
{
    TinItem* edited = rootTinItem();
    if (!edited) {
        return;
    }
    if (!edited->tin()) {
        edited->setTin(new tin::core::Tin());
    }
    tin::core::Tin* tin = edited->tin();
    const std::uint64_t before = tin->revision();
    for (const auto& t : out.allTriangles()) {
        tin->removeTriangle(t);
    }
    const std::vector<std::shared_ptr<tin::core::Triangle>> incoming(in.allTriangles().begin(),
                                                                     in.allTriangles().end());
    tin->addTriangles(incoming.data(), incoming.size());
    followInMainView(*edited, tin, before, tin, spanOf(out, in));
    edited->updateCaption();
    emit rootTinChanged(in);
}

void GeoEditSurfaceItemI::replaceRootTin(tin::core::Tin&& merged)
{
    TinItem* edited = rootTinItem();
    if (!edited) {
        return;
    }
    // The old TIN's address only names its picture: it is read before any other TIN can
    // take the address.
    const tin::core::Tin* before = edited->tin();
    const std::uint64_t revision = before ? before->revision() : 0;
    auto* after = new tin::core::Tin(std::move(merged));
    edited->setTin(after);
    if (before) {
        followInMainView(*edited, before, revision, after, spanOf(addedTin(), removedTin()));
    }
}

void GeoEditSurfaceItemI::setFileIndex(int index)
{
    setFilename(guimisc::StringSupport::toStr(filenamePattern().arg(index)));
}

void GeoEditSurfaceItemI::buildAddedTin()
{
    if (m_addedTinIsCurrent) {
        return;
    }
    m_addedTinIsCurrent = true;
    std::vector<AddedTriangleRebinder::Surface> newer;
    for (GeoEditSurfaceItemI* sibling : newerSiblings()) {
        sibling->buildAddedTin();
        newer.push_back({&sibling->m_addedTin, &sibling->m_removedTin});
    }
    const TinItem* edited = rootTinItem();
    m_addedTin = AddedTriangleRebinder::rebind(m_addedTin, edited ? edited->tin() : nullptr, newer);
}

bool GeoEditSurfaceItemI::sameTriangle(const tin::core::Triangle& a, const tin::core::Triangle& b)
{
    const auto has = [&b](const std::shared_ptr<tin::core::Point>& p) {
        return b.point1() == p || b.point2() == p || b.point3() == p;
    };
    return has(a.point1()) && has(a.point2()) && has(a.point3());
}

GeoEditSurfaceItemI* GeoEditSurfaceItemI::overlappingSibling()
{
    const tin::core::Tin& added = addedTin();
    for (GeoEditSurfaceItemI* sibling : newerSiblings()) {
        if (shareTriangle(added, sibling->removedTin())) {
            return sibling;
        }
    }
    return nullptr;
}

GeoEditSurfaceItemI* GeoEditSurfaceItemI::siblingOverlappedByEdit()
{
    for (GeoEditSurfaceItemI* sibling : newerSiblings()) {
        if (shareTriangle(sibling->addedTin(), m_removedTin)) {
            return sibling;
        }
    }
    return nullptr;
}

void GeoEditSurfaceItemI::markAddedTinRead()
{
    m_addedTinIsCurrent = false;
}

guimisc::xml::StringContainer& GeoEditSurfaceItemI::nameContainer()
{
    return m_name;
}

tin::core::Tin* GeoEditSurfaceItemI::addedTinForUpdate()
{
    buildAddedTin();
    return &m_addedTin;
}

tin::core::Tin* GeoEditSurfaceItemI::removedTinForUpdate()
{
    return &m_removedTin;
}

const tin::core::Tin& GeoEditSurfaceItemI::storedAddedTin() const
{
    return m_addedTin;
}

std::vector<GeoEditSurfaceItemI*> GeoEditSurfaceItemI::newerSiblings() const
{
    std::vector<GeoEditSurfaceItemI*> newer;
    const mvc::core::ModelItem* group = parentItem();
    if (!group) {
        return newer;
    }
    for (mvc::core::ModelItem* child : group->childItems()) {
        if (child == this) {
            break;
        }
        if (auto surface = qobject_cast<GeoEditSurfaceItemI*>(child)) {
            newer.push_back(surface);
        }
    }
    return newer;
}

} // namespace varnel
