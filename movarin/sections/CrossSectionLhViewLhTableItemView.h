#pragma once

#include "movarin/sections/CrossSectionLhView.h"

#include <QColor>

#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

class QPainter;
class QTransform;

namespace varnel {

class CrossSectionLhViewHelper;

/// Paints the L-H plot of its item (`paint`), in this order, in widget pixels through the
/// plot's transform:
/// 1. the plot rectangle in the background colour;
/// 2. grid and zero lines (`LhTableItemDrawer`);
/// 3. the base profile while "show base" is on: dark grey, 2 pixels, dotted;
/// 4. the brush preview (auxiliary rows): magenta, 2 pixels;
/// 5. the current profile, enabled rows or not: black, 3 pixels;
/// 6. a 6-pixel dot on its first row (magenta) and on its last (green);
/// 7. the crossings of the reference polylines whose browser rows are checked: at the
///    widget x of each L a flag in the polyline's colour (2 pixels), a post of 10 pixels and
///    a bar under the caption, the flags stacked in levels so that captions keep clear of
///    each other (`labelLevel`); polylines that have died are skipped;
/// 8. the two margins in the background colour, covering whatever strayed into them;
/// 9. the plot's frame (2 pixels) and the axes (`LhTableItemDrawer`).
/// `paintHelpers` then draws the active mode's painters, clipped to the plot.
///
/// The colours (frame black, background white) are set before every paint by the plot; the
/// base profile is shown from the start. The painter list is the controller's business: it
/// adds and removes the painters of its modes, which own them. Made by the item on first use
/// and owned by it; owns its drawer.
class CrossSectionLhView::LhTableItemView {
public:
    /// A label level: the widget x interval of the first label placed on it.
    using Interval = std::pair<double, double>;

    explicit LhTableItemView(LhTableItem* item);
    ~LhTableItemView();

    LhTableItemView(const LhTableItemView&) = delete;
    LhTableItemView& operator=(const LhTableItemView&) = delete;

    /// `area`: the world rectangle the whole widget shows.
    void paint(QPainter* painter, const QTransform& transform, const QRectF& area);
    void paintHelpers(QPainter* painter, const QTransform& transform, const QRectF& area);

    void setColors(const QColor& frame, const QColor& background);
    bool showBase() const { return m_showBase; }
    void setShowBase(bool show) { m_showBase = show; }
    LhTableItemDrawer* drawer() const { return m_drawer.get(); }
    std::vector<CrossSectionLhViewHelper*>& viewHelpers() { return m_viewHelpers; }
    LhTableItem* item() const { return m_item; }

    /// The level of a new label spanning [a, b] pixels: the first level whose interval
    /// [c, d] keeps more than 5 pixels clear of it (d + 5 < a or b + 5 < c); else a new level
    /// holding [a, b] is appended. `levels` starts empty at every paint.
    static std::size_t labelLevel(std::vector<Interval>* levels, double a, double b);

private:
    void paintPolylineCrossings(QPainter* painter, const QTransform& transform,
                                const QRectF& plot) const;

    std::vector<CrossSectionLhViewHelper*> m_viewHelpers;
    LhTableItem* m_item;
    std::unique_ptr<LhTableItemDrawer> m_drawer;
    QColor m_frameColor = Qt::black;
    QColor m_backgroundColor = Qt::white;
    bool m_showBase = true;
};

} // namespace varnel
