#include "movarin/shell/TinPaintCache.h"

#include <algorithm>

namespace varnel {

namespace {

bool same(const QTransform& a, const QTransform& b)
{
    return a.m11() == b.m11() && a.m12() == b.m12() && a.m13() == b.m13() && a.m21() == b.m21() &&
           a.m22() == b.m22() && a.m23() == b.m23() && a.m31() == b.m31() && a.m32() == b.m32() &&
           a.m33() == b.m33();
}

// Exact comparisons: QPointF and QRectF compare with a tolerance.
bool same(const QPointF& a, const QPointF& b)
{
    return a.x() == b.x() && a.y() == b.y();
}

bool same(const QRectF& a, const QRectF& b)
{
    return a.x() == b.x() && a.y() == b.y() && a.width() == b.width() && a.height() == b.height();
}

QString nameOf(TinPaintCache::Shelf shelf)
{
    return shelf == TinPaintCache::Shelf::Terrain ? QStringLiteral("terrainPictures")
                                                  : QStringLiteral("overlayPictures");
}

std::size_t pixelsOf(const QImage& picture)
{
    return static_cast<std::size_t>(picture.width()) * static_cast<std::size_t>(picture.height());
}

} // namespace

bool TinPaintCache::Key::sameView(const Key& other) const
{
    return same(viewTransform, other.viewTransform) && same(origin, other.origin) &&
           same(rect, other.rect) && pixels == other.pixels && pixelRatio == other.pixelRatio &&
           renderHints == other.renderHints;
}

bool TinPaintCache::Key::operator==(const Key& other) const
{
    return revision == other.revision && sameView(other) && colorMin == other.colorMin &&
           colorMax == other.colorMax && colorWaterSurface == other.colorWaterSurface &&
           edges == other.edges;
}

TinPaintCache::TinPaintCache(QObject* view, Shelf shelf) : QObject(view), m_shelf(shelf)
{
    setObjectName(nameOf(shelf));
}

TinPaintCache* TinPaintCache::of(QObject* view, Shelf shelf)
{
    if (TinPaintCache* cache = existing(view, shelf)) {
        return cache;
    }
    return new TinPaintCache(view, shelf);
}

TinPaintCache* TinPaintCache::existing(const QObject* view, Shelf shelf)
{
    return view ? view->findChild<TinPaintCache*>(nameOf(shelf), Qt::FindDirectChildrenOnly)
                : nullptr;
}

const QImage* TinPaintCache::find(const void* tin, const Key& key)
{
    const auto it = std::find_if(m_entries.begin(), m_entries.end(), [&](const Entry& e) {
        return e.tin == tin && !e.damaged && e.key == key;
    });
    if (it == m_entries.end()) {
        return nullptr;
    }
    std::rotate(m_entries.begin(), it, it + 1);
    return &m_entries.front().picture;
}

const QImage& TinPaintCache::store(const void* tin, const Key& key, QImage picture)
{
    m_entries.erase(
        std::remove_if(m_entries.begin(), m_entries.end(),
                       [&](const Entry& e) { return e.tin == tin || !e.key.sameView(key); }),
        m_entries.end());
    m_entries.insert(m_entries.begin(), Entry{tin, key, std::move(picture)});
    if (m_shelf == Shelf::Terrain) {
        if (m_entries.size() > CAPACITY) {
            m_entries.erase(m_entries.begin() + CAPACITY, m_entries.end());
        }
    } else {
        const std::size_t room = CAPACITY * static_cast<std::size_t>(key.pixels.width())
                                 * static_cast<std::size_t>(key.pixels.height());
        std::size_t used = 0;
        auto kept = m_entries.begin() + 1;
        for (used = pixelsOf(m_entries.front().picture); kept != m_entries.end(); ++kept) {
            used += pixelsOf(kept->picture);
            if (used > room) {
                break;
            }
        }
        m_entries.erase(kept, m_entries.end());
    }
    return m_entries.front().picture;
}

void TinPaintCache::noteChange(const void* before, std::uint64_t revisionBefore, const void* after,
                               std::uint64_t revisionAfter, const QRectF& area)
{
    // A picture already kept for the new TIN is of another state of it.
    m_entries.erase(std::remove_if(m_entries.begin(), m_entries.end(),
                                   [&](const Entry& e) {
                                       return (e.tin == before && e.key.revision != revisionBefore) ||
                                              (after != before && e.tin == after);
                                   }),
                    m_entries.end());
    if (m_shelf != Shelf::Terrain) {
        return;
    }
    for (Entry& e : m_entries) {
        if (e.tin == before) {
            e.tin = after;
            e.key.revision = revisionAfter;
            e.damage = e.damaged ? e.damage.united(area.normalized()) : area.normalized();
            e.damaged = true;
        }
    }
}

QImage TinPaintCache::takeDamaged(const void* tin, const Key& key, QRectF* area)
{
    const auto it = std::find_if(m_entries.begin(), m_entries.end(), [&](const Entry& e) {
        return e.tin == tin && e.damaged && e.key == key;
    });
    if (it == m_entries.end()) {
        return QImage();
    }
    *area = it->damage;
    QImage picture = std::move(it->picture);
    m_entries.erase(it);
    return picture;
}

void TinPaintCache::clear()
{
    m_entries.erase(std::remove_if(m_entries.begin(), m_entries.end(),
                                   [](const Entry& e) { return !e.damaged; }),
                    m_entries.end());
}

std::size_t TinPaintCache::size() const
{
    return m_entries.size();
}

std::size_t TinPaintCache::pixels() const
{
    std::size_t sum = 0;
    for (const Entry& e : m_entries) {
        sum += pixelsOf(e.picture);
    }
    return sum;
}

} // namespace varnel
