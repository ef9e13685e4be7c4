#pragma once

#include "brask/view/PrimitiveView.h"

namespace varnel {

class BackgroundImageItem;
class BackgroundImageItemGeoreferenceDialog;
class GcpTableModel;

/// The image pane of the georeference dialog: a background image shown in its own pixel
/// frame, where the image positions (sources) of ground control points are added,
/// selected, dragged and deleted.
///
/// Pane coordinates. The image's top-left pixel corner lies at world (0, 0), one unit per
/// pixel, x to the right and y upwards, so the pixel at column c and row r is (c, -r);
/// the sources of the GCP table are kept in these coordinates. The pane is never turned,
/// whatever the image's placement on the map.
///
/// The logic lives in a small item, controller and view of the pane's own (`ImageItem`,
/// `ImageItemController`, `ImageItemView`) and in the controller's tools. Input: press,
/// move, release and wheel go to the pane's navigation first (Ctrl-drags pan and zoom, the
/// wheel zooms), then to the controller's active tool; a press that starts a Ctrl-drag,
/// the moves of the drag and its release reach only the navigation. A right click (press
/// and release within 3 pixels) opens the item's menu ("Delete Points"). Double clicks and
/// keys go to the tool alone; keys never reach the dialog behind the pane.
///
/// The painter helpers of the pane (`GeoreferenceViewHelper`) convert with its `conv`.
/// The pane owns its image item; the background image item and the table model are
/// borrowed and must outlive it.
class GeoreferenceView : public mvc::view::PrimitiveView {
    Q_OBJECT
public:
    class ImageItem;
    class ImageItemController;
    class ImageItemView;

    explicit GeoreferenceView(QWidget* parent = nullptr);
    ~GeoreferenceView() override;

    /// Shows `image`'s picture with the pairs of `model` and fits it into the pane. A
    /// second call replaces the first.
    void setImageItem(BackgroundImageItem* image, GcpTableModel* model);
    /// Lets the pane's controller mirror selections into `dialog`'s table and follow the
    /// table's selection (by signature: the dialog's `selectionChanged`).
    void connectDialog(BackgroundImageItemGeoreferenceDialog* dialog);
    /// Shows the whole image: the scale is the smaller of the pane's width over the
    /// image's width and its height over the image's height, the centre the image's
    /// middle pixel, (⌊(W−1)/2⌋, −⌊(H−1)/2⌋). A null picture (a file missing at load) gives
    /// scale 1 and centre (0, 0).
    void fitImage();
    /// Null until `setImageItem`.
    ImageItem* imageItem() const { return m_imageItem; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    /// The first resize fits the image.
    void resizeEvent(QResizeEvent* event) override;
    /// Dark grey, the image and the helpers of the active tool.
    QPixmap drawModel() override;

private:
    ImageItem* m_imageItem = nullptr;
    bool m_fitted = false;
};

} // namespace varnel
