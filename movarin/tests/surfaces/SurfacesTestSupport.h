#pragma once

// Test support of the GeoEdit surfaces: an edit-mode project with its window on a flat
// terrain, brush-like changes of the edited TIN made by hand (a grid cell raised on a new
// centre vertex, a triangle split at its centroid or put back on its own vertices), brush and
// mold surfaces applied the way the group's attach command applies them, deletion through
// the object browser, and projects saved and opened again.

#include "survey/SurveyTestSupport.h"

#include "support/QtPrinters.h"
#include "support/ScratchSettings.h"

#include "brask/core/Model.h"
#include "brask/core/ObjectBrowserView.h"
#include "brask/core/View.h"
#include "movarin/shell/EditModeMainWindow.h"
#include "movarin/shell/EditModeMainWindowModel.h"
#include "movarin/shell/EditModeMainWindowModelRootItem.h"
#include "movarin/surfaces/GeoEditSurfaceByBrushItem.h"
#include "movarin/surfaces/GeoEditSurfaceGroupItem.h"
#include "movarin/surfaces/GeoEditSurfaceGroupItemController.h"
#include "movarin/surfaces/GeoEditSurfaceItem.h"
#include "movarin/surfaces/IconView.h"
#include "movarin/surfaces/MoldGroupItem.h"
#include "movarin/surfaces/MoldGroupItemWidget.h"
#include "movarin/surfaces/MoldItem.h"
#include "movarin/surfaces/MoldsContainer.h"
#include "movarin/surfaces/MoldsContainerBrowser.h"
#include "movarin/surfaces/MoldsContainerWidget.h"
#include "movarin/survey/TinItem.h"

#include "orlin/core/Polygon.h"
#include "orlin/core/Rect.h"
#include "orlin/util/PolygonToTin.h"
#include "orlin/util/TinModifier.h"

#include <guimisc/UserDialogScript.h>

#include <QAction>
#include <QRectF>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

namespace varnel::test {

using TrianglePtr = std::shared_ptr<tin::core::Triangle>;
using Identities = std::set<const tin::core::Triangle*>;

inline Identities identities(const tin::core::Tin& tin)
{
    return identitiesOf(tin.allTriangles());
}

/// A change of the edited TIN: the triangles put in and those taken out.
struct TinChange {
    tin::core::Tin added;
    tin::core::Tin removed;

