#pragma once

#include <QImage>
#include <QObject>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QTransform>

#include <cstdint>
#include <vector>

namespace varnel {

/// Pictures of TINs as one view last painted them, so that a repaint with nothing changed
/// (a rubber band moving, a tool changing, an expose) costs one image blit instead of
/// millions of triangles. Each view has up to two caches, made on first use as Qt children of
/// the view (they go with it), one per shelf: the terrain's (the base and edited TINs) and the
/// overlays' (the GeoEdit surfaces, small TINs drawn over the terrain), so that however many
/// overlays there are they never push out the terrain's pictures. `TinMainViewHelper::paintTin`
/// is their only user.
///
/// A picture is kept per TIN (by address) together with the key it was drawn under: the
/// TIN's revision, everything that places the triangles in the picture (the view's
/// transform and local origin, the visible rectangle, the device's size, pixel ratio and
/// render hints) and everything that colours them (the colour scale's three values, the
/// edge setting). A picture is handed out only for an equal key (doubles compared exactly;
/// a NaN never matches), so it is never stale for any of these. What the key cannot see,
/// the shared points' elevations and positions, changes only through undo commands, and
/// the framework then discards the model's paint caches: the TIN item views forward that
/// to `clear` (see `TinMainViewHelper::discardPaintCache`).
///
/// A terrain picture covers the whole device; an overlay picture only the part of the device
/// where its TIN lies, and its `QImage::offset()` says where that part begins (in the
/// device's logical pixels). Storing a picture drops the pictures drawn under another view
/// state (they would be redrawn anyway) and then the least recently used ones beyond the
/// shelf's room: at most four on the terrain shelf; on the overlay shelf as many as fit in
/// the pixels of four device-sized pictures (the most recent one always stays). A null
/// picture records "nothing of this TIN is in view".
///
/// An edit that knows what it changed lets a terrain picture follow it (`noteChange`): the
/// picture of the TIN as it was becomes the picture of the TIN as it is, with the world area
/// of the change to be drawn again (`takeDamaged`) before it is shown. Such a picture stays
/// through `clear`, which follows every undoable edit, until it is drawn. That is safe because
/// what `clear` is for, a shared point moved in place, never happens to the TINs of an
/// edit-mode project, the only ones whose edits note their changes (the GeoEdit surfaces'
/// triangle swaps and merges; the brush moves only points of its own preview); and a picture
/// whose TIN changed in any other way since has another revision and is never handed out.
class TinPaintCache : public QObject {
    Q_OBJECT
public:
    struct Key {
        std::uint64_t revision = 0;
        QTransform viewTransform;
        QPointF origin;
        QRectF rect;
        QSize pixels;
        double pixelRatio = 1.0;
        int renderHints = 0;
        double colorMin = 0.0;
        double colorMax = 0.0;
        double colorWaterSurface = 0.0;
        bool edges = false;

        /// The same placement of world points in the picture.
        bool sameView(const Key& other) const;
        bool operator==(const Key& other) const;
    };

    enum class Shelf { Terrain, Overlay };

    /// Device-sized pictures' worth of room on each shelf.
    static constexpr std::size_t CAPACITY = 4;

    /// The cache of `view` for that shelf, made on first use.
    static TinPaintCache* of(QObject* view, Shelf shelf = Shelf::Terrain);
    /// The cache of `view` for that shelf, or null when it has none.
    static TinPaintCache* existing(const QObject* view, Shelf shelf = Shelf::Terrain);

    /// The picture kept for `tin` under `key`, or null when there is none.
    const QImage* find(const void* tin, const Key& key);
    /// Keeps `picture` for `tin` under `key`, in place of the TIN's earlier one; returns
    /// the kept picture.
    const QImage& store(const void* tin, const Key& key, QImage picture);
    /// The TIN `before` at revision `revisionBefore` is now `after` (the same object or the
    /// one that replaced it) at `revisionAfter`, changed only within the world rectangle
    /// `area`: its terrain picture of that revision is kept for `after` with `area` added to
    /// what must be drawn again. A picture of `before` at another revision is dropped.
    void noteChange(const void* before, std::uint64_t revisionBefore, const void* after,
                    std::uint64_t revisionAfter, const QRectF& area);
    /// Takes out the picture kept for `tin` under `key` that a noted change left to be drawn
    /// again, with the world rectangle to draw in `*area`; a null image when there is none.
    QImage takeDamaged(const void* tin, const Key& key, QRectF* area);
    /// Drops every picture but those a noted change keeps for drawing again.
    void clear();
    std::size_t size() const;
    /// The pixels of the pictures kept.
    std::size_t pixels() const;

private:
    TinPaintCache(QObject* view, Shelf shelf);

    struct Entry {
        const void* tin;
        Key key;
        QImage picture;
        // A noted change left this world rectangle to be drawn again before the picture is shown.
        bool damaged = false;
        QRectF damage;
    };
    Shelf m_shelf;
    std::vector<Entry> m_entries;
};

} // namespace varnel
