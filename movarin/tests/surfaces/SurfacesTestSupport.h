#pragma once

// Test support of the GeoEdit surfaces: an edit-mode project with its window whose base and
// edited TIN are a grid, brush-like changes of the edited TIN made by hand (a grid cell
// raised on a new centre vertex, a triangle split at its centroid or put back on its own
// vertices), brush and mold surfaces applied the way the group's attach command applies
// them, and projects saved and opened again.

#include "survey/SurveyTestSupport.h"

#include "support/QtPrinters.h"
#include "support/ScratchSettings.h"

#include "brask/core/View.h"
#include "movarin/shell/EditModeMainWindow.h"
#include "movarin/shell/EditModeMainWindowModel.h"
#include "movarin/shell/EditModeMainWindowModelRootItem.h"
#include "movarin/surfaces/GeoEditSurfaceByBrushItem.h"
#include "movarin/surfaces/GeoEditSurfaceGroupItem.h"
#include "movarin/surfaces/GeoEditSurfaceItem.h"
#include "movarin/surfaces/MoldGroupItem.h"
#include "movarin/surfaces/MoldItem.h"
#include "movarin/surfaces/MoldsContainer.h"
#include "movarin/survey/TinItem.h"

#include "orlin/core/Rect.h"

#include <QTemporaryDir>

#include <memory>
#include <utility>

namespace varnel::test {

/// A change of the edited TIN: the triangles put in and those taken out.
struct TinChange {
    tin::core::Tin added;
    tin::core::Tin removed;
};

using TrianglePtr = std::shared_ptr<tin::core::Triangle>;

/// Cell (i, j) of `tin` (its two triangles, which must be all that lies in the cell) replaced
/// by four triangles around a new centre vertex at elevation `z`.
inline TinChange raiseCell(const tin::core::Tin& tin, int i, int j, double z)
{
    TinChange change;
    for (const TrianglePtr& t : tin.findTrianglesInRect(tin::core::Rect(i, j, i + 1, j + 1))) {
        change.removed.addTriangle(t);
    }
    std::vector<std::shared_ptr<tin::core::Point>> corners(4);
    for (const TrianglePtr& t : change.removed.allTriangles()) {
        for (int v = 0; v < 3; ++v) {
            const std::shared_ptr<tin::core::Point>& p = t->point(v);
            const int k = p->x() == i ? (p->y() == j ? 0 : 3) : (p->y() == j ? 1 : 2);
            corners[static_cast<std::size_t>(k)] = p;
        }
    }
    auto centre = std::make_shared<tin::core::Point>(i + 0.5, j + 0.5, z);
    for (std::size_t k = 0; k < 4; ++k) {
        change.added.addTriangle(corners[k], corners[(k + 1) % 4], centre);
    }
    return change;
}

/// Triangle `t` replaced by three triangles around its centroid, raised by `dz`.
inline TinChange splitTriangle(const TrianglePtr& t, double dz)
{
    TinChange change;
    change.removed.addTriangle(t);
    const auto& a = t->point1();
    const auto& b = t->point2();
    const auto& c = t->point3();
    auto centre = std::make_shared<tin::core::Point>(
        (a->x() + b->x() + c->x()) / 3.0, (a->y() + b->y() + c->y()) / 3.0,
        (a->elevation() + b->elevation() + c->elevation()) / 3.0 + dz);
    change.added.addTriangle(a, b, centre);
    change.added.addTriangle(b, c, centre);
    change.added.addTriangle(c, a, centre);
    return change;
}

/// Triangle `t` taken out and a new triangle object over its very vertices put in.
inline TinChange putBack(const TrianglePtr& t)
{
    TinChange change;
    change.removed.addTriangle(t);
    change.added.addTriangle(t->point1(), t->point2(), t->point3());
    return change;
}

/// Some triangle of `tin`.
inline TrianglePtr anyTriangle(const tin::core::Tin& tin)
{
    return *tin.allTriangles().begin();
}

/// The root item of the project window of a loaded project; null, with a failure, when
/// there is none.
inline EditModeMainWindowModelRootItem* editRootOf(Project& project)
{
    auto window = qobject_cast<EditModeMainWindow*>(project.projectWindow());
    if (!window || !window->model()) {
        ADD_FAILURE() << "the project has no edit-mode window";
        return nullptr;
    }
    return window->model()->rootItem();
}

/// The surfaces of a group from the front.
inline std::vector<GeoEditSurfaceItemI*> surfacesOf(const GeoEditSurfaceGroupItem& group)
{
    std::vector<GeoEditSurfaceItemI*> surfaces;
    for (mvc::core::ModelItem* child : group.childItems()) {
        surfaces.push_back(qobject_cast<GeoEditSurfaceItemI*>(child));
    }
    return surfaces;
}

/// A test on a new edit-mode project with its window, whose base and edited TIN are
/// `gridTin(8)` (cells of 1 m from (0, 0), elevation x + 2 y), shown whole on a main view of
/// 400 by 300 pixels.
class SurfacesTest : public ScratchSettingsTest {
protected:
    void SetUp() override
    {
        ScratchSettings::writeStartupDefaults();
        m_session.newEditProject();
        m_window = m_session.createEditWindow();
        ASSERT_NE(m_window, nullptr);
        m_window->setTin(terrain());
        m_window->view()->setFixedSize(400, 300);
        m_window->view()->fit();
    }

