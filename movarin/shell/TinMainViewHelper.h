#pragma once

#include "brask/util/MainViewHelperI.h"

#include <QRectF>

#include <cstdint>

namespace guimisc::colormapper {
class ElevationColorMapper;
}

namespace mvc::core {
class View;
}

namespace tin::core {
class Tin;
}

namespace varnel {

/// A TIN on the main view, each triangle filled with the mean of its corners' elevation
/// colours (each of red, green and blue summed and divided by 3 in integers, opaque), with
/// black edges when the setting "graphics/show_tin_edges" is on (read at every paint; a
/// missing key reads as off). Borrows the TIN and the colour scale, which are read at every
/// paint and must outlive the helper.
///
/// `paintTin` is the drawing itself, shared with the TIN item views: only the triangles
/// whose bounding rectangles meet the visible rectangle are drawn, in the order the TIN
/// returns them, converted with the view's `conv`. A view of a small part of the TIN asks
/// the TIN's spatial index for them; a view that shows a large part (`showsLargePart`, a
/// quarter of the TIN's box or more) walks every triangle in the TIN's own order and leaves
/// out those whose boxes miss the visible rectangle, without asking the index (whose building
/// would cost a first paint of a new or reopened TIN more than the drawing). Onto a picture or an image painted without transform, at full opacity and in
/// the normal composition mode (the main view's own case), the triangles are drawn into a
/// picture that the view keeps (`TinPaintCache`) and that later paints reuse while the TIN
/// (its revision), the view's transform, the visible rectangle, the device, the colour
/// scale and the edge setting are unchanged; the result is the same as drawing the
/// triangles directly, which is what happens on any other device. Into a picture without
/// edges, antialiasing or a pixel ratio other than 1, a triangle whose box holds no pixel centre
/// is left out before its colour is computed: the painter fills no pixel of it, and at survey
/// scale most triangles of a view of the whole TIN are such specks. A picture of many
/// triangles is drawn in horizontal bands on several threads (`BandPainter`) a chunk at a
/// time, each chunk converted to widget points first by the same threads, a slice each.
///
/// The GeoEdit surfaces paint their small TINs over the terrain on the overlay layer: each
/// picture then covers only the part of the view where its TIN lies and is kept on a shelf
/// of its own (see `TinPaintCache`), so that twenty surfaces cost twenty small blits and
/// never push the base and edited TINs' pictures out.
///
/// Item views that paint a TIN through `paintTin` call `discardPaintCache` from their
/// `doDiscardPaintCache`: the framework discards the paint caches after every undoable
/// edit (an elevation edit of shared points changes the TIN without changing its revision)
/// and on every `View::updateView()`.
///
/// An edit of the terrain TIN that notes what it changed (`followTinChange`) keeps the
/// terrain picture: the paint after it draws the part of the picture the change covers, from
/// the triangles the spatial index finds there (in the TIN's order, so that where two
/// triangles share a pixel the same one wins), instead of the whole picture.
///
/// Cost: a repaint with nothing changed, one blit of the view's size; after a noted change,
/// one query of the spatial index for the changed part and the triangles there; otherwise one query
/// of the spatial index (none when a large part of the TIN is in view) and one filled (and
/// outlined) polygon per triangle in view, and besides the picture about 3.4 MB for the chunk of
/// converted triangles, a byte per triangle for the bands it touches and, for a view of a
/// small part, 8 bytes per triangle the index finds (a view of a large part reads the TIN's
/// own list in place).
class TinMainViewHelper : public mvc::util::MainViewHelperI {
public:
    /// Where a TIN's kept picture belongs: with the terrain (whole-view pictures) or with
    /// the overlays drawn on it (pictures cropped to the TIN).
    enum class Layer { Terrain, Overlay };

    TinMainViewHelper(const tin::core::Tin* tin, mvc::core::View* view,
                      const guimisc::colormapper::ElevationColorMapper* colorMapper);

    void paintView(QPainter* painter, const QTransform& transform, const QRectF& rect) override;

    /// Draws the triangles of `tin` that meet the visible world rectangle `rect` (corners in
    /// any order) on `view`; nothing for a null painter, TIN, colour scale or view. The
    /// painter's pen and brush are restored.
    static void paintTin(QPainter* painter, const QTransform& transform, const QRectF& rect,
                         const tin::core::Tin* tin,
                         const guimisc::colormapper::ElevationColorMapper* colorMapper,
                         mvc::core::View* view, bool showEdges);
    /// The same on the given layer.
    static void paintTin(QPainter* painter, const QTransform& transform, const QRectF& rect,
                         const tin::core::Tin* tin,
                         const guimisc::colormapper::ElevationColorMapper* colorMapper,
                         mvc::core::View* view, bool showEdges, Layer layer);
    /// The same without edges.
    static void paintTin(QPainter* painter, const QTransform& transform, const QRectF& rect,
                         const tin::core::Tin* tin,
                         const guimisc::colormapper::ElevationColorMapper* colorMapper,
                         mvc::core::View* view);
    /// Forgets the TIN pictures kept for `view`, on both layers (nothing when it has none),
    /// but those kept to follow a noted change.
    static void discardPaintCache(mvc::core::View* view);
    /// Lets the terrain picture `view` keeps of `before` at `revisionBefore` follow an edit
    /// that made it `after` (the same TIN or its replacement, at its revision now) and changed
    /// it only within the world rectangle `area` (the union of the rectangles of the triangles
    /// taken out and put in), moving no point: the next paint draws again only the part of
    /// the picture where `area` lies, from the triangles there, in the TIN's order, and
    /// shows the same pixels as a picture drawn anew. A null `area` keeps the picture as it
    /// is (a TIN that the edit did not change). Nothing for a null view, or when the view
    /// keeps no such picture.
    static void followTinChange(mvc::core::View* view, const tin::core::Tin* before,
                                std::uint64_t revisionBefore, const tin::core::Tin* after,
                                const QRectF& area);

    /// Test seam: false draws every TIN directly, keeping no pictures; true (the default)
    /// keeps them where the device allows.
    static void setPaintCacheEnabledForTests(bool enabled);

private:
    const tin::core::Tin* m_tin;
    const guimisc::colormapper::ElevationColorMapper* m_colorMapper;
};

} // namespace varnel
