#pragma once

// Test support for the soil-volume and drawing tools: an edit-mode project in a real main
// window whose main view maps whole world coordinates onto whole pixels, user input sent to
// that view, and small TINs over grids.

#include "shell/MainWindowTestSupport.h"

#include "brask/core/View.h"
#include "movarin/shell/EditModeMainWindow.h"
#include "movarin/shell/EditModeMainWindowModel.h"
#include "movarin/shell/EditModeMainWindowModelRootItem.h"
#include "movarin/shell/Project.h"
#include "movarin/survey/ReadOnlyTinItem.h"
#include "movarin/survey/TinItem.h"
#include "orlin/core/Point.h"
#include "orlin/core/Tin.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace varnel::test {

/// Two triangles over the quadrilateral a, b, c, d (counter-clockwise from lower left), split
/// along a-c when `rising`, else along b-d.
inline void addCell(tin::core::Tin& tin, const tin::core::Point& a, const tin::core::Point& b,
                    const tin::core::Point& c, const tin::core::Point& d, bool rising)
{
    if (rising) {
        tin.addTriangle(a, b, c);
        tin.addTriangle(a, c, d);
    } else {
        tin.addTriangle(a, b, d);
        tin.addTriangle(b, c, d);
    }
}

/// A TIN over an nx by ny grid of cells on [x0, x1] x [y0, y1], elevation z(x, y), two
/// triangles per cell split along the diagonal that `rising(i, j)` chooses for cell (i, j)
/// (true: lower left to upper right). Vertices are interned by the point factory.
inline tin::core::Tin gridTin(double x0, double y0, double x1, double y1, int nx, int ny,
                              const std::function<double(double, double)>& z,
                              const std::function<bool(int, int)>& rising = nullptr)
{
    auto at = [&](int i, int j) {
        const double x = x0 + (x1 - x0) * i / nx;
        const double y = y0 + (y1 - y0) * j / ny;
        return tin::core::Point(x, y, z(x, y));
    };
    tin::core::Tin tin;
    for (int i = 0; i < nx; ++i) {
        for (int j = 0; j < ny; ++j) {
            addCell(tin, at(i, j), at(i + 1, j), at(i + 1, j + 1), at(i, j + 1), !rising || rising(i, j));
        }
    }
    return tin;
}

/// A level TIN at z over the square [0, 10]^2.
inline tin::core::Tin levelSquare(double z, int cells)
{
    return gridTin(0, 0, 10, 10, cells, cells, [z](double, double) { return z; });
}

/// A main window with a new edit-mode project.
class EditModeWindowTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        window().newEditProject();
        ASSERT_NE(editWindow(), nullptr);
    }

    EditModeMainWindow* editWindow() const
    {
        Project* project = m_window->project();
        return project ? qobject_cast<EditModeMainWindow*>(project->projectWindow()) : nullptr;
    }
    mvc::core::View* view() const { return editWindow()->view(); }
    EditModeMainWindowModelRootItem* root() const { return editWindow()->model()->rootItem(); }

    /// The project's base and edited TINs become copies of these.
    void setTins(const tin::core::Tin& base, const tin::core::Tin& edited)
    {
        root()->baseTinItem()->setTin(new tin::core::Tin(base));
        root()->tinItem()->setTin(new tin::core::Tin(edited));
    }

    /// Shows the world around (5, 5) at 32 pixels per metre, the centre nudged so that whole
    /// world coordinates fall on whole pixels and clicks there land exactly on them.
    void alignView()
    {
        mvc::core::View* v = view();
        v->fit(QRectF(0, 0, 10, 10));
        v->setScale(32.0);
        v->setCenterPoint(QPointF(5, 5));
        v->updateView();
        const QPointF p = v->conv(QPointF(0, 0));
        v->setCenterPoint(QPointF(5 - (std::round(p.x()) - p.x()) / 32.0,
                                  5 + (std::round(p.y()) - p.y()) / 32.0));
        v->updateView();
        const QPointF q = v->conv(QPointF(3, 7));
        ASSERT_DOUBLE_EQ(q.x(), std::round(q.x()));
        ASSERT_DOUBLE_EQ(q.y(), std::round(q.y()));
        ASSERT_TRUE(v->rect().contains(q.toPoint()));
    }

    QPoint pixel(double x, double y) const { return view()->conv(QPointF(x, y)).toPoint(); }

    void sendMouse(QEvent::Type type, double x, double y, Qt::MouseButton button = Qt::LeftButton)
    {
        const QPoint at = pixel(x, y);
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick ? button
                                                                                    : Qt::NoButton;
        QMouseEvent event(type, at, view()->mapToGlobal(at),
                          type == QEvent::MouseMove ? Qt::NoButton : button, held, Qt::NoModifier);
        QApplication::sendEvent(view(), &event);
    }
    void moveTo(double x, double y) { sendMouse(QEvent::MouseMove, x, y); }
    /// Press and release of the left button without a move between.
    void clickAt(double x, double y)
    {
        sendMouse(QEvent::MouseButtonPress, x, y);
        sendMouse(QEvent::MouseButtonRelease, x, y);
    }
    /// A click after a move there, as a hand on the mouse gives it.
    void moveAndClick(double x, double y)
    {
        moveTo(x, y);
        clickAt(x, y);
    }
    void key(Qt::Key k) { QTest::keyClick(view(), k); }

    /// The main view as it is painted now.
    QImage viewImage() const { return view()->grab().toImage(); }
};

} // namespace varnel::test
