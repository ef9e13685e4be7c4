#pragma once

class QPainter;
class QRectF;
class QTransform;

namespace varnel {

class MoldItem;

/// Draws the backdrop of a mold over the visible part of a mold view: a grid, the base-line
/// cross and the mold's outline. A plain record (both flags on, both grid widths 1.0) that
/// the mold item view and the mold overlay helper embed.
///
/// `paint` draws in world coordinates (offset L across, height H up) under `transform`, the
/// view's world-to-widget transform, with cosmetic pens (widths in pixels):
/// - grid on: light grey lines at every multiple of the grid widths, of double width at
///   every fifth; and, when there is no mold item or its mold is empty, a black dashed
///   cross through (0, 0);
/// - a mold with points and base lines on: a black dashed cross through the mold's base
///   point;
/// - a mold with points: its outline, a black polyline of double width through (L, H).
/// A grid width that is not finite and positive, or one that would draw more than 10000
/// lines across the visible rectangle, draws no lines of that direction. The painter's
/// state is restored. Linear in the mold's points and the grid lines drawn.
class MoldGridPainter {
public:
    void setGridVisible(bool visible);
    void setGridWidth(double x, double y);

    void paint(QPainter* painter, const QTransform& transform, const QRectF& visible,
               const MoldItem* item) const;

private:
    void paintGrid(QPainter* painter, const QRectF& visible) const;

    bool m_showBaseLines = true;
    bool m_showGrid = true;
    double m_gridWidthX = 1.0;
    double m_gridWidthY = 1.0;
};

} // namespace varnel
