#pragma once

#include "movarin/sections/GridSectionRow.h"

#include <QObject>
#include <QString>

#include <array>
#include <vector>

class QWidget;

namespace varnel {

class CrossSectionItem;
class EditModeMainWindowModel;
class GeoDataPolylineItem;
class ZindralExportSetting;

/// Writes the three comma-separated input files of the Zindral grid model into the
/// setting's folder, in Shift-JIS with line feeds, each a header copied from the program's
/// resources (":/data/znd/...") followed by its data between "[start]" and "[end]":
/// - "ZND_kilometer-post.csv": the coordinate system (and its zone for systems 3 to 6), then
///   per cross section river name, survey date, section name and its start (left bank) and
///   end (right bank), "y,x" each;
/// - "ZND_longitudinal_section.csv": per cross section the cumulative and the interval plan
///   distance between the points where consecutive sections cross the reference line "C"
///   (67 fields on the first line, with the model's fixed coefficients in columns 48 to 58;
///   5 on the others);
/// - "ZND_cross_section.csv": per cross section a block of rows L, z, panel, roughness, dead
///   area, vegetation height, (branch length), vegetation density, (tree type): the profile of
///   the edited TIN along the section, with a row put in wherever a reference line "1" to "4"
///   crosses (its number as panel) and wherever a polygon of the groups "roughness",
///   "deadarea", "vegetationheight" and "vegetationdensity" begins or ends along the section.
///   A stretch between two rows takes the value of the topmost polygon of each group that
///   covers it (defaults 0.02, 0, 0, 0). A row put in copies the panel of the row before it
///   and the values of the row after it (the stretch it divides), its z interpolated; rows
///   never reach beyond the profile's first and last L, and a section off the TIN writes its
///   block's head only.
/// Numbers are fixed with 3 decimals (`ExportNumberFormat`).
///
/// The reference lines are looked up by caption in "Reference Information"
/// (`GeoDataGroupItem::polylineByCaption`, "c" or "C").
///
/// Refusals, each a box on the main window, in this order: no folder given or the folder
/// missing; a reference line missing, two reference lines meeting, a section that does not
/// cross each reference line exactly once (one point or one shared stretch; a section of
/// zero length, which crosses none, is named with all five); a river name, survey date or
/// section name holding a comma or a line break, a control character (U+0000 to U+001F,
/// U+007F) or a character that Shift-JIS cannot encode; a failure of the geometry library.
/// All three texts are made and encoded before the first file is written, so a refusal
/// writes nothing. The three are written beside their targets and put in place together
/// once all are complete (`SafeFileWriter::writeBinarySet`): a failed write stops the
/// export with "Cannot write <path>." and leaves all three files as they were.
///
/// Static operations only; a `QObject` for its messages' translation context.
class ZindralGridExporter : public QObject {
    Q_OBJECT
public:
    /// True when the three files were written; false after a box said why not.
    static bool exportGrid(const ZindralExportSetting& setting, EditModeMainWindowModel* model);

private:
    using Rows = std::vector<GridSectionRow>;
    /// Reference lines "1", "2", "3", "4" and "C"; null where missing.
    using ReferencePolylines = std::array<GeoDataPolylineItem*, 5>;

    static bool checkFolder(QWidget* parent, const QString& folder);
    static bool checkReferencePolylines(QWidget* parent, const ReferencePolylines& polylines,
                                        const std::vector<CrossSectionItem*>& sections);
    static bool checkTexts(QWidget* parent, const QStringList& texts);
    static void writeKilometerPostFile(QString* text, const ZindralExportSetting& setting,
                                       const std::vector<CrossSectionItem*>& sections);
    static void writeLongitudinalSectionFile(QString* text, const ZindralExportSetting& setting,
                                             const std::vector<CrossSectionItem*>& sections,
                                             const GeoDataPolylineItem* centre);
    static void writeCrossSectionFile(QString* text, const ZindralExportSetting& setting,
                                      const std::vector<CrossSectionItem*>& sections,
                                      const ReferencePolylines& polylines);
    static Rows buildSectionRows(const CrossSectionItem& section,
                                 const ReferencePolylines& polylines);
    /// The index of the row at `x`, a row put in there when none is; `x` must lie within the
    /// first and the last row's L.
    static std::size_t rowAt(Rows* rows, double x);
};

} // namespace varnel
