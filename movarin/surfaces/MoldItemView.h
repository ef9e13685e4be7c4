#pragma once

#include "movarin/surfaces/MoldGridPainter.h"

#include <QColor>

#include <vector>

class QPainter;
class QRectF;
class QTransform;

namespace varnel {

class DetailView;
class MoldDetailViewHelperI;
class MoldItem;

/// Paints one mold item on a mold view: the mold detail view of the "Mold Setting" dialog,
/// the Mold Browser's preview and its icons. `paint` fills the drawn area with the brush
/// colour and outlines it with a 2-pixel pen of the pen colour, then draws the grid, the
/// base cross and the outline (`MoldGridPainter`, with the item's mold), then every listed
/// overlay helper in list order.
///
/// The overlay list holds the painters of the mold editor's active tool; the controller
/// adds and removes them (`viewHelpers`), the tools own them. Colours start black on white
/// (`resetColors`); an icon sets its own before it paints. Made by `MoldItem::view()` and
/// owned by the item, which it borrows.
class MoldItemView {
public:
    explicit MoldItemView(MoldItem* item);
    virtual ~MoldItemView();

    MoldItemView(const MoldItemView&) = delete;
    MoldItemView& operator=(const MoldItemView&) = delete;

    /// `transform` maps world (L across, H up) to the painter's pixels; `rect` is the world
    /// rectangle the painter shows.
    void paint(QPainter* painter, const QTransform& transform, const QRectF& rect);

    void setColors(const QColor& pen, const QColor& brush);
    /// Black pen, white brush.
    void resetColors();
    void setGridWidth(double x, double y);
    void setGridVisible(bool visible);

    std::vector<MoldDetailViewHelperI*>& viewHelpers() { return m_viewHelpers; }
    MoldItem* item() const { return m_item; }
    /// The detail view that shows the item now (null when none).
    DetailView* detailView() const;

private:
    std::vector<MoldDetailViewHelperI*> m_viewHelpers;
    MoldItem* m_item;
    MoldGridPainter m_gridPainter;
    QColor m_penColor = Qt::black;
    QColor m_brushColor = Qt::white;
};

} // namespace varnel