    void take(const TinChange& other)
    {
        for (const TrianglePtr& t : other.added.allTriangles()) {
            added.addTriangle(t);
        }
        for (const TrianglePtr& t : other.removed.allTriangles()) {
            removed.addTriangle(t);
        }
    }
};

/// The 2 m cell (i, j) of `tin` (its two triangles) replaced by four triangles around a new
/// centre vertex at elevation `z`.
inline TinChange raiseCell(const tin::core::Tin& tin, int i, int j, double z)
{
    TinChange change;
    std::map<std::pair<double, double>, std::shared_ptr<tin::core::Point>> corners;
    for (const TrianglePtr& t : tin.findTrianglesInRect(tin::core::Rect(2 * i, 2 * j, 2 * i + 2, 2 * j + 2))) {
        change.removed.addTriangle(t);
        for (int v = 0; v < 3; ++v) {
            corners[{t->point(v)->x(), t->point(v)->y()}] = t->point(v);
        }
    }
    const double x = 2 * i;
    const double y = 2 * j;
    const std::shared_ptr<tin::core::Point> ring[] = {corners[{x, y}], corners[{x + 2, y}],
                                                      corners[{x + 2, y + 2}], corners[{x, y + 2}]};
    auto centre = std::make_shared<tin::core::Point>(x + 1, y + 1, z);
    for (int k = 0; k < 4; ++k) {
        change.added.addTriangle(ring[k], ring[(k + 1) % 4], centre);
    }
    return change;
}

/// Triangle `t` replaced by three triangles around its centroid, raised by `dz`.
inline TinChange splitTriangle(const TrianglePtr& t, double dz)
{
    TinChange change;
    change.removed.addTriangle(t);
    double x = 0.0, y = 0.0, z = 0.0;
    for (int v = 0; v < 3; ++v) {
        x += t->point(v)->x() / 3.0;
        y += t->point(v)->y() / 3.0;
        z += t->point(v)->elevation() / 3.0;
    }
    auto centre = std::make_shared<tin::core::Point>(x, y, z + dz);
    for (int v = 0; v < 3; ++v) {
        change.added.addTriangle(t->point(v), t->point(v + 1), centre);
    }
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

/// Volumes between two TINs by the TIN modifier's cut and fill: `fill` where the second lies
/// above the first, `cut` (zero or negative) where below.
struct CutFill {
    double fill = 0.0;
    double cut = 0.0;
};

inline CutFill differences(const tin::core::Tin& base, const tin::core::Tin& edited)
{
    bool ok = false;
    CutFill v;
    tin::util::TinModifier::calculateDifferences(base, edited, &ok, &v.fill, &v.cut);
    EXPECT_TRUE(ok);
    return v;
}

/// The same with both TINs clipped to the rectangle `area`.
inline CutFill differencesInside(const tin::core::Tin& base, const tin::core::Tin& edited, const QRectF& area)
{
    tin::core::Polygon rectangle;
    for (const QPointF& corner : {area.topLeft(), area.topRight(), area.bottomRight(), area.bottomLeft()}) {
        rectangle.addPoint(tin::core::Point2D(corner.x(), corner.y()));
    }
    const tin::core::Tin region = tin::util::PolygonToTin::convert(rectangle);
    bool ok = false;
    const auto clip = [&](const tin::core::Tin& tin) {
        return tin::util::TinModifier::overwrite_deleteLonelyRegions(region, tin, &ok, nullptr, nullptr,
                                                                     nullptr);
    };
    return differences(clip(base), clip(edited));
}

inline TrianglePtr anyTriangle(const tin::core::Tin& tin)
{
    return *tin.allTriangles().begin();
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

/// The object browser's delete action on `surface`, the question answered Yes.
inline void deleteThroughBrowser(GeoEditSurfaceItemI* surface, guimisc::UserDialogScript& script)
{
    script.answer(QMessageBox::Yes);
    surface->model()->select(surface);
    surface->model()->objectBrowserView()->deleteAction()->trigger();
}

/// A flat square of 100 m at elevation 0 on a 2 m grid, two triangles a cell.
inline tin::core::Tin flatTerrain()
{
    std::vector<std::shared_ptr<tin::core::Point>> nodes;
    for (int j = 0; j <= 50; ++j) {
        for (int i = 0; i <= 50; ++i) {
            nodes.push_back(std::make_shared<tin::core::Point>(2.0 * i, 2.0 * j, 0.0));
        }
    }
    auto at = [&](int i, int j) { return nodes[static_cast<std::size_t>(j * 51 + i)]; };
    tin::core::Tin tin;
    for (int j = 0; j < 50; ++j) {
        for (int i = 0; i < 50; ++i) {
            tin.addTriangle(at(i, j), at(i + 1, j), at(i + 1, j + 1));
            tin.addTriangle(at(i, j), at(i + 1, j + 1), at(i, j + 1));
        }
    }
    return tin;
}

/// The terrain z = 0.01 x + 0.02 y over the flat square's triangles: any point inside has
/// an elevation that tells where it is.
inline tin::core::Tin slopedTerrain()
{
    const tin::core::Tin flat = flatTerrain();
    std::map<const tin::core::Point*, std::shared_ptr<tin::core::Point>> sloped;
    tin::core::Tin tin;
    for (const auto& t : flat.allTriangles()) {
        std::shared_ptr<tin::core::Point> corners[3];
        for (int v = 0; v < 3; ++v) {
            auto& p = sloped[t->point(v).get()];
            if (!p) {
                const tin::core::Point& q = *t->point(v);
                p = std::make_shared<tin::core::Point>(q.x(), q.y(), 0.01 * q.x() + 0.02 * q.y());
            }
            corners[v] = p;
        }
        tin.addTriangle(corners[0], corners[1], corners[2]);
    }
    return tin;
}

/// A test on a new edit-mode project with its window, whose base and edited TIN are a flat
/// square of 100 m at elevation 0 on a 2 m grid, shown whole on a main view of 400 by 300
/// pixels.
class SurfacesTest : public ScratchSettingsTest {
protected:
    void SetUp() override
    {
        ScratchSettings::writeStartupDefaults();
        m_session.newEditProject();
        m_window = m_session.createEditWindow();
        ASSERT_NE(m_window, nullptr);
        m_window->setTin(flatTerrain());
        m_window->view()->setFixedSize(400, 300);
        m_window->view()->fit();
    }

    Project& project() { return *m_session.project(); }
    EditModeMainWindowModelRootItem* root() const { return m_window->model()->rootItem(); }
    GeoEditSurfaceGroupItem* group() const { return root()->geoEditSurfaceGroupItem(); }
    TinItem* editedItem() const { return root()->tinItem(); }
    tin::core::Tin& edited() const { return *editedItem()->tin(); }
    const tin::core::Tin& base() const { return *root()->baseTinItem()->tin(); }

    /// Clicks the icon of the mold of that name in its tab of the Mold Browser.
    void pickMold(const QString& name)
    {
        GeoEditSurfaceGroupItemController* groupController = group()->groupController();
        MoldsContainerWidget* browser = groupController->moldsContainerBrowser()->moldsContainerWidget();
        for (auto type : {mold::core::Mold::Add, mold::core::Mold::Subtract}) {
            for (IconView* icon : browser->groupWidget(type)->icons()) {
                if (icon->moldItem()->name() == name) {
                    browser->findChild<QTabWidget*>("tabWidget")->setCurrentIndex(type);
                    QTest::mouseClick(icon, Qt::LeftButton);
                    ASSERT_EQ(groupController->selectedMoldItem(), icon->moldItem());
                    return;
                }
            }
        }
        FAIL() << "no mold " << name.toStdString();
    }

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

    /// A mold surface along `path` with the default mold of that name, put at the front and
    /// merged into the edited TIN, as the group's attach command does; null, with a failure,
    /// when the group makes none or the merge fails.
    GeoEditSurfaceItem* applyMold(const QString& moldName, const std::vector<tin::core::Point>& path)
    {
        const MoldItem* mold = nullptr;
        for (auto type : {mold::core::Mold::Add, mold::core::Mold::Subtract}) {
            for (const MoldItem* m : group()->moldsContainer()->group(type)->molds()) {
                mold = m->name() == moldName ? m : mold;
            }
        }
        GeoEditSurfaceItem* surface = mold ? group()->createGeoEditSurfaceItem(moldName, path, *mold) : nullptr;
        if (!surface) {
            ADD_FAILURE() << "no surface of " << moldName.toStdString();
            return nullptr;
        }
        group()->attachChildAtFront(surface);
        bool ok = false;
        const tin::core::Tin merged = surface->modifiedRootTin(edited(), &ok);
        EXPECT_TRUE(ok);
        editedItem()->setTin(new tin::core::Tin(merged));
        return surface;
    }

    /// Saves the project and packs it into a file of the test's own folder; its path.
    QString saveArchive()
    {
        const QString archive = m_outside.filePath(QStringLiteral("surfaces.emvn"));
        EXPECT_TRUE(project().save());
        EXPECT_TRUE(project().zipTo(archive));
        return archive;
    }

    /// Opens `archive` in `session` as the project code does (unpack, load); the root item.
    static EditModeMainWindowModelRootItem* reopen(ProjectSession& session, const QString& archive)
    {
        Project& reopened = session.newEditProject();
        EXPECT_TRUE(reopened.unzipFrom(archive));
        reopened.load();
        auto window = qobject_cast<EditModeMainWindow*>(reopened.projectWindow());
        return window ? window->model()->rootItem() : nullptr;
    }

    ProjectSession m_session;
    EditModeMainWindow* m_window = nullptr;
    QTemporaryDir m_outside;
};

} // namespace varnel::test
