#pragma once

#include "brask/util/MainViewHelperI.h"

#include <vector>

namespace tin::core {
class Edge;
}

namespace varnel {

/// TIN edges on the main view: one line per edge of a borrowed vector, from its first end to
/// its second, drawn in one call with the helper's pen and brush; the painter's pen and brush
/// are restored. The vector (and the edges' points) are read at every paint and must outlive
/// the helper; a null vector draws nothing.
class EdgesMainViewHelper : public mvc::util::MainViewHelperI {
public:
    EdgesMainViewHelper(const std::vector<tin::core::Edge*>* edges, mvc::core::View* view,
                        const QPen& pen);
    EdgesMainViewHelper(const std::vector<tin::core::Edge*>* edges, mvc::core::View* view,
                        const QPen& pen, const QBrush& brush);

    void paintView(QPainter* painter, const QTransform& transform, const QRectF& rect) override;

private:
    const std::vector<tin::core::Edge*>* m_edges;
};

} // namespace varnel
