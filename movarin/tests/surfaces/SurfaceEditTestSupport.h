#pragma once

// Test support of editing a mold-and-path surface: surfaces made through the group
// controller with a mold picked in the Mold Browser, the surface selected in the object
// browser so that the main view's input reaches its controller, the mouse and keys at
// pixels of the main view (4 pixels a metre, so that whole metres land on whole pixels),
// the context-menu actions, a counting seam in front of the merge, and the state of a
// surface as the user can see it, to compare before and after.

#include "SurfacesTestSupport.h"

#include "support/MouseOn.h"

#include "movarin/surfaces/GeoEditSurfaceItemController.h"
#include "movarin/surfaces/GeoEditSurfaceItemControllerReferenceLine.h"
#include "movarin/surfaces/GeoEditSurfaceItemControllerSelectionHelper.h"

#include <QUndoStack>

#include <gtest/gtest.h>

namespace varnel::test {

using SurfaceController = GeoEditSurfaceItemController;

/// What an edit changes and a roll-back or an undo must give back.
struct SurfaceState {
    std::vector<std::tuple<double, double, double>> path;
    bool closed = false;
    QString moldName;
    std::vector<double> l;
    std::vector<double> h;
    SurfaceController::ReferenceLines committedLines;
    Identities triangles;

    bool operator==(const SurfaceState& o) const
    {
        return path == o.path && closed == o.closed && moldName == o.moldName && l == o.l && h == o.h
            && committedLines == o.committedLines && triangles == o.triangles;
    }
    bool operator!=(const SurfaceState& o) const { return !(*this == o); }
};

inline std::vector<std::tuple<double, double, double>> xyz(const std::vector<tin::core::Point>& path)
{
    std::vector<std::tuple<double, double, double>> out;
    for (const tin::core::Point& p : path) {
        out.emplace_back(p.x(), p.y(), p.elevation());
    }
    return out;
}

inline std::ostream& operator<<(std::ostream& os, const SurfaceState& s)
{
    os << "path";
    for (const auto& [x, y, z] : s.path) {
        os << " (" << x << ", " << y << ", " << z << ")";
    }
    return os << (s.closed ? " closed" : " open") << ", mold " << s.moldName.toStdString() << ", "
              << s.committedLines.size() << " lines, " << s.triangles.size() << " triangles";
}

class SurfaceEditTest : public SurfacesTest {
protected:
    void SetUp() override
    {
        SurfacesTest::SetUp();
        view()->setScale(4.0);
        view()->updateView();
        ASSERT_EQ(view()->conv(QPointF(20.0, 50.0)), QPointF(80.0, 150.0));
        groupController()->setMerge([this](GeoEditSurfaceItemI& surface, const tin::core::Tin& root, bool* ok) {
            ++m_merges;
            return surface.modifiedRootTin(root, ok);
        });
    }
    void TearDown() override
    {
        for (const auto& box : m_unexpected.messageBoxes()) {
            ADD_FAILURE() << "unexpected box: " << box.text.toStdString();
        }
        SurfacesTest::TearDown();
    }

    mvc::core::View* view() const { return m_window->view(); }
    MouseOn mouse() const { return MouseOn(view()); }
    QUndoStack& stack() { return *project().undoStack(); }
    GeoEditSurfaceGroupItemController* groupController() const { return group()->groupController(); }

    QPoint px(double x, double y) const { return view()->conv(QPointF(x, y)).toPoint(); }

    /// A surface of the mold along `path` (x, y; elevations from the edited TIN), made as the
    /// path tool makes it: the front surface afterwards.
    GeoEditSurfaceItem* addSurface(const QString& moldName, const std::vector<QPointF>& path,
                                   double above = 0.0)
    {
        pickMold(moldName);
        const int before = stack().count();
        groupController()->createGeoEditSurface(onTin(path, above));
        EXPECT_EQ(stack().count(), before + 1) << "no surface of " << moldName.toStdString();
        return qobject_cast<GeoEditSurfaceItem*>(group()->childItems().front());
    }

    /// The points of `path` at the edited TIN's elevation there plus `above`.
    std::vector<tin::core::Point> onTin(const std::vector<QPointF>& path, double above = 0.0) const
    {
        std::vector<tin::core::Point> points;
        for (const QPointF& p : path) {
            tin::core::Point point(p.x(), p.y(), 0.0);
            edited().interpolateElevation(&point);
            point.setElevation(point.elevation() + above);
            points.push_back(point);
        }
        return points;
    }

    /// Selects `surface` in the object browser: the main view's input goes to its controller.
    SurfaceController* select(GeoEditSurfaceItem* surface)
    {
        surface->model()->select(surface);
        return controller(surface);
    }
    static SurfaceController* controller(GeoEditSurfaceItem* surface)
    {
        return static_cast<SurfaceController*>(surface->controller());
    }
    static SurfaceController::SelectionHelper* tool(GeoEditSurfaceItem* surface)
    {
        return controller(surface)->activeHelper();
    }
    template <class Tool> static bool isTool(GeoEditSurfaceItem* surface)
    {
        return dynamic_cast<Tool*>(tool(surface)) != nullptr;
    }
    void trigger(GeoEditSurfaceItem* surface, SurfaceController::Action action)
    {
        controller(surface)->action(action)->trigger();
    }

    /// A press and release on the vertex at (x, y), as a user selects it (the waiting tool
    /// picks the vertex within 3 pixels).
    void clickVertex(double x, double y)
    {
        mouse().move(px(x, y));
        mouse().click(px(x, y));
    }
    /// Drags from (x, y) to (x + dx, y + dy), world units.
    void dragBy(double x, double y, double dx, double dy)
    {
        mouse().move(px(x, y));
        mouse().drag(px(x, y), px(x + dx, y + dy));
    }

    SurfaceState stateOf(GeoEditSurfaceItem* surface)
    {
        SurfaceState s;
        s.path = xyz(surface->path());
        s.closed = surface->closed();
        s.moldName = surface->moldName();
        s.l = surface->mold().l();
        s.h = surface->mold().h();
        s.committedLines = controller(surface)->committedReferenceLines();
        s.triangles = identities(edited());
        return s;
    }
    /// The pending edit as the state of a surface (the edited TIN's triangles).
    SurfaceState pendingOf(GeoEditSurfaceItem* surface)
    {
        SurfaceState s;
        SurfaceController* c = controller(surface);
        s.path = xyz(c->pendingPath());
        s.closed = c->pendingClosed();
        s.moldName = c->pendingMoldName();
        s.l = c->pendingMold().l();
        s.h = c->pendingMold().h();
        s.committedLines = c->pendingReferenceLines();
        s.triangles = identities(edited());
        return s;
    }

    void setBatchApply(GeoEditSurfaceItem* surface, bool on)
    {
        controller(surface)->action(SurfaceController::BatchApplyAction)->setChecked(on);
    }

    /// Merges run since the start (the seam in front of every merge).
    int m_merges = 0;
    /// Answers, and records, the boxes that a test's own script does not expect.
    guimisc::UserDialogScript m_unexpected;
};

} // namespace varnel::test
