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
/// The one place where point markers are rasterised by hand; not thread-safe to share a
/// layer.
class PointMarkerStamp {
public:
    /// A disc (`filled`) or ring of `radius` pixels drawn with `pen`.
    PointMarkerStamp(double radius, const QPen& pen, bool filled);

    /// Writes the marker centred at the widget point `centre` in `colour` (premultiplied).
    void stamp(QImage& layer, const QPointF& centre, QRgb colour) const;
    /// Whether a marker at `centre` can reach the layer's pixels.
    bool touches(const QImage& layer, const QPointF& centre) const;

    /// A transparent layer of `width` x `height` pixels.
    static QImage makeLayer(int width, int height);
    /// Draws `layer` at (0, 0) with the painter's state (transform, clip, opacity).
    static void drawLayer(QPainter* painter, const QImage& layer);

private:
    static constexpr int PHASES = 4;
    struct Run {
        int dy;
        int x0;
        int x1; // inclusive
    };

    std::array<std::vector<Run>, PHASES * PHASES> m_runs;
    int m_reach = 0;
};

} // namespace varnel
