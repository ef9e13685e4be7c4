#include "proj/ProjectionPairLonLatDegreeToPlane.h"

#include <proj.h>

#include <cmath>
#include <mutex>

namespace proj {

namespace {

bool isUsable(const PJ_COORD& c)
{
    return std::isfinite(c.xy.x) && std::isfinite(c.xy.y) && c.xy.x != HUGE_VAL
        && c.xy.y != HUGE_VAL;
}

} // namespace

struct ProjectionPairLonLatDegreeToPlane::Impl
{
    enum class State
    {
        NotMade,
        Ready,
        Rejected
    };

    std::string geographicDefinition;
    std::string planeDefinition;

    std::mutex mutex;
    State state = State::NotMade;
    PJ_CONTEXT* context = nullptr;
    PJ* projection = nullptr;
    bool outputInDegrees = false;
    bool hasInverse = false;

    ~Impl()
    {
        if (projection) {
            proj_destroy(projection);
        }
        if (context) {
            proj_context_destroy(context);
        }
    }

    /// Makes the projection object on the first call; true when it is usable. Called with the
    /// mutex held.
    bool ready()
    {
        if (state == State::NotMade) {
            state = make() ? State::Ready : State::Rejected;
        }
        return state == State::Ready;
    }

    bool make()
    {
        context = proj_context_create();
        if (!context) {
            return false;
        }
        // A rejected definition is this pair's answer (false), not a message on stderr.
        proj_log_level(context, PJ_LOG_NONE);
        proj_context_set_enable_network(context, 0);
        projection = proj_create(context, planeDefinition.c_str());
        if (!projection) {
            return false;
        }
        // A coordinate system object ("+type=crs") or an operation that does not take
        // longitude and latitude is no projection from the geographic side.
        if (proj_is_crs(projection) || !proj_angular_input(projection, PJ_FWD)) {
            return false;
        }
        const PJ_PROJ_INFO info = proj_pj_info(projection);
        hasInverse = info.has_inverse != 0;
        outputInDegrees = proj_angular_output(projection, PJ_FWD) != 0;
        return true;
    }

    bool transform(PJ_DIRECTION direction, double a, double b, double& outA, double& outB)
    {
        if (!std::isfinite(a) || !std::isfinite(b)) {
            return false;
        }
        std::lock_guard<std::mutex> lock(mutex);
        if (!ready() || (direction == PJ_INV && !hasInverse)) {
            return false;
        }
        const bool angularIn = direction == PJ_FWD || outputInDegrees;
        const bool angularOut = direction == PJ_INV || outputInDegrees;
        PJ_COORD c = proj_coord(angularIn ? proj_torad(a) : a, angularIn ? proj_torad(b) : b,
                                0.0, 0.0);
        proj_errno_reset(projection);
        c = proj_trans(projection, direction, c);
        if (proj_errno(projection) != 0 || !isUsable(c)) {
            proj_errno_reset(projection);
            return false;
        }
        outA = angularOut ? proj_todeg(c.xy.x) : c.xy.x;
        outB = angularOut ? proj_todeg(c.xy.y) : c.xy.y;
        return true;
    }
};

ProjectionPairLonLatDegreeToPlane::ProjectionPairLonLatDegreeToPlane(
    const std::string& geographicDefinition, const std::string& planeDefinition)
    : m_impl(std::make_unique<Impl>())
{
    m_impl->geographicDefinition = geographicDefinition;
    m_impl->planeDefinition = planeDefinition;
}

ProjectionPairLonLatDegreeToPlane::~ProjectionPairLonLatDegreeToPlane() = default;

const std::string& ProjectionPairLonLatDegreeToPlane::geographicDefinition() const
{
    return m_impl->geographicDefinition;
}

const std::string& ProjectionPairLonLatDegreeToPlane::planeDefinition() const
{
    return m_impl->planeDefinition;
}

bool ProjectionPairLonLatDegreeToPlane::forward(double lonDeg, double latDeg, double& x,
                                                double& y) const
{
    return m_impl->transform(PJ_FWD, lonDeg, latDeg, x, y);
}

bool ProjectionPairLonLatDegreeToPlane::inverse(double x, double y, double& lonDeg,
                                                double& latDeg) const
{
    return m_impl->transform(PJ_INV, x, y, lonDeg, latDeg);
}

} // namespace proj
