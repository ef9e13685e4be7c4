#pragma once

#include "brask/core/ModelItemViewT.h"

namespace varnel {

class BackgroundImageItem;

/// Paints a background image on the main view: the whole picture, turned and scaled by its
/// placement and the view (the top-left pixel's corner at the placement's top-left corner),
/// sampled without smoothing. Nothing while hidden, for a null picture, or when the item's
/// box misses the rectangle being painted.
///
/// `hidden` is false on every new view and never saved. Cost: the painter transforms the
/// picture into the widget, so a repaint costs about the pixels it covers on the screen,
/// not the picture's size. Built and owned by the item.
class BackgroundImageItemView : public mvc::core::ModelItemViewT<BackgroundImageItem> {
public:
    explicit BackgroundImageItemView(const BackgroundImageItem* item);
    ~BackgroundImageItemView() override;

    bool isVisible() const;
    /// Clears `hidden` and repaints the main view.
    void show();
    /// Flips `hidden` and repaints the main view.
    void toggleVisibility();

protected:
    void doPaintMainView(QPainter* painter, const QTransform& transform,
                         const QRectF& rect) const override;

private:
    void repaint() const;

    bool m_hidden = false;
};

} // namespace varnel
