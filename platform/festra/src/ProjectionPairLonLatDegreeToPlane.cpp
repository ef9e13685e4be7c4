#include "proj/ProjectionPairLonLatDegreeToPlane.h"

#include <proj.h>

#include <cmath>
#include <cstdio>
#include <mutex>
#include <vector>

namespace proj {

namespace {

std::vector<std::string> tokensOf(const std::string& definition)
{
    std::vector<std::string> tokens;
    std::size_t pos = 0;
    while (pos < definition.size()) {
        const std::size_t start = definition.find_first_not_of(" \t", pos);
        if (start == std::string::npos) {
            break;
        }
        std::size_t end = definition.find_first_of(" \t", start);
        if (end == std::string::npos) {
            end = definition.size();
        }
        tokens.push_back(definition.substr(start, end - start));
        pos = end;
    }
    return tokens;
}

bool startsWith(const std::string& token, const char* prefix)
{
    return token.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

/// The ellipsoid of a named datum as "+a=... +rf=..." (or "+R=..." for a sphere), asked of
/// PROJ; empty when PROJ does not know the datum.
std::string ellipsoidOfDatum(PJ_CONTEXT* context, const std::string& datumToken)
{
    const std::string crsDefinition = "+proj=longlat " + datumToken + " +type=crs";
    PJ* crs = proj_create(context, crsDefinition.c_str());
    if (!crs) {
        return {};
    }
    PJ* ellipsoid = proj_get_ellipsoid(context, crs);
    std::string result;
    double a = 0.0;
    double b = 0.0;
    int bComputed = 0;
    double inverseFlattening = 0.0;
    if (ellipsoid
        && proj_ellipsoid_get_parameters(context, ellipsoid, &a, &b, &bComputed,
                                         &inverseFlattening)) {
        char text[96];
        if (inverseFlattening == 0.0) {
            std::snprintf(text, sizeof text, "+R=%.17g", a);
        } else {
            std::snprintf(text, sizeof text, "+a=%.17g +rf=%.17g", a, inverseFlattening);
        }
        result = text;
    }
    if (ellipsoid) {
        proj_destroy(ellipsoid);
    }
    proj_destroy(crs);
    return result;
}

/// The definition as a bare projection on its own ellipsoid, as the `proj` program uses it:
/// without the datum shift (PROJ would first move a point given to a projection with
/// "+towgs84", "+nadgrids" or a shifted "+datum" as if it were on WGS 84) and without "+axis="
/// (the projection's own easting and northing are wanted). A datum is replaced by its
/// ellipsoid unless the definition gives its own. Empty when the datum is unknown.
std::string projectionOnly(PJ_CONTEXT* context, const std::string& definition)
{
    std::string datumToken;
    bool ownEllipsoid = false;
    std::string kept;
    for (const std::string& token : tokensOf(definition)) {
        if (startsWith(token, "+datum=")) {
            datumToken = token;
            continue;
        }
        if (startsWith(token, "+towgs84=") || startsWith(token, "+nadgrids=")
            || startsWith(token, "+geoidgrids=") || startsWith(token, "+axis=")) {
            continue;
        }
        if (startsWith(token, "+ellps=") || startsWith(token, "+a=") || startsWith(token, "+R=")) {
            ownEllipsoid = true;
        }
        if (!kept.empty()) {
            kept += ' ';
        }
        kept += token;
    }
    if (!datumToken.empty() && !ownEllipsoid) {
        const std::string ellipsoid = ellipsoidOfDatum(context, datumToken);
        if (ellipsoid.empty()) {
            return {};
        }
        kept += ' ';
        kept += ellipsoid;
    }
    return kept;
}

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

    ~Impl() { release(); }

    void release()
    {
        if (projection) {
            proj_destroy(projection);
            projection = nullptr;
        }
        if (context) {
            proj_context_destroy(context);
            context = nullptr;
        }
    }

    /// Makes the projection object on the first call; true when it is usable. Called with the
    /// mutex held.
    bool ready()
    {
        if (state == State::NotMade) {
            state = make() ? State::Ready : State::Rejected;
            if (state == State::Rejected) {
                release();
            }
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
        const std::string bare = projectionOnly(context, planeDefinition);
        if (bare.empty()) {
            return false;
        }
        projection = proj_create(context, bare.c_str());
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
