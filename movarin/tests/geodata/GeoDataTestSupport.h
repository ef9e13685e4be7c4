#pragma once

// Test support of the geographic data: an edit-mode project whose main view has a known
// scale, the user's ways into it (the menus' own actions, mouse and keys on the main view,
// a move before every press), and readers of what was stored.

#include "shell/ProjectTestSupport.h"
#include "support/ModalAnswerer.h"
#include "support/MouseOn.h"
#include "support/QtPrinters.h"
#include "support/ScratchSettings.h"

#include "movarin/sections/GeoDataGroupItem.h"
#include "movarin/sections/GeoDataPolygonItem.h"
#include "movarin/sections/GeoDataPolylineItem.h"
#include "orlin/core/Point2D.h"

#include <guimisc/UserDialogScript.h>

#include <QPoint>
#include <QPointF>
#include <QString>
#include <QStringList>

#include <string>
#include <vector>

class QAction;
class QUndoStack;

namespace mvc::core {
class ModelItem;
class View;
} // namespace mvc::core

namespace varnel {
class EditModeMainWindow;
class EditModeMainWindowModelRootItem;
class GeoDataShapeItemController;
class GeoDataTopForEditItem;
} // namespace varnel

namespace varnel::test {

using Vertices = std::vector<std::pair<double, double>>;

/// The vertices of a polygon or polyline as (x, y) pairs.
template <class Shape>
Vertices verticesOf(const Shape& shape)
{
    Vertices vertices;
    for (const tin::core::Point2D& p : shape.points()) {
        vertices.emplace_back(p.x(), p.y());
    }
    return vertices;
}

/// A new item of that caption and those vertices appended to the group, as a load leaves it
/// (no undo entry).
GeoDataPolygonItem* attachPolygon(GeoDataGroupItem* group, const QString& caption,
                                  const Vertices& vertices, const QVariant& value);
GeoDataPolylineItem* attachPolyline(GeoDataGroupItem* group, const QString& caption,
                                    const Vertices& vertices);

/// The action of `menu`'s entries whose text is `text`; null when there is none.
QAction* menuAction(const QList<QAction*>& actions, const QString& text);

/// A new edit-mode project with its window, in an empty settings store, with every message
/// box and file dialog answered by `m_script` (its fallback accepts). The main view is
/// 400 x 300 pixels and shows world x from -100 to 100 and y from -75 to 75: 2 pixels per
/// metre, the origin at pixel (200, 150).
class GeoDataTest : public ScratchSettingsTest {
protected:
    GeoDataTest();
    ~GeoDataTest() override;

    EditModeMainWindow* window() const { return m_window; }
    EditModeMainWindowModelRootItem* root() const;
    GeoDataTopForEditItem* top() const;
    /// The group of that internal name.
    GeoDataGroupItem* group(const char* name) const;
    mvc::core::View* view() const;
    QUndoStack* undoStack() const;
    /// The texts of the commands on the stack that are done, oldest first.
    QStringList doneTexts() const;

    /// The widget pixel of a world point.
    QPoint pixel(const QPointF& world) const;
    MouseOn mouse() const;
    /// A move to the point, then a left press and release there.
    void clickAt(const QPointF& world) const;
    /// A move to `from`, a press, moves half way and to `to` with the button held, a release.
    void dragFromTo(const QPointF& from, const QPointF& to) const;

    /// Triggers the entry `text` of the item's right-click menu, as the user picks it.
    void triggerMenuEntry(mvc::core::ModelItem* item, const QString& text) const;
    /// "Add &Polygon" / "Add &Polyline" of the group's menu; the new item (the first child).
    GeoDataPolygonItem* addPolygon(GeoDataGroupItem* group) const;
    GeoDataPolylineItem* addPolyline(GeoDataGroupItem* group) const;
    /// Adds a polygon or polyline and defines it by clicking the points and pressing Enter;
    /// in a group with values the value dialog is answered with OK.
    GeoDataPolygonItem* definePolygon(GeoDataGroupItem* group, const Vertices& points) const;
    GeoDataPolylineItem* definePolyline(GeoDataGroupItem* group, const Vertices& points) const;
    /// Clicks the points in order, then presses Enter.
    void clickAndFinish(const Vertices& points) const;

    static GeoDataShapeItemController* controllerOf(const mvc::core::ModelItem* item);

    /// Saves the project into `archive`, then unpacks and loads it in `m_reopened`; the
    /// reopened window's root item, null (with a failure) when that fails.
    EditModeMainWindowModelRootItem* saveAndReopen(const QString& archive);

    ProjectSession m_session;
    ProjectSession m_reopened;
    guimisc::UserDialogScript m_script;

private:
    EditModeMainWindow* m_window = nullptr;
};

} // namespace varnel::test
