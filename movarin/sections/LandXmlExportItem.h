#pragma once

#include "movarin/sections/CrossSectionLhTableRow.h"
#include "movarin/sections/LandXmlExportSetting.h"

#include "brask/core/ModelItem.h"

#include <QString>

#include <vector>

class QXmlStreamWriter;

namespace tin::core {
class Polyline;
class Tin;
} // namespace tin::core

namespace varnel {

class CrossSectionItem;
class EditModeMainWindowModelRootItem;

/// The LandXML 1.2 export of an edit-mode project (entry 7 of the edit-mode root): an item
/// without browser row, view or controller, whose setting lives only while the program runs
/// (the root writes no element for it, and every export starts from the dialog's defaults).
///
/// `exportLandXml` asks for the file and the datums (`LandXmlExportDialog`, prefilled from
/// the project's coordinate system), writes the file and says so ("LandXML successfully
/// exported to %1."); any failure (open, write, close, rename, a number that cannot be
/// written) shows "LandXML export failed." and leaves an earlier file as it was, since the
/// file is written beside the target and renamed over it only when complete. A text the file
/// would carry (the dialog's texts, a section's name) that holds a control character (U+0000
/// to U+001F, U+007F) is refused before anything is written, with the warning "%1 holds a
/// control character.": XML 1.0 has no place for most of them, and a reader normalises the
/// others away.
///
/// The document, in this order: `Project` (with the property "applicationCriterion"),
/// `Application`, `CoordinateSystem` (with the property "differTP"), `Units`; with at least
/// one cross section the alignments "ldm" (through the sections' start points, a `PVI` per
/// section whose start lies on the edited TIN, and each section's base-TIN and edited-TIN
/// profiles, lengthened by the section's length beyond both ends, as `CrossSect` "<name>
/// original" and "<name> designed" at the section's station) and "rdm" (through the end
/// points); the bank alignments "lb" and "rb" along the reference polylines "1" and "4" of
/// two or more vertices, with a `PVI` at every vertex and every crossing with an edge of the
/// edited TIN where the TIN has an elevation; and the `Surfaces` "original" (base TIN) and
/// "designed" (edited TIN). Stations are cumulative plan distances; numbers are fixed with 3
/// decimals (`ExportNumberFormat`), except the L and H pairs of a profile's `PntList2D`,
/// which keep 6 significant digits (1234.5678 as "1234.57"); coordinate pairs are written
/// "y x". An empty profile
/// gives a `CrossSect` without surface and a TIN without triangles a `Surface` without
/// `Definition`, so that every file validates against the LandXML 1.2 schema.
///
/// The only change to the project: the points of each TIN take the numbers of their `P`
/// elements as ids (a point shared by both TINs keeps the edited TIN's).
class LandXmlExportItem : public mvc::core::ModelItem {
    Q_OBJECT
public:
    explicit LandXmlExportItem(mvc::core::ModelItem* parent);
    ~LandXmlExportItem() override;

    /// The dialog, then the file and a message box; Cancel does nothing.
    void exportLandXml();

    const LandXmlExportSetting& setting() const;
    void setSetting(const LandXmlExportSetting& setting);
    /// Writes the project to the setting's file. Throws (`common::exception` classes, with the
    /// path) when it cannot be written or a text holds a control character; the target then
    /// is as it was.
    void writeFile();

    /// Appends the `Surface` `name` with its `desc` and, when `tin` holds triangles, its
    /// `Definition`: the corners numbered from 1 in order of first use over the triangle set
    /// (`P` with "y x z"), then one `F` per triangle with the numbers of its corners in
    /// order. The numbers become the points' ids. The points and faces go to the writer's
    /// device as bytes (the writer must write to a device), indented for a surface inside
    /// `Surfaces`; cost linear in the triangles, no allocation per point.
    static void writeSurface(QXmlStreamWriter* writer, const QString& name, const QString& desc,
                             const tin::core::Tin* tin);

protected:
    void doLoadFromProjectMainFile(const QDomElement& element) override;
    void doSaveToProjectMainFile(QXmlStreamWriter* writer) override;

private:
    void writeLandXml(QXmlStreamWriter* writer);
    void writeProject(QXmlStreamWriter* writer) const;
    static void writeApplication(QXmlStreamWriter* writer);
    void writeCoordinateSystem(QXmlStreamWriter* writer) const;
    static void writeUnits(QXmlStreamWriter* writer);
    void writeLeftDistanceMarks(QXmlStreamWriter* writer,
                                const std::vector<CrossSectionItem*>& sections) const;
    static void writeRightDistanceMarks(QXmlStreamWriter* writer,
                                        const std::vector<CrossSectionItem*>& sections);
    void writeBankAlignment(QXmlStreamWriter* writer, const QString& code, const QString& name,
                            const tin::core::Polyline& polyline) const;
    void writeSurfaces(QXmlStreamWriter* writer) const;
    static void writeCrossSect(QXmlStreamWriter* writer, const QString& name, double station,
                               const QString& surfaceName,
                               const std::vector<CrossSectionLhTableRow>& rows);
    static void writePntList2D(QXmlStreamWriter* writer,
                               const std::vector<CrossSectionLhTableRow>& rows);

    /// The first text the file would carry that holds a control character; null when none.
    QString textWithControlCharacter() const;
    EditModeMainWindowModelRootItem* rootItem() const;
    std::vector<CrossSectionItem*> crossSections() const;
    const tin::core::Tin* editedTin() const;

    LandXmlExportSetting m_setting;
};

} // namespace varnel
