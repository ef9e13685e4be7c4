#pragma once

#include <vector>

class QPainter;
class QRectF;
class QTransform;

namespace mvc::util {
class MainViewHelperI;
}

namespace mvc::core {

class ModelItem;
class View;

/// Paints one item on the main view, then its subtree: the children from the last to the
/// first, so that the first child lies on top. An item whose row is not checked paints
/// nothing, not even its children. While the item is its model's selected item it paints
/// through `doPaintMainViewOnSelected`.
///
/// The view also keeps the list of view helpers that the item's active interaction mode
/// wants painted (not owned: they belong to the selection helper that put them there); the
/// main view paints them separately.
///
/// A view that caches its drawing drops the cache in `doDiscardPaintCache`; the update-view
/// command and `View::updateView` call `discardPaintCache` on the root item's view before
/// repainting, so that an edit is painted from the data. Built by the item's `buildView`
/// and owned by the item.
class ModelItemView {
public:
    explicit ModelItemView(const ModelItem* item);
    ModelItemView(const ModelItemView&) = delete;
    ModelItemView& operator=(const ModelItemView&) = delete;
    virtual ~ModelItemView();

    virtual void paintMainView(QPainter* painter, const QTransform& transform,
                               const QRectF& rect) const;
    /// Paints the listed view helpers in list order.
    virtual void paintHelpers(QPainter* painter, const QTransform& transform,
                              const QRectF& rect) const;

    /// `doPreparePaintMainView` of this view, then of the children's views from the last to
    /// the first; false at the first that fails.
    bool preparePaintMainView(const QTransform& transform, const QRectF& rect);
    /// `doDiscardPaintCache` of this view, then of the children's views in child order.
    void discardPaintCache();
    std::vector<util::MainViewHelperI*>& viewHelpers();
    const std::vector<util::MainViewHelperI*>& viewHelpers() const;

protected:
    virtual void doPaintMainView(QPainter* painter, const QTransform& transform,
                                 const QRectF& rect) const;
    /// By default `doPaintMainView`.
    virtual void doPaintMainViewOnSelected(QPainter* painter, const QTransform& transform,
                                           const QRectF& rect) const;
    /// Paints the children's views, by default each through its `paintMainView`, from the
    /// last child to the first.
    virtual void paintChildrenMainView(QPainter* painter, const QTransform& transform,
                                       const QRectF& rect) const;

    const ModelItem* item() const;
    /// The main view of the item's model, or null.
    View* view() const;

private:
    virtual void doDiscardPaintCache();
    virtual bool doPreparePaintMainView(const QTransform& transform, const QRectF& rect);

    std::vector<util::MainViewHelperI*> m_viewHelpers;
    const ModelItem* m_item;
};

} // namespace mvc::core
