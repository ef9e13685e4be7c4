#include "movarin/sections/CrossSectionGroupItemView.h"

#include "movarin/sections/CrossSectionGroupItem.h"
#include "movarin/sections/CrossSectionItem.h"
#include "movarin/sections/CrossSectionItemView.h"
#include "movarin/shell/BandPainter.h"

#include "brask/core/Model.h"

#include <QImage>
#include <QPainter>
#include <QRegion>

#include <array>
#include <typeinfo>
#include <vector>

namespace varnel {

namespace {

using Line = std::array<QPointF, 2>;

// The run of lines, in bands on several threads when it is long and the painter draws on a
// plain picture; otherwise one by one on the painter.
void paintRun(QPainter* painter, const std::vector<Line>& lines)
{
    if (lines.empty()) {
        return;
    }
    QImage* picture = painter->device() && painter->device()->devType() == QInternal::Image
                          ? static_cast<QImage*>(painter->device())
                          : nullptr;
    const bool plain = picture && painter->opacity() == 1.0
                       && painter->compositionMode() == QPainter::CompositionMode_SourceOver;
    const int bands = plain ? BandPainter::bandsFor(lines.size(), *picture) : 1;
    if (bands <= 1) {
        for (const Line& line : lines) {
            CrossSectionItemView::paintLine(painter, line.data());
        }
        return;
    }
    // The bands draw into the picture's own pixels while its painter waits here: an image
    // over the same memory, so that each band has a painter of its own (the bits are read
    // without detaching, which would leave the waiting painter on a copy).
    QImage pixels(const_cast<uchar*>(picture->constBits()), picture->width(), picture->height(),
                  picture->bytesPerLine(), picture->format());
    const QTransform world = painter->worldTransform();
    const bool clipped = painter->hasClipping();
    const QRegion clip = clipped ? painter->clipRegion() : QRegion();
    BandPainter::paint(&pixels, bands, painter->renderHints(), [&](QPainter* onBand, int) {
        onBand->setWorldTransform(world);
        if (clipped) {
            onBand->setClipRegion(clip, Qt::IntersectClip);
        }
        for (const Line& line : lines) {
            CrossSectionItemView::paintLine(onBand, line.data());
        }
    });
}

} // namespace

CrossSectionGroupItemView::CrossSectionGroupItemView(const CrossSectionGroupItem* item)
    : mvc::core::ModelItemViewT<CrossSectionGroupItem>(item)
{
}

CrossSectionGroupItemView::~CrossSectionGroupItemView() = default;

void CrossSectionGroupItemView::paintChildrenMainView(QPainter* painter,
                                                      const QTransform& transform,
                                                      const QRectF& rect) const
{
    const CrossSectionGroupItem* group = item();
    const mvc::core::Model* model = group->model();
    const mvc::core::ModelItem* selected = model ? model->selectedItem() : nullptr;
    std::vector<Line> run;
    const auto& children = group->childItems();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        mvc::core::ModelItem* child = *it;
        const auto* section = qobject_cast<const CrossSectionItem*>(child);
        const auto* sectionView =
            section ? dynamic_cast<const CrossSectionItemView*>(child->view()) : nullptr;
        if (sectionView && typeid(*sectionView) == typeid(CrossSectionItemView)
            && child != selected && child->childItems().empty()) {
            Line line;
            if (child->isChecked() && sectionView->widgetLine(line.data())) {
                run.push_back(line);
            }
            continue;
        }
        paintRun(painter, run);
        run.clear();
        child->view()->paintMainView(painter, transform, rect);
    }
    paintRun(painter, run);
}

} // namespace varnel
