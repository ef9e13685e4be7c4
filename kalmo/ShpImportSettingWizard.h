#pragma once

#include <QVariant>
#include <QWizard>

#include <memory>
#include <string>

namespace tin::core {
class Geometry;
}

namespace tinshp {

// Sets up the import of a shapefile's shapes: where each new item's name and value come from (a
// column of the attribute table, an automatic name, or the value of an editor the caller
// supplies), and which shapes to take (all, those whose bounding box meets a region, or the rows
// picked in a table). The caller runs it with exec(), then reads the shapes and asks isTarget()
// shape by shape.
//
// The attribute table is read once, when the wizard is made, decoded with the codec of the system
// locale; a table that does not open leaves the tables and column lists empty (indexes -1), and
// one that claims more records than its file holds makes the constructor throw
// common::exception::InvalidFileFormatException naming the ".dbf", for the caller's command to
// show. Cells are as ShpAttributeTable gives them. The wizard owns its pages and the hosted editor.
class ShpImportSettingWizard : public QWizard
{
    Q_OBJECT
public:
    enum NameSetting { NameFromColumn = 0, NameAutomatic = 1 };
    enum ValueSetting { ValueFromColumn = 0, ValueSpecified = 1 };
    // Kept for the caller; the wizard does not look at it.
    enum ValueType { ValueNone = 0, ValueEnum = 1, ValueReal = 2 };

    // shpPath: the ".shp", 8-bit bytes (UTF-8 here).
    explicit ShpImportSettingWizard(const std::string& shpPath, QWidget* parent = nullptr);
    ~ShpImportSettingWizard() override;

    NameSetting nameSetting() const;
    int nameIndex() const;
    ValueSetting valueSetting() const;
    int valueIndex() const;

    // The cell of record row, field col as read into the tables; invalid outside the table.
    QVariant getValue(int row, int col) const;

    // Whether shape i, of this geometry, is to be imported. "All Items": always. "Select Items":
    // when row i was selected at the first call of isTarget (later selections change nothing).
    // "Specify Region": when the bounding box of the polygon or polyline meets the region, edges
    // touching included (any other geometry counts as the point box at the origin).
    bool isTarget(int i, const tin::core::Geometry* geometry);

    // Fills the region fields.
    void setDefaultRegion(double xmin, double xmax, double ymin, double ymax);
    // Hosts the caller's value editor under "Specify value"; the wizard takes it over.
    void setValueSpecifyWidget(QWidget* widget);
    void setValueType(ValueType type);
    QString codecName() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace tinshp
