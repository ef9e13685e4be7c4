#pragma once

#include "brask/view/PrimitiveView.h"

namespace varnel {

class MoldItem;

/// The mold detail view: one mold shown enlarged, offset L across and height H up, where the
/// mold editor of the "Mold Setting" dialog works; the Mold Browser uses one as its
/// read-only preview. The painter helpers of the view (`MoldDetailViewHelperI`) convert with
/// its `conv`.
///
/// `setMoldItem` shows an item (null: none), registers the view with it (the editor's
/// messages and focus go here) and fits the view to the mold; the first resize fits again.
///
/// Input. Press, move, release and wheel go to the view's navigation first (Ctrl-drags pan
/// and zoom, the wheel zooms), then to the item's editor; a press that starts a Ctrl-drag,
/// the moves of the drag and its release reach only the navigation. Keys and double clicks
/// go to the editor alone: Return and Escape never reach the dialog behind the view. A
/// right click (press and release within 3 pixels) opens the editor's context menu while
/// the context-menu flag is set (it is at construction). An exception of the editor ends
/// here in an "Error" box with its message; the event is then dropped.
///
/// Painting: dark grey, then the item through its view (black on white, grid on) over the
/// drawn area. The view borrows the item; the item must outlive it or be replaced first.
class DetailView : public mvc::view::PrimitiveView {
    Q_OBJECT
public:
    explicit DetailView(QWidget* parent = nullptr);
    ~DetailView() override;

    MoldItem* moldItem() const;
    void setMoldItem(MoldItem* item);
    void setContextMenuEnabled(bool enabled);
    bool isContextMenuEnabled() const { return m_contextMenuEnabled; }

    /// Frames the mold's bounding rectangle (with the base point) at 90 % of the widget.
    /// A rectangle of no width (no item, no points, one spot) is taken 10 m wide around
    /// its left edge, likewise for its height.
    void fitToMold();

signals:
    /// A gesture of the editor ended with a defined mold.
    void moldDefined();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    QPixmap drawModel() override;

private:
    /// Runs one of the editor's hooks; what it throws is shown, not passed on.
    template <class Hook> void toEditor(Hook hook);

    MoldItem* m_moldItem = nullptr;
    bool m_contextMenuEnabled = true;
    bool m_fitted = false;
};

} // namespace varnel
