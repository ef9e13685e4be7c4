#include "molds/MoldEditorTestSupport.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSlider>
#include <QTest>

#include <cmath>

namespace varnel::test {

mold::core::Mold moldOf(const std::vector<double>& l, const std::vector<double>& h)
{
    return mold::core::Mold(mold::core::Mold::Add, l, h, 0.0, 0.0);
}

std::vector<QPointF> pointsOf(const mold::core::Mold& mold)
{
    std::vector<QPointF> points;
    for (std::size_t i = 0; i < mold.size(); ++i) {
        points.emplace_back(mold.l()[i], mold.h()[i]);
    }
    return points;
}

MoldEditorTest::~MoldEditorTest() = default;

MoldItemPropertyDialog* MoldEditorTest::show(MoldItemPropertyDialog* dialog)
{
    m_dialog.reset(dialog);
    dialog->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog));
    // 40 pixels a metre with (0, 0) on a whole pixel: every multiple of 2.5 cm lands on one.
    DetailView* detail = dialog->detailView();
    EXPECT_GE(std::min(detail->width(), detail->height()), 300) << "the view shows 7.5 m";
    const double halfWidth = detail->width() / 2.0;
    const double halfHeight = detail->height() / 2.0;
    detail->setScale(40.0);
    detail->setCenterPoint(QPointF((halfWidth - std::floor(halfWidth)) / 40.0,
                                   -(halfHeight - std::floor(halfHeight)) / 40.0));
    detail->updateView();
    return dialog;
}

MoldItemPropertyDialog* MoldEditorTest::editDialog(const mold::core::Mold& mold, const QString& name)
{
    return show(new MoldItemPropertyDialog(name, mold));
}

MoldItemPropertyDialog* MoldEditorTest::newDialog()
{
    MoldItemPropertyDialog* dialog = show(new MoldItemPropertyDialog(mold::core::Mold::Add));
    dialog->startDefinition();
    return dialog;
}

void MoldEditorTest::setGridPosition(int position)
{
    auto* slider = m_dialog->findChild<QSlider*>(QStringLiteral("gridWidthSlider"));
    ASSERT_NE(slider, nullptr);
    slider->setValue(position);
}

QPointF MoldEditorTest::px(double l, double h) const
{
    return view()->conv(QPointF(l, h));
}

void MoldEditorTest::sendMouse(QEvent::Type type, const QPointF& pos, Qt::MouseButton button,
                               Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    QMouseEvent event(type, pos, QPointF(view()->mapToGlobal(pos.toPoint())), button, buttons,
                      modifiers);
    QApplication::sendEvent(view(), &event);
}

void MoldEditorTest::press(const QPointF& pos, Qt::MouseButton button,
                           Qt::KeyboardModifiers modifiers)
{
    sendMouse(QEvent::MouseButtonPress, pos, button, button, modifiers);
}

void MoldEditorTest::move(const QPointF& pos, Qt::MouseButtons buttons,
                          Qt::KeyboardModifiers modifiers)
{
    sendMouse(QEvent::MouseMove, pos, Qt::NoButton, buttons, modifiers);
}

void MoldEditorTest::release(const QPointF& pos, Qt::MouseButton button,
                             Qt::KeyboardModifiers modifiers)
{
    sendMouse(QEvent::MouseButtonRelease, pos, button, Qt::NoButton, modifiers);
}

void MoldEditorTest::doubleClick(const QPointF& pos)
{
    sendMouse(QEvent::MouseButtonDblClick, pos, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
}

void MoldEditorTest::click(const QPointF& pos, Qt::KeyboardModifiers modifiers)
{
    move(pos, Qt::NoButton, modifiers);
    press(pos, Qt::LeftButton, modifiers);
    release(pos, Qt::LeftButton, modifiers);
}

void MoldEditorTest::drag(const QPointF& from, const QPointF& to, Qt::KeyboardModifiers modifiers)
{
    move(from, Qt::NoButton, modifiers);
    press(from, Qt::LeftButton, modifiers);
    move((from + to) / 2.0, Qt::LeftButton, modifiers);
    move(to, Qt::LeftButton, modifiers);
    release(to, Qt::LeftButton, modifiers);
}

void MoldEditorTest::key(int key, Qt::KeyboardModifiers modifiers)
{
    QKeyEvent event(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(view(), &event);
}

} // namespace varnel::test
