#pragma once

#include "proj/ProjectionPair.h"

#include <memory>
#include <string>

namespace proj {

/// A projection pair given by two PROJ.4 definitions: geographic longitude and latitude in
/// degrees on the definition's ellipsoid or datum (for example "+proj=latlong +datum=WGS84") to a
/// plane or geographic coordinate system (for example "+proj=utm +zone=60 +south +datum=WGS84
/// +units=m +no_defs").
///
/// The conversion is the plane definition used as a projection on its own ellipsoid: no datum
/// shift is applied (a "+towgs84" or grid parameter does not move the point), so the result is
/// what PROJ's `proj` program gives for the same definition. Units and a prime meridian of the
/// definition are applied. For a geographic target the result is in degrees.
///
/// Construction only stores the two definitions: the projection object is made on the first
/// conversion, so that a catalogue of thousands of pairs costs no projection work until one is
/// used. A definition the projection library rejects makes every conversion of this pair return
/// false; it never throws. Each pair keeps its own projection context, so that pairs can convert
/// on different threads; the calls on one pair are serialised.
class ProjectionPairLonLatDegreeToPlane : public ProjectionPair
{
public:
    ProjectionPairLonLatDegreeToPlane(const std::string& geographicDefinition,
                                      const std::string& planeDefinition);
    ~ProjectionPairLonLatDegreeToPlane() override;

    /// The two definitions as given to the constructor.
    const std::string& geographicDefinition() const;
    const std::string& planeDefinition() const;

    bool forward(double lonDeg, double latDeg, double& x, double& y) const override;
    bool inverse(double x, double y, double& lonDeg, double& latDeg) const override;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace proj
