#pragma once

// The mold editor as a user meets it: a "Mold Setting" dialog, shown offscreen, whose detail
// view receives mouse and key events built here at pixels from the view's `conv`, and a
// message script that answers (and records) every box.

#include "support/ScratchSettings.h"

#include "movarin/surfaces/DetailView.h"
#include "movarin/surfaces/MoldItemController.h"
#include "movarin/surfaces/MoldItemControllerSelectionHelper.h"
#include "movarin/surfaces/MoldItemPropertyDialog.h"

#include <guimisc/UserDialogScript.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>

#include <cmath>
#include <memory>
#include <set>
#include <vector>

namespace varnel::test {

/// An Add mold of the given points based at (0, 0).
inline mold::core::Mold moldOf(const std::vector<double>& l, const std::vector<double>& h)
{
    return mold::core::Mold(mold::core::Mold::Add, l, h, 0.0, 0.0);
}

inline std::vector<QPointF> pointsOf(const mold::core::Mold& mold)
{
    std::vector<QPointF> points;
    for (std::size_t i = 0; i < mold.size(); ++i) {
        points.emplace_back(mold.l()[i], mold.h()[i]);
    }
    return points;
}

class MoldEditorTest : public ScratchSettingsTest {
protected:
    /// A shown dialog that edits `mold`; its view shows 40 pixels a metre with (0, 0) on a
    /// whole pixel, so that every multiple of 2.5 cm lands on one.
    MoldItemPropertyDialog* editDialog(const mold::core::Mold& mold, const QString& name = {})
    {
        return show(new MoldItemPropertyDialog(name, mold));
    }
    /// The same for a new Add mold, its definition started.
    MoldItemPropertyDialog* newDialog()
    {
        show(new MoldItemPropertyDialog(mold::core::Mold::Add));
        m_dialog->startDefinition();
        return m_dialog.get();
    }

    MoldItemPropertyDialog* dialog() const { return m_dialog.get(); }
    DetailView* view() const { return m_dialog->detailView(); }
    MoldItemController* editor() const { return m_dialog->moldItem()->controller(); }
    MoldItemController::SelectionHelper* tool() const { return editor()->selectionHelper(); }
    /// The dialog's mold (what OK hands out) and the editor's working copy (the table's).
    const mold::core::Mold& mold() const { return m_dialog->moldItem()->mold(); }
    const mold::core::Mold& workingCopy() const { return tool()->workingCopy()->mold(); }
    std::set<std::size_t> selection() const { return tool()->selection(); }
    QPointF px(double l, double h) const { return view()->conv(QPointF(l, h)); }

    void press(const QPointF& pos, Qt::MouseButton button = Qt::LeftButton,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        mouse(QEvent::MouseButtonPress, pos, button, button, modifiers);
    }
    void move(const QPointF& pos, Qt::MouseButtons buttons = Qt::NoButton,
              Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        mouse(QEvent::MouseMove, pos, Qt::NoButton, buttons, modifiers);
    }
    void release(const QPointF& pos, Qt::MouseButton button = Qt::LeftButton,
                 Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        mouse(QEvent::MouseButtonRelease, pos, button, Qt::NoButton, modifiers);
    }
    void doubleClick(const QPointF& pos)
    {
        mouse(QEvent::MouseButtonDblClick, pos, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    }
    /// A move to `pos`, then a press and a release there.
    void click(const QPointF& pos, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        move(pos, Qt::NoButton, modifiers);
        press(pos, Qt::LeftButton, modifiers);
        release(pos, Qt::LeftButton, modifiers);
    }
    /// A press at `from`, moves to `to` with the button held, the release at `to`; the
    /// modifiers are held from the first move after the press on.
    void drag(const QPointF& from, const QPointF& to,
              Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        move(from);
        press(from);
        move((from + to) / 2.0, Qt::LeftButton, modifiers);
        move(to, Qt::LeftButton, modifiers);
        release(to, Qt::LeftButton, modifiers);
    }
    void key(int key)
    {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(view(), &event);
    }

    guimisc::UserDialogScript m_script;

private:
    MoldItemPropertyDialog* show(MoldItemPropertyDialog* dialog)
    {
        m_dialog.reset(dialog);
        dialog->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog));
        DetailView* detail = dialog->detailView();
        EXPECT_GE(std::min(detail->width(), detail->height()), 300) << "the view shows 7.5 m";
        const QPointF half(detail->width() / 2.0, detail->height() / 2.0);
        detail->setScale(40.0);
        detail->setCenterPoint(QPointF(half.x() - std::floor(half.x()),
                                       std::floor(half.y()) - half.y()) / 40.0);
        detail->updateView();
        return dialog;
    }
    void mouse(QEvent::Type type, const QPointF& pos, Qt::MouseButton button,
               Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
    {
        QMouseEvent event(type, pos, QPointF(view()->mapToGlobal(pos.toPoint())), button, buttons,
                          modifiers);
        QApplication::sendEvent(view(), &event);
    }

    std::unique_ptr<MoldItemPropertyDialog> m_dialog;
};

} // namespace varnel::test