    /// The base and edited TIN the project starts with.
    virtual tin::core::Tin terrain() const { return gridTin(8); }

    Project& project() { return *m_session.project(); }
    EditModeMainWindowModelRootItem* root() const { return m_window->model()->rootItem(); }
    GeoEditSurfaceGroupItem* group() const { return root()->geoEditSurfaceGroupItem(); }
    TinItem* editedItem() const { return root()->tinItem(); }
    tin::core::Tin& edited() const { return *editedItem()->tin(); }

    /// A brush surface with the change, put at the front of the group and swapped into the
    /// edited TIN, as the group's attach command does with a brush stroke.
    GeoEditSurfaceByBrushItem* applyBrush(const QString& name, const TinChange& change)
    {
        GeoEditSurfaceByBrushItem* surface =
            group()->createGeoEditSurfaceByBrushItem(name, change.added, change.removed);
        group()->attachChildAtFront(surface);
        surface->swapTriangles(change.removed, change.added);
        return surface;
    }

    /// A mold surface put at the front of the group and merged into the edited TIN, as the
    /// group's attach command does with a new path; false when the merge failed.
    bool applyMold(GeoEditSurfaceItem* surface)
    {
        group()->attachChildAtFront(surface);
        bool ok = false;
        const tin::core::Tin merged = surface->modifiedRootTin(edited(), &ok);
        if (ok) {
            editedItem()->setTin(new tin::core::Tin(merged));
        }
        return ok;
    }

    /// The default mold of that name in the project's molds library; null, with a failure,
    /// when there is none.
    const MoldItem* mold(const QString& name) const
    {
        for (auto type : {mold::core::Mold::Add, mold::core::Mold::Subtract}) {
            for (const MoldItem* m : group()->moldsContainer()->group(type)->molds()) {
                if (m->name() == name) {
                    return m;
                }
            }
        }
        ADD_FAILURE() << "no mold " << name.toStdString();
        return nullptr;
    }

    /// Saves the project and packs it into a file of the test's own folder; its path.
    QString saveArchive(const QString& name = QStringLiteral("surfaces.emvn"))
    {
        const QString archive = m_outside.filePath(name);
        EXPECT_TRUE(project().save());
        EXPECT_TRUE(project().zipTo(archive));
        return archive;
    }

    /// Opens `archive` in `session` as the project code does (unpack, load); the root item.
    static EditModeMainWindowModelRootItem* reopen(ProjectSession& session, const QString& archive)
    {
        Project& reopened = session.newEditProject();
        if (!reopened.unzipFrom(archive)) {
            ADD_FAILURE() << "cannot unpack " << archive.toStdString();
            return nullptr;
        }
        reopened.load();
        return editRootOf(reopened);
    }

    ProjectSession m_session;
    EditModeMainWindow* m_window = nullptr;
    QTemporaryDir m_outside;
};

} // namespace varnel::test
