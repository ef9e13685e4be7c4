#pragma once

#include <QSet>
#include <QWizardPage>

class QGroupBox;
class QRadioButton;

namespace guimisc::widget {
class RealNumberEditWidget;
}

namespace tinshp {

class ShpAttributeTable;
class ShpRecordTableWidget;

// The import wizard's page on which shapes to import: "All Items", those meeting a region
// ("Specify Region", with X min, Y min, X max and Y max), or rows picked in a table of the records
// ("Select Items"). The region fields and the table are enabled only while their choice is made.
class ShpImportItemPage : public QWizardPage
{
    Q_OBJECT
public:
    enum Choice { AllItems, SpecifyRegion, SelectItems };

    explicit ShpImportItemPage(QWidget* parent = nullptr);

    void setTable(const ShpAttributeTable& table);

    Choice choice() const;

    void setRegion(double xmin, double xmax, double ymin, double ymax);
    double xMin() const;
    double xMax() const;
    double yMin() const;
    double yMax() const;

    // The rows selected in the table now.
    QSet<int> selectedRows() const;

private:
    QRadioButton* m_allItems;
    QRadioButton* m_specifyRegion;
    QGroupBox* m_region;
    guimisc::widget::RealNumberEditWidget* m_xMin;
    guimisc::widget::RealNumberEditWidget* m_xMax;
    guimisc::widget::RealNumberEditWidget* m_yMin;
    guimisc::widget::RealNumberEditWidget* m_yMax;
    ShpRecordTableWidget* m_table;
};

} // namespace tinshp
