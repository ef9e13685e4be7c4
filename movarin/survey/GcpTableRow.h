#pragma once

#include <QPointF>

#include <unordered_set>
#include <vector>

namespace varnel {

/// One ground control point pair: a position picked in the georeference pane (source,
/// the pane's pixel frame: the image's top-left pixel at (0, 0), one unit per pixel,
/// columns towards +x, rows towards -y) and the matching position on the map
/// (destination, world metres). Only enabled pairs take part in the fit. New rows are
/// enabled and zero. A plain value, never written to a file: the pairs live as long as
/// the georeference dialog.
struct GcpTableRow {
    bool enabled = true;
    double srcX = 0.0;
    double srcY = 0.0;
    double dstX = 0.0;
    double dstY = 0.0;
};

/// The pane position of a pair.
inline QPointF gcpSource(const GcpTableRow& row)
{
    return QPointF(row.srcX, row.srcY);
}

/// The map position of a pair.
inline QPointF gcpDestination(const GcpTableRow& row)
{
    return QPointF(row.dstX, row.dstY);
}

/// The pairs of one georeferencing; a row's index is its identity everywhere (selection
/// sets, signals, painters).
using GcpTable = std::vector<GcpTableRow>;

/// A set of row indices of a `GcpTable`: the selection that the table, the pane and the
/// main view exchange. Signals and slots that carry it are declared with exactly this
/// name (`const GcpRowIndices&`, inside namespace varnel), so that connections made by
/// signature match on both sides.
using GcpRowIndices = std::unordered_set<GcpTable::size_type>;

} // namespace varnel
