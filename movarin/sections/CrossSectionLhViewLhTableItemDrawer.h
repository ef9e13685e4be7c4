#pragma once

#include "movarin/sections/CrossSectionLhView.h"

#include <QObject>

class QPainter;
class QTransform;

namespace varnel {

/// The grid, zero lines and axes of the L-H plot, with the switches and widths the window's
/// controls set: grid lines along L shown (`showGridX`) every `gridWidthX` metres, along H
/// (`showGridY`) every `gridWidthY` metres; both on, both 1 m at the start.
///
/// `paintGrid` draws over a world rectangle: the fine grid (light grey) at every multiple of
/// the widths, the coarse grid (light grey, 2 pixels) at every multiple of five widths, then
/// the zero lines (black, dashed) H = 0 with the H grid and L = 0 with the L grid.
/// `paintAxes` draws along the plot's left edge the H axis and along its top edge the L axis
/// (olive, 2 pixels): a 10-pixel tick with its value (2 decimals) at every multiple of five
/// widths inside the plot, the edge itself and the axis title ("Elevation (m)" turned to run
/// upwards beside the plot's middle, "Cross-sectional distance (m)" above it). The axes are
/// drawn whatever the switches. A value that would run into the elevation title or past
/// the plot's right edge (the widget's) is left out; its tick stays.
///
/// A level of lines (fine, coarse, ticks) whose lines would lie less than `MIN_SPACING`
/// pixels apart is left out, and so is one of more than `MAX_LINES` lines or with a width
/// that is not finite and positive: a fine grid seen from far away costs nothing and a
/// plot never hangs on one. Both work in widget pixels through the plot's transform (no
/// rotation); the painter's state is restored.
class CrossSectionLhView::LhTableItemDrawer : public QObject {
    Q_OBJECT
public:
    static constexpr double MIN_SPACING = 2.0;
    static constexpr double MAX_LINES = 10000.0;

    explicit LhTableItemDrawer(QObject* parent = nullptr);
    ~LhTableItemDrawer() override;

    bool showGridX() const { return m_showGridX; }
    bool showGridY() const { return m_showGridY; }
    double gridWidthX() const { return m_gridWidthX; }
    double gridWidthY() const { return m_gridWidthY; }
    void setShowGridX(bool show) { m_showGridX = show; }
    void setShowGridY(bool show) { m_showGridY = show; }
    void setGridWidthX(double width) { m_gridWidthX = width; }
    void setGridWidthY(double width) { m_gridWidthY = width; }

    /// `area`: the world rectangle to cover (y up: `top()` is the lowest H).
    void paintGrid(QPainter* painter, const QTransform& transform, const QRectF& area) const;
    /// `plot`: the plot's widget rectangle.
    void paintAxes(QPainter* painter, const QTransform& transform, const QRectF& plot) const;

    /// The multiples k × `step` within [from, to] as the first and last k, when there is one
    /// and the level may be drawn: `step` finite and positive, `pixelsPerStep` at least
    /// `MIN_SPACING`, at most `MAX_LINES` multiples.
    static bool lineIndices(double from, double to, double step, double pixelsPerStep,
                            long long* first, long long* last);

    static const QString& elevationTitle();
    static const QString& distanceTitle();

private:
    bool m_showGridX = true;
    bool m_showGridY = true;
    double m_gridWidthX = 1.0;
    double m_gridWidthY = 1.0;
};

} // namespace varnel
