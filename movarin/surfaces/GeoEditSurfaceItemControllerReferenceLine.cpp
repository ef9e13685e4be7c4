#include "movarin/surfaces/GeoEditSurfaceItemControllerReferenceLine.h"

namespace varnel {

using Self = GeoEditSurfaceItemController::ReferenceLine;

bool Self::operator==(const ReferenceLine& other) const
{
    return defined == other.defined && direction.x() == other.direction.x()
        && direction.y() == other.direction.y();
}

Self Self::defaultFor(const std::vector<tin::core::Point>& path, std::size_t i)
{
    ReferenceLine line;
    if (i > 0 && i < path.size()) {
        line.direction = tin::core::Point2D(path[i].x() - path[i - 1].x(),
                                            path[i].y() - path[i - 1].y());
    }
    return line;
}

GeoEditSurfaceItemController::ReferenceLines Self::defaultsFor(
    const std::vector<tin::core::Point>& path)
{
    ReferenceLines lines;
    for (std::size_t i = 0; i + 1 < path.size(); ++i) {
        lines.push_back(defaultFor(path, i));
    }
    return lines;
}

void Self::afterInsert(ReferenceLines& lines, const std::vector<tin::core::Point>& path,
                       std::size_t index)
{
    const std::size_t n = path.size();
    if (n < 2) {
        lines.clear();
        return;
    }
    const auto at = [&lines](std::size_t k) {
        return lines.begin() + static_cast<std::ptrdiff_t>(std::min(k, lines.size()));
    };
    if (index == 0) {
        lines.insert(at(0), defaultFor(path, 0));
        refresh(lines, path, 1);
    } else if (index == n - 1) {
        // The former last vertex starts a segment now.
        lines.insert(at(index - 1), defaultFor(path, index - 1));
    } else {
        refresh(lines, path, index - 1);
        lines.insert(at(index), defaultFor(path, index));
        refresh(lines, path, index + 1);
    }
}

void Self::afterRemove(ReferenceLines& lines, const std::vector<tin::core::Point>& path,
                       std::size_t index)
{
    if (lines.empty()) {
        return;
    }
    const std::size_t n = path.size();
    if (index >= n) {
        lines.pop_back();
    } else if (index < lines.size()) {
        lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(index));
        // The vertex that followed now arrives from another one (the first has no arrival).
        refresh(lines, path, index);
    }
    if (n < 2) {
        lines.clear();
    }
}

void Self::afterMove(ReferenceLines& lines, const std::vector<tin::core::Point>& path,
                     std::size_t index)
{
    refresh(lines, path, index);
    refresh(lines, path, index + 1);
}

void Self::refresh(ReferenceLines& lines, const std::vector<tin::core::Point>& path,
                   std::size_t k)
{
    if (k < lines.size() && !lines[k].defined) {
        lines[k] = defaultFor(path, k);
    }
}

} // namespace varnel
