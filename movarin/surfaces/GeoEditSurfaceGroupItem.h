#pragma once

#include "brask/core/ModelItem.h"

#include <QString>

#include <vector>

namespace tin::core {
class Point;
class Tin;
} // namespace tin::core

namespace varnel {

class GeoEditSurfaceByBrushItem;
class GeoEditSurfaceGroupItemController;
class GeoEditSurfaceItem;
class GeoEditSurfaceItemI;
class MoldItem;
class MoldsContainer;

/// The "GeoEdit Surfaces" folder of an edit-mode project (folder icon; the row's caption
/// is fixed and the row is neither deletable nor movable). Its files lie in the sub-folder
/// "geoEditSurfaceGroupItem"; the edit-mode root writes it as "GeoEditSurfaceGroup".
///
/// Its children are the project's GeoEdit surfaces (`GeoEditSurfaceItemI`, nothing else) as a
/// stack: the front child (row 0) is the newest and was applied to the edited TIN last. New
/// surfaces come to the front (through the attach command of the group's controller), loaded
/// ones to the back, in file order.
///
/// Project file, inside the group's element: "GeoEditSurfaces" with one element per surface
/// from the front, "GeoEditSurface" for a mold-and-path surface and "GeoEditSurfaceByBrush"
/// for a brush surface, then "MoldsContainer" with the molds. Every save numbers the surfaces'
/// archives from 1 at the front ("geoedit<n>.ges", "geoedit<n>.geb"). Reading takes the child
/// elements of "GeoEditSurfaces" in order (comments and text make nothing): "GeoEditSurface"
/// makes a mold-and-path surface, any other name a brush surface; then every surface is
/// rebound to the edited TIN from the front (the edited TIN is read before the group), and
/// one whose triangles do not fit throws `common::exception::InvalidFileFormatException`
/// "Fatal error in buildAddedTin." naming its archive, which fails the opening of the project;
/// so does one whose added and removed triangles do not fit the stack and the base TIN
/// (`SurfaceStackCheck`: taking every surface back must give the base TIN), with
/// STACK_MISFIT.
/// A missing "MoldsContainer" leaves the molds as constructed (the default molds).
///
/// It owns the project's molds container for its whole life. Its controller owns the Mold
/// Browser dock of the project window.
class GeoEditSurfaceGroupItem : public mvc::core::ModelItem {
    Q_OBJECT
public:
    static constexpr const char* STACK_MISFIT =
        "The surface's triangles do not fit the other surfaces and the base TIN";

    explicit GeoEditSurfaceGroupItem(mvc::core::ModelItem* parent);
    ~GeoEditSurfaceGroupItem() override;

    /// "GeoEdit surface".
    QString itemTypeName() const override;

    MoldsContainer* moldsContainer() const;
    /// The item's controller, built on first use.
    GeoEditSurfaceGroupItemController* groupController() const;

    /// A new mold-and-path surface along an open copy of `path` with the mold item's name and
    /// a copy of its mold, its TINs built, a child of the group not yet attached (its row is
    /// taken out again; the attach command puts it at the front); null, with nothing made,
    /// when the mold does not fit the path or the sweep builds no TIN.
    GeoEditSurfaceItem* createGeoEditSurfaceItem(const QString& name,
                                                 const std::vector<tin::core::Point>& path,
                                                 const MoldItem& moldItem);
    /// A new brush surface with copies of both TINs, a child of the group not yet attached
    /// (its row is taken out again; the attach command puts it at the front). Never null.
    GeoEditSurfaceByBrushItem* createGeoEditSurfaceByBrushItem(const QString& name,
                                                               const tin::core::Tin& addedTin,
                                                               const tin::core::Tin& removedTin);

protected:
    void doLoadFromProjectMainFile(const QDomElement& element) override;
    void doSaveToProjectMainFile(QXmlStreamWriter* writer) override;
    mvc::core::ModelItemController* buildController() const override;

private:
    /// Takes the row that the constructor appended out again, for an attach.
    void takeRowOf(GeoEditSurfaceItemI* surface);
    void rebindAll();

    MoldsContainer* m_moldsContainer;
};

} // namespace varnel
