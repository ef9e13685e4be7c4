#pragma once

#include "orlin/core/PointSet.h"
#include "orlin/io/PointSetImporter.h"

#include <memory>

namespace proj {
class ProjectionPair;
}

namespace tingml::io {

/// Reader of the published JPGIS GML elevation models (DEM grid coverages) into survey points:
/// a single ".xml" file, or a ZIP archive of several.
///
/// Each grid cell with data gives one point at the cell's centre, converted from longitude and
/// latitude (degrees) to plane x (east) and y (north) by the projection pair's forward
/// conversion, with the tuple's elevation. A tuple of kind "データなし" or elevation -9999 gives
/// no point. Points are interned through the point factory and numbered 0 to n-1 in reading
/// order (files, then tuples in "+x-y" order); a cell read twice (a tile twice in an archive)
/// is one point with the number of its first reading.
///
/// The step k keeps the cells whose column and row, counted from the grid's low corner, are both
/// multiples of k; every file of an archive is thinned on its own grid. The region of the second
/// importPointSet is in plane coordinates, bounds inclusive, and is tested after the step.
///
/// A ZIP (recognised by its content, whatever its name) is unpacked with the zip tool of the
/// widget support library into a fresh folder inside the temporary folder, which is removed
/// again before the call returns; only its ".xml" members (any case), regular files only, are
/// read, in sorted name order, and members without an elevation grid are skipped. A member
/// named with "../" or an absolute path stays inside the folder.
///
/// Failures throw common::exception::RuntimeException (format faults its subclass
/// InvalidFileFormatException) with a message naming the file: a file that does not open,
/// malformed XML, a missing element, a value that is not a number, another sequence order,
/// more tuples than cells, an XML file or a whole ZIP without an elevation grid, an unzip that
/// does not start or ends with any exit code but 0, a missing projection pair or temporary
/// folder, a conversion that fails. Nothing is returned half-read.
///
/// The projection pair is borrowed and must outlive the calls. Cost: one streaming pass over
/// every file, one conversion per kept cell (the region test needs the plane position) and one
/// factory request per point; a file's tuples are held while it is read (8 bytes each).
class GmlPointSetImporter : public tin::io::PointSetImporter {
public:
    GmlPointSetImporter();
    ~GmlPointSetImporter() override;
    GmlPointSetImporter(const GmlPointSetImporter&) = delete;
    GmlPointSetImporter& operator=(const GmlPointSetImporter&) = delete;

    /// The folder (8-bit path) ZIP archives are unpacked in; it must exist. Not needed for XML.
    void setTempFolder(const char* folder);
    /// The plane coordinate system of the points (borrowed).
    void setProjectionPair(proj::ProjectionPair* pair);
    /// The thinning step, 1 (every cell, the default) or more; less throws RuntimeException.
    void setStep(int step);

    /// The box of the four converted envelope corners of every grid of the file: x1, y1 the
    /// minimum, x2, y2 the maximum (a null pointer is not written); the step plays no part.
    /// True when a grid was read. A file without any grid throws like every other fault above,
    /// so that the message names the file; false is left for a read without any grid that
    /// did not throw, which this reader does not make.
    bool boundingBox(const char* path, double* x1, double* y1, double* x2, double* y2) const;

    /// Every point of the file (8-bit path), after the step.
    tin::core::PointSet importPointSet(const char* path) const override;
    /// The points after the step that lie in the region (bounds inclusive); a region with a
    /// minimum above its maximum holds nothing.
    tin::core::PointSet importPointSet(const char* path, double xmin, double ymin, double xmax,
                                       double ymax) const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace tingml::io
