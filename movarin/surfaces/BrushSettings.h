#pragma once

namespace varnel {

/// The five brush settings as one value, the way the brush reads them from the GeoEdit
/// surface group's controller at each application (see `BrushEdit`). Lengths in metres.
struct BrushSettings {
    /// The smallest size the brush works with.
    static constexpr double MIN_BRUSH_SIZE = 0.1;

    /// Side of the square brush; also the shortest edge that is divided. At least 0.10 when
    /// it comes from the settings dialog.
    double brushSize = 5.0;
    /// Elevation step of one application; may be negative (raising then lowers).
    double brushEditUnit = 0.1;
    /// The elevation that raising (lowering) stops at, when enabled.
    double brushLimit = 0.0;
    bool brushLimitEnabled = false;
    /// Level the points off instead of raising or lowering them.
    bool brushLevelOff = false;

    /// The spacing of division points: half the size.
    double halfSize() const { return brushSize * 0.5; }
};

} // namespace varnel
