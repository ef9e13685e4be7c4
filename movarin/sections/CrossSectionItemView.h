#pragma once

#include "brask/core/ModelItemViewT.h"

#include <QPointF>

namespace varnel {

class CrossSectionItem;

/// Draws a cross section on the main view: the segment from S to E as a black line 3 pixels
/// wide. While the section is the selected item it adds a magenta dot at S labelled "L" and
/// a green dot at E labelled "R" (dots of radius 3 pixels with a black 3-pixel pen; labels
/// magenta, in the font size of "font/global_fontsize" when that is a positive number).
/// The labels sit outside the segment's ends: "L" above S when E lies higher on the screen,
/// else below it, left of S when E lies to its left, else right of it; "R" at E the other
/// way round. Built by the item and owned by it.
class CrossSectionItemView : public mvc::core::ModelItemViewT<CrossSectionItem> {
public:
    explicit CrossSectionItemView(const CrossSectionItem* item);
    ~CrossSectionItemView() override;

    /// The segment from S to E in widget pixels of the main view; false without a main view.
    bool widgetLine(QPointF line[2]) const;
    /// Draws `line` as an unselected section is drawn. Safe off the GUI thread (the group's
    /// view draws many in bands on several threads).
    static void paintLine(QPainter* painter, const QPointF line[2]);

protected:
    void doPaintMainView(QPainter* painter, const QTransform& transform,
                         const QRectF& rect) const override;
    void doPaintMainViewOnSelected(QPainter* painter, const QTransform& transform,
                                   const QRectF& rect) const override;
};

} // namespace varnel
