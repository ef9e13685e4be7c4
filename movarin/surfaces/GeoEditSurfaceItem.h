#pragma once

#include "movarin/surfaces/GeoEditSurfaceItemI.h"

#include "orlin/core/Point.h"

#include <guimisc/xml/BoolContainer.h>
#include <guimisc/xml/StringContainer.h>
#include <mold/core/Mold.h>

#include <memory>
#include <vector>

namespace varnel {

class MoldItem;

/// A GeoEdit surface made by sweeping a mold along a 3-D path: the swept surface TIN and an
/// extended TIN (the same sweep with the mold's outer segments doubled and, on an open path,
/// the ends prolonged steeply down for an Add mold, up for a Sub mold, so that the surface
/// meets the terrain beyond its ends). Applying it merges the extended TIN into the edited
/// TIN with the TIN modifier's add or sub (by the mold's edit type) within the outline of
/// the surface TIN, and records the triangles put in and taken out (see
/// `GeoEditSurfaceItemI`).
///
/// The surface keeps its own copy of the mold and the mold's name; later changes of the mold
/// item it came from do not reach it. Its TINs may be null (the sweep built nothing: a path
/// of fewer than two distinct plan positions, a mold of fewer than two points, a value that
/// is not finite); the group keeps only valid surfaces that have both.
///
/// Extension. On an open path of an Add or Sub mold, the extended path has one point more at
/// each end: d = r / tan 80 degrees beyond the end along the last segment of non-zero plan
/// length there (r the mold's height range, greatest H less least H), r below the end's
/// elevation for Add, r above it for Sub; the path's own ends are then no corners of the
/// sweep. A closed path, another edit type, or a mold whose points would stand within 1e-8
/// of the ends (a level mold: r is 0) keeps its path. The extended mold has its
/// outer segments doubled outward (a two-point mold: its segment stretched by 1.5 either way
/// about its middle).
///
/// Project file: the element holds "name", "closed", "moldName" and "valid", in this order;
/// path, mold and the four TINs go to the ".ges" archive "geoedit<n>.ges" (see
/// `GeoEditSurfaceArchive`), n its place in the stack from the front. A read surface rebinds
/// its added triangles on first use.
class GeoEditSurfaceItem : public GeoEditSurfaceItemI {
    Q_OBJECT
public:
    /// Copies everything and, when path and mold are not empty, builds the TINs. The row is
    /// appended under `parent`'s row (see `mvc::core::ModelItem`).
    GeoEditSurfaceItem(const QString& name, const std::vector<tin::core::Point>& path, bool closed,
                       const QString& moldName, const mold::core::Mold& mold,
                       mvc::core::ModelItem* parent);
    /// The same with the mold item's name and mold.
    GeoEditSurfaceItem(const QString& name, const std::vector<tin::core::Point>& path, bool closed,
                       const MoldItem& moldItem, mvc::core::ModelItem* parent);
    /// An empty surface for loading: no name, path, mold name, mold or TINs; closed false.
    explicit GeoEditSurfaceItem(mvc::core::ModelItem* parent);
    ~GeoEditSurfaceItem() override;

    /// The edited TIN with the extended TIN merged in by add (an Add mold) or sub (a Sub
    /// mold) within the surface TIN's outline; the added and removed TINs (rebound first)
    /// receive the triangles put in and taken out. `ok` is set false first and stays false
    /// when the merge fails or throws, and when the surface or the extended TIN is missing
    /// (nothing is merged then). Throws
    /// `common::exception::RuntimeException` "<edit type> not handled." for another edit type.
    tin::core::Tin modifiedRootTin(const tin::core::Tin& rootTin, bool* ok) override;
    /// "geoedit%1.ges".
    QString filenamePattern() const override;
    /// The surface TIN's bounding rectangle (x, y, width, height); all zero without one.
    QRectF myBoundingBox() const override;

    const std::vector<tin::core::Point>& path() const;
    void setPath(const std::vector<tin::core::Point>& path);
    bool closed() const;
    void setClosed(bool closed);
    QString moldName() const;
    const mold::core::Mold& mold() const;
    /// Takes the mold's name and a copy of the mold.
    void setMold(const QString& moldName, const mold::core::Mold& mold);
    /// Whether the mold fits the path (the sweep's outline does not cross itself).
    bool isValid() const;
    /// The swept surface, or null.
    tin::core::Tin* tin() const;
    /// The extended sweep, or null.
    tin::core::Tin* extendedTin() const;

    /// Rebuilds validity, the surface TIN and the extended TIN from path, closed flag and
    /// mold (the old TINs are deleted).
    void buildTins();

    /// The path prolonged at both ends for the extended sweep (see the class comment); the
    /// path itself when it is closed, has fewer than two distinct plan positions, the mold's
    /// edit type is neither Add nor Sub, or the mold's heights span too little to prolong it.
    static std::vector<tin::core::Point> extendedPath(const std::vector<tin::core::Point>& path,
                                                      const MoldItem& moldItem, bool closed);
    /// A new mold item with the mold's outer segments doubled (see the class comment); the
    /// mold unchanged when it has fewer than two points.
    static std::unique_ptr<MoldItem> extendedMold(const MoldItem& moldItem);

protected:
    void doLoadFromProjectMainFile(const QDomElement& element) override;
    void doSaveToProjectMainFile(QXmlStreamWriter* writer) override;
    void loadExternalData(const std::string& absoluteFilename) override;
    void saveExternalData(const std::string& absoluteFilename) override;
    /// `GeoEditSurfaceItemView`.
    mvc::core::ModelItemView* buildView() const override;
    mvc::core::ModelItemController* buildController() const override;

private:
    std::vector<tin::core::Point> m_path;
    guimisc::xml::BoolContainer m_closed;
    guimisc::xml::StringContainer m_moldName;
    mold::core::Mold m_mold;
    std::unique_ptr<tin::core::Tin> m_tin;
    std::unique_ptr<tin::core::Tin> m_extendedTin;
    guimisc::xml::BoolContainer m_valid;
};

} // namespace varnel
