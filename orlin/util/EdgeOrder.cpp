#include "orlin/util/EdgeOrder.h"

#include <algorithm>
#include <functional>
#include <tuple>

#include "orlin/core/Edge2D.h"
#include "orlin/core/Point2DI.h"

namespace tin {
namespace util {

bool EdgeOrder::operator()(std::shared_ptr<core::Edge2D> const& a,
                           std::shared_ptr<core::Edge2D> const& b) const
{
    if (a == b) {
        return false;
    }
    auto const& a1 = *a->point1();
    auto const& a2 = *a->point2();
    auto const& b1 = *b->point1();
    auto const& b2 = *b->point2();

    double const ay = std::min(a1.y(), a2.y());
    double const by = std::min(b1.y(), b2.y());
    if (ay != by) {
        return ay < by;
    }
    double const ax = std::min(a1.x(), a2.x());
    double const bx = std::min(b1.x(), b2.x());
    if (ax != bx) {
        return ax < bx;
    }
    // The factory puts the end with the smaller x (then y) first, so every direction lies in
    // the half-plane x > 0 or on the +y axis; there the sign of the cross product orders
    // directions by angle, which is transitive.
    double const dax = a2.x() - a1.x(), day = a2.y() - a1.y();
    double const dbx = b2.x() - b1.x(), dby = b2.y() - b1.y();
    double const cross = dax * dby - day * dbx;
    if (cross != 0.0) {
        return cross > 0.0;
    }
    double const la = dax * dax + day * day;
    double const lb = dbx * dbx + dby * dby;
    if (la != lb) {
        return la < lb;
    }
    auto const key = [](core::Point2DI const& p, core::Point2DI const& q) {
        return std::make_tuple(p.y(), p.x(), q.y(), q.x());
    };
    auto const ka = key(a1, a2);
    auto const kb = key(b1, b2);
    if (ka != kb) {
        return ka < kb;
    }
    return std::less<core::Edge2D const*>()(a.get(), b.get());
}

}  // namespace util
}  // namespace tin
