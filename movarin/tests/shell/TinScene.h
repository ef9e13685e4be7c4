#pragma once

// A main view whose model holds one item that paints a TIN the way the application's TIN
// items do: through TinMainViewHelper::paintTin with the setting "graphics/show_tin_edges"
// read at every paint, handing the framework's paint-cache discards on to the helper.
// Header only: the shell tests and the TIN painting benchmark share it.

#include "movarin/shell/SettingsKeys.h"
#include "movarin/shell/TinMainViewHelper.h"

#include "brask/core/Model.h"
#include "brask/core/ModelItem.h"
#include "brask/core/ModelItemView.h"
#include "brask/core/ModelRootItem.h"
#include "brask/core/View.h"
#include "orlin/core/Rect.h"
#include "orlin/core/Tin.h"

#include <guimisc/colormapper/ElevationColorMapper.h>

#include <QImage>
#include <QPixmap>
#include <QSettings>

namespace varnel::test {

class TinSceneItem : public mvc::core::ModelItem {
public:
    TinSceneItem(const tin::core::Tin* tin,
                 const guimisc::colormapper::ElevationColorMapper* colors)
        : ModelItem(nullptr), m_tin(tin), m_colors(colors)
    {
    }

    QRectF myBoundingBox() const override
    {
        const tin::core::Rect r = m_tin->boundingRect();
        return r.isValid() ? QRectF(r.xMin(), r.yMin(), r.width(), r.height()) : QRectF();
    }

protected:
    mvc::core::ModelItemView* buildView() const override;

private:
    friend class TinSceneItemView;
    const tin::core::Tin* m_tin;
    const guimisc::colormapper::ElevationColorMapper* m_colors;
};

class TinSceneItemView : public mvc::core::ModelItemView {
public:
    explicit TinSceneItemView(const TinSceneItem* item) : ModelItemView(item) {}

protected:
    void doPaintMainView(QPainter* painter, const QTransform& transform,
                         const QRectF& rect) const override
    {
        const auto* tinItem = static_cast<const TinSceneItem*>(item());
        const bool edges = QSettings().value(settings::graphicsShowTinEdges).toBool();
        TinMainViewHelper::paintTin(painter, transform, rect, tinItem->m_tin, tinItem->m_colors,
                                    view(), edges);
    }

private:
    void doDiscardPaintCache() override { TinMainViewHelper::discardPaintCache(view()); }
};

inline mvc::core::ModelItemView* TinSceneItem::buildView() const
{
    return new TinSceneItemView(this);
}

class TinSceneModel : public mvc::core::Model {
public:
    explicit TinSceneModel(mvc::core::View* view) : Model(nullptr, view, nullptr, nullptr)
    {
        setRootItem(new mvc::core::ModelRootItem(this));
    }
};

/// A view of `size` showing `tin` coloured by `colors` (both borrowed), fitted on the TIN.
class TinScene {
public:
    TinScene(const tin::core::Tin* tin, const guimisc::colormapper::ElevationColorMapper* colors,
             const QSize& size)
        : m_model(&m_view)
    {
        m_item = new TinSceneItem(tin, colors);
        m_item->setParent(m_model.rootItem());
        m_model.rootItem()->attachChildAtBack(m_item);
        m_view.setModel(&m_model);
        m_view.resize(size);
        m_view.fit();
    }

    mvc::core::View& view() { return m_view; }
    mvc::core::Model& model() { return m_model; }

    /// What the view shows after a repaint.
    QImage grab() { return m_view.grab().toImage(); }

private:
    mvc::core::View m_view;
    TinSceneModel m_model;
    TinSceneItem* m_item;
};

} // namespace varnel::test
