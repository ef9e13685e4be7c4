#pragma once

// A create-mode project with its window and a point-set item of the test's own under the
// imported point sets: the view shows the world square (-2, -2) to (2, 2) on 200 by 200
// pixels, so the world point (x, y) lies on the widget point (100 + 50 x, 100 - 50 y).
// Mouse and key events are built explicitly and sent to the main view, which hands them to
// the selected item's controller as the program does.

#include "shell/ProjectTestSupport.h"

#include "movarin/shell/CreateModeMainWindowModel.h"
#include "movarin/shell/CreateModeMainWindowModelRootItem.h"
#include "movarin/survey/CoordinatePointsBaseItem.h"
#include "movarin/survey/CoordinatePointsBaseItemController.h"
#include "movarin/survey/CoordinatePointsBaseItemView.h"
#include "movarin/survey/CoordinatePointsGroupItem.h"

#include "brask/core/View.h"
#include "orlin/core/PointSet.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QUndoStack>

#include <initializer_list>
#include <set>
#include <string>
#include <tuple>

namespace varnel::test {

/// The base item with the controller and the persistence that its subclasses give it.
class TestPointsItem : public CoordinatePointsBaseItem {
public:
    explicit TestPointsItem(tin::core::PointSet* points)
        : CoordinatePointsBaseItem(QStringLiteral("Test points"), points, nullptr, 0)
    {
    }

    using CoordinatePointsBaseItem::loadExternalData;
    using CoordinatePointsBaseItem::saveExternalData;

protected:
    mvc::core::ModelItemController* buildController() const override
    {
        return new CoordinatePointsBaseItemController(this);
    }
    void doSaveToProjectMainFile(QXmlStreamWriter* writer) override { saveViewSetting(writer); }
    void doLoadFromProjectMainFile(const QDomElement& element) override
    {
        loadViewSetting(element);
    }
};

/// Positions with elevations, compared as a set of coordinates.
using Coordinates = std::multiset<std::tuple<double, double, double>>;

inline Coordinates coordinatesOf(const tin::core::PointSet& set)
{
    Coordinates result;
    for (const auto& p : set.allPoints()) {
        result.emplace(p->x(), p->y(), p->elevation());
    }
    return result;
}

class PointScene {
public:
    PointScene()
    {
        m_session.newCreateProject();
        m_window = m_session.createWindow();
        view()->resize(200, 200);
        view()->fit(QRectF(-2.0, -2.0, 4.0, 4.0));
    }

    ProjectSession& session() { return m_session; }
    Project& project() { return *m_session.project(); }
    CreateModeMainWindow* window() { return m_window; }
    mvc::core::View* view() { return m_window->view(); }
    QUndoStack* undoStack() { return m_session.mainWindow().undoStack(); }

    /// A new item holding `points` (owned by it), attached under the imported point sets.
    TestPointsItem* addItem(tin::core::PointSet* points = new tin::core::PointSet())
    {
        auto item = new TestPointsItem(points);
        mvc::core::ModelItem* group = m_window->model()->rootItem()->coordinatePointsGroupItem();
        item->setParent(group);
        group->attachChildAtBack(item);
        return item;
    }
    /// The item with the points given as (x, y, z).
    TestPointsItem* addItem(std::initializer_list<tin::core::Point> points)
    {
        auto set = new tin::core::PointSet();
        for (const tin::core::Point& p : points) {
            set->addPoint(std::make_shared<tin::core::Point>(p));
        }
        return addItem(set);
    }
    /// Makes `item` the selected item, whose controller gets the view's input.
    void select(mvc::core::ModelItem* item) { m_window->model()->select(item); }

    /// Widget pixels of a world point.
    QPoint pixel(double x, double y) { return view()->conv(QPointF(x, y)).toPoint(); }
    /// What the view shows after a repaint.
    QImage grab() { return view()->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    void press(const QPoint& pos, Qt::MouseButton button = Qt::LeftButton,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        send(QEvent::MouseButtonPress, pos, button, button, modifiers);
    }
    void release(const QPoint& pos, Qt::MouseButton button = Qt::LeftButton,
                 Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        send(QEvent::MouseButtonRelease, pos, button, Qt::NoButton, modifiers);
    }
    void move(const QPoint& pos, Qt::MouseButtons buttons = Qt::NoButton,
              Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        send(QEvent::MouseMove, pos, Qt::NoButton, buttons, modifiers);
    }
    void doubleClick(const QPoint& pos, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        send(QEvent::MouseButtonDblClick, pos, Qt::LeftButton, Qt::LeftButton, modifiers);
    }
    /// Press and release at one place.
    void click(const QPoint& pos, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        press(pos, Qt::LeftButton, modifiers);
        release(pos, Qt::LeftButton, modifiers);
    }
    void key(int key)
    {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(view(), &event);
    }

private:
    void send(QEvent::Type type, const QPoint& pos, Qt::MouseButton button,
              Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
    {
        QMouseEvent event(type, QPointF(pos), view()->mapToGlobal(pos), button, buttons,
                          modifiers);
        QApplication::sendEvent(view(), &event);
    }

    ProjectSession m_session;
    CreateModeMainWindow* m_window = nullptr;
};

} // namespace varnel::test
