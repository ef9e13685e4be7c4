#pragma once

#include "brask/core/ModelItem.h"
#include "orlin/core/Tin.h"

#include <guimisc/xml/StringContainer.h>

#include <QString>

#include <memory>

namespace tin::core {
class Triangle;
}

namespace varnel {

class TinItem;

/// A GeoEdit surface: one change of the edited TIN (the `TinItem` of the edit-mode root),
/// recorded as the very triangle objects it put in (`addedTin`) and took out (`removedTin`),
/// so that the change is taken back and put in again by swapping triangles
/// (`swapTriangles`), without computing anything. The two kinds are the mold swept along a
/// path (`GeoEditSurfaceItem`) and the brush stroke (`GeoEditSurfaceByBrushItem`).
///
/// Surfaces are the children of the "GeoEdit Surfaces" group, newest first: the front one was
/// applied last. The row is deletable, reorderable and its caption editable; the caption is
/// the surface's name.
///
/// Identity. Triangles are compared by object throughout. A surface read from its archive
/// holds new triangle objects over the interned vertex objects of the edited TIN (the point
/// factory keeps one object per position and elevation); `addedTin()` rebinds them once to
/// the live triangles (`buildAddedTin`): the edited TIN's own, or the ones that a newer
/// surface took out and keeps in its removed TIN. The removed triangles are never rebound:
/// what a surface took out is in no TIN but its own.
///
/// Overlap. A surface may be deleted or edited only while no newer surface took out one of
/// its added triangles (`overlappingSibling`); after an edit, its new removed triangles must
/// not include a newer surface's added ones (`siblingOverlappedByEdit`).
///
/// Relay. Every change of the edited TIN made through a surface ends in `rootTinChanged`
/// with the triangles put in; the surface re-emits it as the edited TIN item's
/// `tinChanged`, with itself as the connection's context, so a destroyed surface relays
/// nothing.
///
/// Cost: a swap is linear in the triangles swapped; rebinding is linear in the added
/// triangles plus the triangles of the newer surfaces whose extent meets them (vertex
/// triples hashed), and looks up the edited TIN through its vertices, never through its
/// spatial index; an overlap test is linear in the smaller of the two TINs compared, for
/// each newer surface whose extent meets this one's.
class GeoEditSurfaceItemI : public mvc::core::ModelItem {
    Q_OBJECT
public:
    /// The row gets no icon, `name` as caption and is editable, deletable and reorderable.
    /// Connects the relay of `rootTinChanged`.
    GeoEditSurfaceItemI(const QString& name, mvc::core::ModelItem* parent);
    ~GeoEditSurfaceItemI() override;

    /// "GeoEdit surface", in the delete question and the undo texts.
    QString itemTypeName() const override;

    /// The edited TIN as it would be with this surface applied, filling the added and removed
    /// TINs on the way; `ok` tells whether that succeeded. The base changes nothing and
    /// returns an empty TIN: only a mold surface is applied by a merge.
    virtual tin::core::Tin modifiedRootTin(const tin::core::Tin& rootTin, bool* ok);
    /// The file name pattern with %1 for the place in the stack ("geoedit%1.ges" ...).
    virtual QString filenamePattern() const = 0;

    QString name() const;
    void setName(const QString& name);

    /// The added triangles, rebound first (see `buildAddedTin`; may throw as it does).
    const tin::core::Tin& addedTin();
    const tin::core::Tin& removedTin() const;
    void setAddedTin(const tin::core::Tin& tin);
    void setRemovedTin(const tin::core::Tin& tin);

    /// The edited TIN item: the parent's parent as the edit-mode root; null outside one.
    TinItem* rootTinItem() const;
    /// Takes every triangle of `out` off the edited TIN, then puts every triangle of `in`
    /// into it (the very objects), then emits `rootTinChanged` with `in`. Triangles are not
    /// checked: one that is not held is not removed, one that is held is not added twice. An
    /// edited TIN item without a TIN gets an empty one first. Nothing happens outside an
    /// edit-mode root. The main view's picture of the edited TIN follows the change (see
    /// `TinMainViewHelper::followTinChange`).
    void swapTriangles(const tin::core::Tin& out, const tin::core::Tin& in);
    /// Puts `merged` (the edited TIN changed by this surface's added and removed triangles)
    /// in place of the edited TIN, whose main view picture follows the change. Nothing
    /// outside an edit-mode root.
    void replaceRootTin(tin::core::Tin&& merged);
    /// Names the surface's archive after its place in the stack: `filenamePattern()` with %1
    /// replaced by `index` in decimal.
    void setFileIndex(int index);

    /// Replaces the triangles read from the archive by the live ones, once: for each, the
    /// triangle over the same three vertex objects that the edited TIN holds or, when a newer
    /// surface took it out, that surface's removed one (see `AddedTriangleRebinder`); a
    /// triangle that a newer surface put in is never taken. Newer surfaces are rebound first.
    /// Throws `common::exception::RuntimeException` "Fatal error in buildAddedTin." when a
    /// triangle has no live counterpart; the read triangles then stay and are not rebound
    /// again.
    void buildAddedTin();
    /// Whether the two triangles have the same three vertex objects, in any order.
    static bool sameTriangle(const tin::core::Triangle& a, const tin::core::Triangle& b);

    /// The first newer surface (from the front) that took out one of this surface's added
    /// triangles; null when none did.
    GeoEditSurfaceItemI* overlappingSibling();
    /// The first newer surface (from the front) whose added triangles include one of this
    /// surface's removed triangles, the test after an edit; null when none.
    GeoEditSurfaceItemI* siblingOverlappedByEdit();

signals:
    /// The triangles just put into the edited TIN.
    void rootTinChanged(const tin::core::Tin& partialTin);

protected:
    /// For readers of the project file: the next `addedTin()` rebinds.
    void markAddedTinRead();
    /// The name's attribute container ("name").
    guimisc::xml::StringContainer& nameContainer();
    /// The TINs to be filled in place by a merge; the added one is rebound first.
    tin::core::Tin* addedTinForUpdate();
    tin::core::Tin* removedTinForUpdate();
    /// The added TIN as stored, without rebinding (what the archive keeps).
    const tin::core::Tin& storedAddedTin() const;

private:
    /// The surfaces in front of this one, the front first.
    std::vector<GeoEditSurfaceItemI*> newerSiblings() const;

    guimisc::xml::StringContainer m_name;
    tin::core::Tin m_addedTin;
    tin::core::Tin m_removedTin;
    bool m_addedTinIsCurrent = true;
};

} // namespace varnel
