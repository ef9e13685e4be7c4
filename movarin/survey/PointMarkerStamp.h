#pragma once

#include <QImage>
#include <QPen>
#include <QPointF>
#include <QRgb>

#include <array>
#include <vector>

class QPainter;

namespace varnel {

/// Draws one marker shape many times, fast: the pixels that `QPainter::drawEllipse(c, r, r)`
/// covers with a given pen (and a solid fill or none), on an aliased painter, rendered once
/// by QPainter for each of 4 x 4 sub-pixel positions of the centre and kept as runs of
/// pixels. `stamp` writes one marker of one colour into a layer image by filling those runs
/// (the centre's sub-pixel position rounded to a quarter pixel), so that a million markers
/// cost a few tens of millions of word writes instead of a million painter calls. Opaque
/// colours give the picture the painter would give, up to that rounding.
///
/// The layer is an ARGB32 premultiplied image the caller makes (`makeLayer`), stamps into
/// and draws over its picture in one call (`drawLayer`). Stamps are clipped to the layer.
/// The one place where point markers are rasterised by hand. Stamping is const: threads may
/// share a stamp, and share a layer only when each writes rows of its own (the banded `stamp`).
class PointMarkerStamp {
public:
    /// A disc (`filled`) or ring of `radius` pixels drawn with `pen`.
    PointMarkerStamp(double radius, const QPen& pen, bool filled);

    /// Writes the marker centred at the widget point `centre` in `colour` (premultiplied).
    void stamp(QImage& layer, const QPointF& centre, QRgb colour) const;
    /// The same, writing only rows `top` to `bottom` - 1 of the layer: stamping every marker
    /// once for each of several bands of rows gives the same pixels as stamping it whole,
    /// so threads that each own a band may stamp one layer at once.
    void stamp(QImage& layer, const QPointF& centre, QRgb colour, int top, int bottom) const;
    /// Whether a marker at `centre` can reach the layer's pixels.
    bool touches(const QImage& layer, const QPointF& centre) const;
    /// The rows a marker at `centre` may write, `first` to `last`, possibly beyond the
    /// layer's; false, with neither set, when it can reach no pixel of the layer.
    bool rowsOf(const QImage& layer, const QPointF& centre, int& first, int& last) const;

    /// A transparent layer of `width` x `height` pixels.
    static QImage makeLayer(int width, int height);
    /// Draws `layer` at (0, 0) with the painter's state (transform, clip, opacity).
    static void drawLayer(QPainter* painter, const QImage& layer);

private:
    static constexpr int PHASES = 4;
    /// A centre's whole pixel and sub-pixel phase (in quarter pixels).
    struct Placement {
        int baseX;
        int baseY;
        int phase;
    };
    /// Where a centre that touches the layer lands.
    static Placement place(const QPointF& centre);

    struct Run {
        int dy;
        int x0;
        int x1; // inclusive
    };

    std::array<std::vector<Run>, PHASES * PHASES> m_runs;
    int m_reach = 0;
};

} // namespace varnel
