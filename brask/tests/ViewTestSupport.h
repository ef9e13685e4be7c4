#pragma once

// A small scene for the tests of the 2-D views, on the item-tree test classes: items
// whose views count their paints and cache drops and whose controllers record the input
// they get, a browser view to select items with, and a main view of 400 x 200 pixels.
// Events are sent directly, so that button, modifier and position are exactly what each
// test names.

#include "BraskTestSupport.h"

#include "brask/core/ObjectBrowserView.h"
#include "brask/core/View.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWheelEvent>

#include <functional>
#include <vector>

namespace viewtest {

/// Counts the paints of its item, the cache drops, and answers prepare as told; a paint runs
/// `failure` when one is set (to throw).
class CountingItemView : public mvc::core::ModelItemView {
public:
    using ModelItemView::ModelItemView;

    mutable int paints = 0;
    int discards = 0;
    bool prepareSucceeds = true;
    std::function<void()> failure;

protected:
    void doPaintMainView(QPainter*, const QTransform&, const QRectF&) const override
    {
        ++paints;
        if (failure) {
            failure();
        }
    }

private:
    void doDiscardPaintCache() override { ++discards; }
    bool doPreparePaintMainView(const QTransform&, const QRectF&) override
    {
        return prepareSucceeds;
    }
};

/// Records the type of every main-view event it receives.
class RecordingController : public mvc::core::ModelItemController {
public:
    using ModelItemController::ModelItemController;

    std::vector<QEvent::Type> events;
    int cursorRestores = 0;

    void keyPressEvent(QKeyEvent* e, mvc::core::View*) override { events.push_back(e->type()); }
    void keyReleaseEvent(QKeyEvent* e, mvc::core::View*) override { events.push_back(e->type()); }
    void mouseDoubleClickEvent(QMouseEvent* e, mvc::core::View*) override
    {
        events.push_back(e->type());
    }
    void mouseMoveEvent(QMouseEvent* e, mvc::core::View*) override { events.push_back(e->type()); }
    void mousePressEvent(QMouseEvent* e, mvc::core::View*) override { events.push_back(e->type()); }
    void mouseReleaseEvent(QMouseEvent* e, mvc::core::View*) override
    {
        events.push_back(e->type());
    }
    void wheelEvent(QWheelEvent* e, mvc::core::View*) override { events.push_back(e->type()); }
    void restoreMouseCursorOnMainView(mvc::core::View*) override { ++cursorRestores; }
};

/// A top-level item of `model` with the box `box`, whose view counts and whose controller
/// records.
inline brasktest::TestItem* addItem(brasktest::TestModel& model, const QString& caption,
                                    const QRectF& box = QRectF())
{
    brasktest::TestItem* item = model.root()->addTopLevel(caption);
    item->setBox(box);
    item->makeView = [](const brasktest::TestItem* i) { return new CountingItemView(i); };
    item->makeController = [](const brasktest::TestItem* i) { return new RecordingController(i); };
    return item;
}

inline CountingItemView* countingView(const mvc::core::ModelItem* item)
{
    return static_cast<CountingItemView*>(item->view());
}

inline RecordingController* recorder(const mvc::core::ModelItem* item)
{
    return static_cast<RecordingController*>(item->controller());
}

/// Counts the controller menus the view asks for instead of showing them.
class Model : public brasktest::TestModel {
public:
    using TestModel::TestModel;

    void showRightClickMenu(const QPoint& pos) override
    {
        ++menusShown;
        menuPos = pos;
    }

    int menusShown = 0;
    QPoint menuPos;
};

/// A main view that counts its paint events.
class CountingView : public mvc::core::View {
public:
    using View::drawScale;
    int paintEvents = 0;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        ++paintEvents;
        View::paintEvent(event);
    }
};

/// Browser, main view of 400 x 200 pixels and model, wired as a project window wires them.
struct Scene {
    Scene()
    {
        view.resize(400, 200);
        view.setModel(&model);
    }

    mvc::core::ObjectBrowserView browser;
    CountingView view;
    Model model{&browser, &view};
};

inline void sendMouse(QWidget* widget, QEvent::Type type, const QPoint& pos,
                      Qt::MouseButton button, Qt::MouseButtons buttons,
                      Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QMouseEvent event(type, pos, widget->mapToGlobal(pos), button, buttons, modifiers);
    QApplication::sendEvent(widget, &event);
}

inline void press(QWidget* widget, const QPoint& pos, Qt::MouseButton button,
                  Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    sendMouse(widget, QEvent::MouseButtonPress, pos, button, button, modifiers);
}

inline void move(QWidget* widget, const QPoint& pos, Qt::MouseButtons buttons = Qt::NoButton,
                 Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    sendMouse(widget, QEvent::MouseMove, pos, Qt::NoButton, buttons, modifiers);
}

inline void release(QWidget* widget, const QPoint& pos, Qt::MouseButton button,
                    Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    sendMouse(widget, QEvent::MouseButtonRelease, pos, button, Qt::NoButton, modifiers);
}

/// A press, moves through `path` and a release at its end, all with `button` and
/// `modifiers`.
inline void drag(QWidget* widget, const std::vector<QPoint>& path, Qt::MouseButton button,
                 Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    press(widget, path.front(), button, modifiers);
    for (std::size_t i = 1; i < path.size(); ++i) {
        move(widget, path[i], button, modifiers);
    }
    release(widget, path.back(), button, modifiers);
}

inline void wheel(QWidget* widget, int angleDeltaY)
{
    const QPointF pos(10, 10);
    QWheelEvent event(pos, widget->mapToGlobal(pos.toPoint()), QPoint(), QPoint(0, angleDeltaY),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
}

} // namespace viewtest
