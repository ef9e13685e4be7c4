#include "movarin/survey/GcpSimilarityFit.h"

#include <common/exception/RuntimeException.h>

#include <cmath>
#include <vector>

namespace varnel {

namespace {

constexpr double pi = 3.141592653589793;

std::vector<GcpTableRow> enabledRows(const GcpTable& table)
{
    std::vector<GcpTableRow> rows;
    for (const GcpTableRow& row : table) {
        if (row.enabled) {
            rows.push_back(row);
        }
    }
    return rows;
}

bool sourcesCoincide(const std::vector<GcpTableRow>& rows)
{
    for (const GcpTableRow& row : rows) {
        if (row.srcX != rows.front().srcX || row.srcY != rows.front().srcY) {
            return false;
        }
    }
    return true;
}

/// The angle of (a, b) as the image setting stores it, in degrees.
double angleDegree(double a, double b)
{
    double radian = 0.0;
    if (a > 0.0) {
        radian = std::atan(-b / a);
    } else if (a < 0.0) {
        radian = std::atan(-b / a) + pi;
    } else {
        radian = b < 0.0 ? pi / 2.0 : -pi / 2.0;
    }
    return radian * 180.0 / pi;
}

} // namespace

gdalimg::GdalImageSetting GcpSimilarityFit::fit(const GcpTable& table)
{
    using common::exception::RuntimeException;
    const std::vector<GcpTableRow> rows = enabledRows(table);
    if (rows.size() < 2) {
        throw RuntimeException("Fewer than two enabled control points.");
    }
    if (sourcesCoincide(rows)) {
        throw RuntimeException("The enabled control points share one image position.");
    }

    const double n = static_cast<double>(rows.size());
    double sx = 0.0, sy = 0.0, mx = 0.0, my = 0.0;
    for (const GcpTableRow& row : rows) {
        sx += row.srcX;
        sy += row.srcY;
        mx += row.dstX;
        my += row.dstY;
    }
    sx /= n;
    sy /= n;
    mx /= n;
    my /= n;

    // With both sides centred the sums of the sources and of the destinations vanish, and
    // the normal equations reduce to a = Σ(u·x + v·y) / Σ(x² + y²), b = Σ(u·y − v·x) / Σ(x² + y²).
    double sxx = 0.0, sxu = 0.0, sc = 0.0;
    for (const GcpTableRow& row : rows) {
        const double x = row.srcX - sx;
        const double y = row.srcY - sy;
        const double u = row.dstX - mx;
        const double v = row.dstY - my;
        sxx += x * x + y * y;
        sxu += u * x + v * y;
        sc += u * y - v * x;
    }
    if (sxx == 0.0) {
        throw RuntimeException("The enabled control points share one image position.");
    }
    const double a = sxu / sxx;
    const double b = sc / sxx;
    const double tx = mx - (a * sx + b * sy);
    const double ty = my - (-b * sx + a * sy);
    const double scale = std::hypot(a, b);
    const double angle = angleDegree(a, b);
    if (!std::isfinite(a) || !std::isfinite(b) || !std::isfinite(tx) || !std::isfinite(ty)
        || !std::isfinite(scale) || !std::isfinite(angle)) {
        throw RuntimeException("The control points give no finite placement.");
    }
    if (scale < gdalimg::GdalImageSetting::scaleMin) {
        throw RuntimeException("The fitted scale is below the minimum: the map positions coincide.");
    }

    gdalimg::GdalImageSetting setting;
    setting.setAngle(angle);
    setting.setTopLeft(QPointF(tx, ty));
    setting.setScale(scale);
    return setting;
}

} // namespace varnel
