#pragma once

#include <QDialog>

#include <memory>
#include <vector>

namespace proj {
class ProjectionPair;
}

namespace guiproj {

class EllipseToPlaneProjectionPairBuilder;

/// Picks the project's coordinate system from the EPSG catalogue by typing part of its name.
///
/// Lists the row "(Not Specified)" and then, in catalogue order, every pair whose search target
/// (festra: name and caption, lower case) contains the lower-cased text of the search field. The
/// current pair follows the selected row; a filter that hides the current pair selects
/// "(Not Specified)", and the current pair stays null when the filter is cleared again.
///
/// The catalogue and the pairs are borrowed: the catalogue must outlive the dialog. setBuilder
/// must be called before the dialog is shown. Listing costs one pass over the catalogue per
/// change of the search text.
class EllipseToPlaneProjectionPairSelectDialog : public QDialog
{
    Q_OBJECT

public:
    explicit EllipseToPlaneProjectionPairSelectDialog(QWidget* parent = nullptr);
    ~EllipseToPlaneProjectionPairSelectDialog() override;

    void setBuilder(const EllipseToPlaneProjectionPairBuilder* builder);

    /// Makes the pair current (null for "(Not Specified)") and lists again.
    void setProjectionPair(proj::ProjectionPair* pair);

    /// The current pair; null means "(Not Specified)".
    proj::ProjectionPair* projectionPair() const;

private slots:
    void updateList();
    void updateCurrent(int index);

private:
    struct Form;
    std::unique_ptr<Form> m_form;
    const EllipseToPlaneProjectionPairBuilder* m_builder = nullptr;
    std::vector<proj::ProjectionPair*> m_listedPairs;
    proj::ProjectionPair* m_projectionPair = nullptr;
};

} // namespace guiproj
