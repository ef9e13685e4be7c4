#pragma once

#include "movarin/sections/CrossSectionLhTableRow.h"
#include "movarin/sections/CrossSectionPolylineCrossing.h"

#include "brask/view/PrimitiveView.h"

#include <QRectF>

#include <memory>
#include <vector>

namespace varnel {

class CrossSectionDialog;
class CrossSectionItem;
class CrossSectionLhTableModel;

/// The L-H profile plot of a cross-section window: distance along the section (L, metres)
/// across, elevation (H, metres) up, each axis with its own scale. The plot occupies the
/// widget less a strip of `leftMargin()` pixels on the left (elevation labels) and one of
/// `TOP_MARGIN` pixels at the top (distance labels): `modifyTransform` maps the widget onto
/// that rectangle. The left strip is `LEFT_MARGIN` pixels, or wider where the widget's font
/// needs more for the upright title beside an elevation label of seven characters
/// ("-000.00", "0000.00"), so that an elevation of the survey range is never cut at the
/// widget's edge (a cut "629.00" reads "29.00").
///
/// It hosts one small item, `LhTableItem`, made by `setUpItem` from the window's section and
/// table model: the item's view paints the plot (grid, base profile, brush preview, current
/// profile with its end marks, polyline crossings, frame and axes, see `LhTableItemView`),
/// its controller selects points and offers "Enable Points" and "Disable Points"
/// (`LhTableItemController`). Without an item only the dark grey background is painted.
///
/// Fit (`setUpItem`, every resize): the current rows' bounding box (a box of no width taken
/// 10 m wide about it, likewise for no height) is centred at 90 % of the widget in both
/// directions, the scale reset to 1. A widget no larger than its margins is neither fitted
/// nor transformed by the margins, and paints its background only.
///
/// Input. Press, move, release and wheel go to the navigation first (Ctrl-drags pan and
/// zoom, the wheel zooms), then to the item's active mode; the press that starts a Ctrl-drag,
/// its moves and its release reach only the navigation. Keys and double clicks go to the mode
/// alone. A right click (press and release within 3 pixels) opens the item's menu. A failure
/// of a mode ends in an "Error" box with its message.
///
/// The base rows, auxiliary rows and crossings are the window's, borrowed; so are the
/// section and the model.
class CrossSectionLhView : public mvc::view::PrimitiveView {
    Q_OBJECT
public:
    class LhTableItem;
    class LhTableItemController;
    class LhTableItemView;
    class LhTableItemDrawer;

    using Rows = std::vector<CrossSectionLhTableRow>;

    static constexpr int LEFT_MARGIN = 55;
    static constexpr int TOP_MARGIN = 35;
    /// The axes' ticks point this many pixels out of the plot; labels keep `LABEL_GAP` from
    /// them.
    static constexpr double TICK = 10.0;
    static constexpr double LABEL_GAP = 2.0;

    explicit CrossSectionLhView(QWidget* parent = nullptr);
    ~CrossSectionLhView() override;

    /// Makes the item over the section and the model (the model's rows are the current
    /// profile) and fits the view.
    void setUpItem(CrossSectionItem* section, CrossSectionLhTableModel* model);
    /// The item; null before `setUpItem`.
    LhTableItem* item() const { return m_item.get(); }

    void setBaseRows(const Rows* rows);
    void setAuxiliaryRows(const Rows* rows);
    void setPolylineCrossings(const CrossSectionPolylineCrossings* crossings);
    /// The item's controller keeps the window: it drives the window's table selection and
    /// receives the window's `selectionChanged`.
    void connectToDialog(CrossSectionDialog* dialog);

    /// Each setter repaints; none does anything before `setUpItem`.
    void setGridWidthX(double width);
    void setGridWidthY(double width);
    void setShowGridX(bool show);
    void setShowGridY(bool show);
    void setShowBaseTin(bool show);
    /// The slope figures of the current profile on the active mode.
    void setShowDetail(bool show);

    /// See the class comment.
    void fit();
    /// The box `fit` frames for `rows`.
    static QRectF profileBox(const Rows& rows);
    /// The widget rectangle of the plot: the widget less its margins (pixels).
    QRectF plotRect() const;
    /// Whether the widget is larger than its margins in both directions.
    bool hasPlotArea() const;
    /// The width of the left strip in pixels for the widget's font (see the class comment).
    int leftMargin() const;

    /// The widget onto the plot rectangle: translated by the margins and scaled by
    /// (1 - leftMargin() / width, 1 - 35 / height); the identity while there is no plot area.
    QTransform modifyTransform() const override;

protected:
    QPixmap drawModel() override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    /// Runs `change` on the item, then repaints; nothing without an item.
    template <class Change> void changeItem(Change change);
    /// Runs one input hook of the item's controller; what it throws is shown, not passed on.
    template <class Hook> void toController(Hook hook);

    std::unique_ptr<LhTableItem> m_item;
};

} // namespace varnel
