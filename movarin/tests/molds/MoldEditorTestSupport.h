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

#include <QEvent>
#include <QPointF>

#include <memory>
#include <set>
#include <vector>

namespace varnel::test {

/// A mold of the given points, base (0, 0), edit type Add.
mold::core::Mold moldOf(const std::vector<double>& l, const std::vector<double>& h);

/// The points of a mold as (L, H) pairs, for comparisons.
std::vector<QPointF> pointsOf(const mold::core::Mold& mold);

class MoldEditorTest : public ScratchSettingsTest {
protected:
    ~MoldEditorTest() override;

    /// A dialog that edits `mold`, shown; the view shows 40 pixels a metre around (0, 0),
    /// which lies on a whole pixel, whatever the mold.
    MoldItemPropertyDialog* editDialog(const mold::core::Mold& mold,
                                       const QString& name = QString());
    /// A dialog for a new Add mold, shown, its definition started, the view as above.
    MoldItemPropertyDialog* newDialog();

    MoldItemPropertyDialog* dialog() const { return m_dialog.get(); }
    DetailView* view() const { return m_dialog->detailView(); }
    MoldItemController* editor() const { return m_dialog->moldItem()->controller(); }
    MoldItemController::SelectionHelper* tool() const { return editor()->selectionHelper(); }
    /// The dialog's mold (what OK hands out).
    const mold::core::Mold& mold() const { return m_dialog->moldItem()->mold(); }
    /// The editor's working copy (what the table shows).
    const mold::core::Mold& workingCopy() const { return tool()->workingCopy()->mold(); }
    std::set<std::size_t> selection() const { return tool()->selection(); }
    /// The grid and snapping step of the dialog's slider position (0: 1 cm, 1: 10 cm, 2: 1 m).
    void setGridPosition(int position);

    /// The widget pixel of world (l, h).
    QPointF px(double l, double h) const;

    void press(const QPointF& pos, Qt::MouseButton button = Qt::LeftButton,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void move(const QPointF& pos, Qt::MouseButtons buttons = Qt::NoButton,
              Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void release(const QPointF& pos, Qt::MouseButton button = Qt::LeftButton,
                 Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void doubleClick(const QPointF& pos);
    /// A move to `pos`, then a press and a release there.
    void click(const QPointF& pos, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    /// A press at `from`, moves to `to` with the button held, the release at `to`.
    void drag(const QPointF& from, const QPointF& to,
              Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

    guimisc::UserDialogScript m_script;

private:
    MoldItemPropertyDialog* show(MoldItemPropertyDialog* dialog);
    void sendMouse(QEvent::Type type, const QPointF& pos, Qt::MouseButton button,
                   Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);

    std::unique_ptr<MoldItemPropertyDialog> m_dialog;
};

} // namespace varnel::test
