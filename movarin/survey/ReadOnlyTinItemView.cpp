#include "movarin/survey/ReadOnlyTinItemView.h"

#include "movarin/shell/Project.h"
#include "movarin/shell/SettingsKeys.h"
#include "movarin/shell/TinMainViewHelper.h"
#include "movarin/survey/ReadOnlyTinItem.h"

#include <QSettings>

namespace varnel {

ReadOnlyTinItemView::ReadOnlyTinItemView(const ReadOnlyTinItem* item)
    : mvc::core::ModelItemViewT<ReadOnlyTinItem>(item)
{
}

ReadOnlyTinItemView::~ReadOnlyTinItemView() = default;

void ReadOnlyTinItemView::doPaintMainView(QPainter* painter, const QTransform& transform,
                                          const QRectF& rect) const
{
    const tin::core::Tin* tin = item()->tin();
    const auto* project = qobject_cast<const Project*>(item()->project());
    if (!tin || !project) {
        return;
    }
    const bool showEdges = QSettings().value(settings::graphicsShowTinEdges, false).toBool();
    TinMainViewHelper::paintTin(painter, transform, rect, tin, project->elevationColorMapper(),
                                view(), showEdges);
}

void ReadOnlyTinItemView::doDiscardPaintCache()
{
    TinMainViewHelper::discardPaintCache(view());
}

} // namespace varnel
