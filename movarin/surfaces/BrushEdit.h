#pragma once

#include "movarin/surfaces/BrushSettings.h"
#include "movarin/surfaces/BrushSubdivision.h"

#include "orlin/core/Tin.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace tin::core {
class Point;
class Polygon;
class Triangle;
} // namespace tin::core

namespace varnel {

/// A brush edit that has not been committed yet: the triangles of the edited TIN that the
/// strokes replace (`removedTin`) and their finer replacements with the new elevations
/// (`addedTin`). The edited TIN itself is only read: its triangles and points never change.
///
/// Each application subdivides the edited TIN's triangles that meet the footprint and are not
/// yet replaced (`subdivide`, see `BrushSubdivision`), then raises, lowers or levels off the
/// points of `addedTin` in the footprint. Applications add up; a triangle replaced once keeps
/// its replacement, elevations included. At commit `subdividePeriphery` splits the triangles
/// just outside the region so that they meet its divided boundary.
///
/// Elevations are written in place only to points that this edit made (new from the point
/// factory, recorded when made and held by the edit until it is cleared). Any other point, a
/// vertex of the edited TIN or a point that an undone surface still holds, is replaced by the
/// factory's point at the new elevation in every triangle of `addedTin` that has it, so no
/// surface outside this edit and no vertex of the edited TIN ever moves.
///
/// An application whose subdivision would put more than `MAX_TRIANGLES_PER_APPLICATION`
/// triangles into `addedTin` is refused before anything changes. Sizes below
/// `BrushSettings::MIN_BRUSH_SIZE` are taken as that.
///
/// The TINs share triangles and points with the edited TIN. Not copyable; moving hands the
/// whole edit over. Single-threaded.
class BrushEdit {
public:
    using PointPtr = std::shared_ptr<tin::core::Point>;
    using TrianglePtr = std::shared_ptr<tin::core::Triangle>;

    /// What an application asks of the tool.
    enum class Outcome {
        /// Emit the preview (also when nothing lay under the brush).
        Preview,
        /// Emit nothing: levelling off found no point under the brush.
        NoPreview,
        /// Refused, nothing changed: the brush is too small for the triangles under it.
        TooManyTriangles
    };

    static constexpr std::size_t MAX_TRIANGLES_PER_APPLICATION = 200000;

    BrushEdit();
    BrushEdit(BrushEdit&& other) noexcept;
    BrushEdit& operator=(BrushEdit&& other) noexcept;
    BrushEdit(const BrushEdit&) = delete;
    BrushEdit& operator=(const BrushEdit&) = delete;
    ~BrushEdit();

    const tin::core::Tin& addedTin() const { return m_addedTin; }
    const tin::core::Tin& removedTin() const { return m_removedTin; }
    /// Whether strokes are brushed but not committed (`addedTin` is not empty).
    bool isPending() const { return !m_addedTin.empty(); }
    /// Forgets everything: both TINs and the points made.
    void clear();

    /// `levelOffElevation` when the settings say level off, else `modifyElevation`.
    Outcome apply(const tin::core::Tin& edited, const tin::core::Polygon& footprint, bool raise,
                  const BrushSettings& settings);
    /// Subdivides, then moves every point of `addedTin` in the footprint by the edit unit
    /// (negated when `raise` is false), up to the limit when it is enabled and `raise` is true.
    Outcome modifyElevation(const tin::core::Tin& edited, const tin::core::Polygon& footprint,
                            bool raise, const BrushSettings& settings);
    /// Subdivides, then with a positive unit lifts the points in the footprint that lie at or
    /// below the lowest one plus the unit to that plane (no higher than an enabled limit); with
    /// a unit of zero or less lowers those at or above the highest plus the unit (no lower than
    /// the limit).
    Outcome levelOffElevation(const tin::core::Tin& edited, const tin::core::Polygon& footprint,
                              const BrushSettings& settings);
    /// Replaces the triangles of `edited` that share an outer edge of `removedTin` but are not
    /// in it, each once, by their split on a centre point (see `BrushSubdivision`). An edge at
    /// the plan position of an outer edge counts as that edge: beside a vertical step it is
    /// divided at the same plan points.
    void subdividePeriphery(const tin::core::Tin& edited, const BrushSettings& settings);

    /// Moves the triangles of `edited` that meet the footprint and are not replaced yet into
    /// `removedTin` and their subdivision into `addedTin`; false, with nothing changed, when
    /// that would add more than `MAX_TRIANGLES_PER_APPLICATION` triangles.
    bool subdivide(const tin::core::Tin& edited, const tin::core::Polygon& footprint, double size,
                   double half);
    /// Gives `point`, a vertex of `addedTin`, the elevation z: in place when this edit made it,
    /// else through the factory's point at z in each of its triangles. Throws
    /// `common::exception::RuntimeException` "Fatal error in subdivideAndModifyElevation."
    /// when a triangle found at the point does not have it.
    void subdivideAndModifyElevation(const PointPtr& point, double z);

    /// Whether every triangle of `removedTin` is still a triangle of `edited`.
    bool isPartOf(const tin::core::Tin& edited) const;
    /// Whether the edit was made on the state `edited` is in now (always true when nothing is
    /// pending): false once the edited TIN changed after an application.
    bool isBasedOn(const tin::core::Tin& edited) const;

    /// The elevation the raise/lower rule gives a point at z, or nothing when it leaves the
    /// point as it is.
    static std::optional<double> raisedElevation(double z, bool raise, const BrushSettings& settings);
    /// The first point of the highest (lowest) elevation, in list order; null for none.
    static PointPtr highestPoint(const std::vector<PointPtr>& points);
    static PointPtr lowestPoint(const std::vector<PointPtr>& points);
    /// The size the brush works with: the setting, at least `BrushSettings::MIN_BRUSH_SIZE`.
    static double effectiveSize(const BrushSettings& settings);

private:
    /// Painters key their pictures on the TIN's revision, which an elevation written in place
    /// does not change: give `addedTin` a new one.
    void renewAddedTinRevision();
    void noteBase(const tin::core::Tin& edited);

    tin::core::Tin m_addedTin;
    tin::core::Tin m_removedTin;
    BrushSubdivision::CreatedPoints m_created;
    std::uint64_t m_baseRevision = 0;
    bool m_movedInPlace = false;
};

} // namespace varnel
