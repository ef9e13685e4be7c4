#pragma once

#include <memory>
#include <string>

namespace proj {

/// A named pair of coordinate systems with the conversion between them.
///
/// The pair carries a name (for the EPSG catalogue "EPSG:" and the code; projects save it and
/// look the system up by it), a caption (the system's human-readable description, shown in the
/// user interface) and the conversion from geographic longitude and latitude in degrees to the
/// pair's target system (`forward`) and back (`inverse`). Name and caption are 8-bit strings,
/// empty until set.
///
/// The conversions never throw: a point that cannot be converted, or a pair whose definition
/// the projection library rejects, gives false, and the outputs are then left unchanged.
///
/// Not copyable; a catalogue owns its pairs and hands out pointers that callers borrow. The
/// conversions of one pair may be called from several threads; name and caption are set once by
/// whoever builds the pair, before it is shared.
class ProjectionPair
{
public:
    ProjectionPair();
    ProjectionPair(const ProjectionPair&) = delete;
    ProjectionPair& operator=(const ProjectionPair&) = delete;
    virtual ~ProjectionPair();

    const std::string& name() const;
    void setName(const std::string& name);

    const std::string& caption() const;
    void setCaption(const std::string& caption);

    /// The text a search filter is matched against: name and caption, separated by a blank, in
    /// lower case (ASCII letters only), so that a lower-cased filter finds the pair whatever case
    /// the user typed. Computed on every call, so it follows later setName and setCaption.
    std::string searchTarget() const;

    /// Longitude and latitude in degrees to the target system: (x, y) in the target's units
    /// (metres for most plane systems, degrees for a geographic target). False when the point or
    /// the pair cannot be converted; x and y are then unchanged.
    virtual bool forward(double lonDeg, double latDeg, double& x, double& y) const = 0;

    /// The reverse of forward: target coordinates to longitude and latitude in degrees. False
    /// when the point cannot be converted or the target has no reverse; the outputs are then
    /// unchanged.
    virtual bool inverse(double x, double y, double& lonDeg, double& latDeg) const = 0;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace proj
