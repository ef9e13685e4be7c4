#include "brask/core/ModelItemView.h"

#include "brask/core/Model.h"
#include "brask/core/ModelItem.h"
#include "brask/util/MainViewHelperI.h"

namespace mvc::core {

ModelItemView::ModelItemView(const ModelItem* item) : m_item(item) {}

ModelItemView::~ModelItemView() = default;

void ModelItemView::paintMainView(QPainter* painter, const QTransform& transform,
                                  const QRectF& rect) const
{
    if (!m_item->isChecked()) {
        return;
    }
    const Model* model = m_item->model();
    if (model && model->selectedItem() == m_item) {
        doPaintMainViewOnSelected(painter, transform, rect);
    } else {
        doPaintMainView(painter, transform, rect);
    }
    paintChildrenMainView(painter, transform, rect);
}

void ModelItemView::paintChildrenMainView(QPainter* painter, const QTransform& transform,
                                          const QRectF& rect) const
{
    const auto& children = m_item->childItems();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        (*it)->view()->paintMainView(painter, transform, rect);
    }
}

void ModelItemView::paintHelpers(QPainter* painter, const QTransform& transform,
                                 const QRectF& rect) const
{
    for (util::MainViewHelperI* helper : m_viewHelpers) {
        helper->paintView(painter, transform, rect);
    }
}

bool ModelItemView::preparePaintMainView(const QTransform& transform, const QRectF& rect)
{
    if (!doPreparePaintMainView(transform, rect)) {
        return false;
    }
    const auto& children = m_item->childItems();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        if (!(*it)->view()->preparePaintMainView(transform, rect)) {
            return false;
        }
    }
    return true;
}

void ModelItemView::discardPaintCache()
{
    doDiscardPaintCache();
    for (const ModelItem* child : m_item->childItems()) {
        child->view()->discardPaintCache();
    }
}

std::vector<util::MainViewHelperI*>& ModelItemView::viewHelpers()
{
    return m_viewHelpers;
}

const std::vector<util::MainViewHelperI*>& ModelItemView::viewHelpers() const
{
    return m_viewHelpers;
}

void ModelItemView::doPaintMainView(QPainter*, const QTransform&, const QRectF&) const {}

void ModelItemView::doPaintMainViewOnSelected(QPainter* painter, const QTransform& transform,
                                              const QRectF& rect) const
{
    doPaintMainView(painter, transform, rect);
}

const ModelItem* ModelItemView::item() const
{
    return m_item;
}

View* ModelItemView::view() const
{
    const Model* model = m_item->model();
    return model ? model->view() : nullptr;
}

void ModelItemView::doDiscardPaintCache() {}

bool ModelItemView::doPreparePaintMainView(const QTransform&, const QRectF&)
{
    return true;
}

} // namespace mvc::core
