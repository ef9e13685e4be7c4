#pragma once

#include "movarin/surfaces/MoldItemControllerSelectionHelper.h"

namespace varnel {

/// Defines a new mold point by point. The working copy holds the fixed points (one per
/// accepted left press, snapped) and, while the mouse is elsewhere, a loose last point
/// that follows it: a point that differs from the last fixed one by more than 1e-12 in L
/// or H.
///
/// A press is ignored at the last fixed point's position and where it would break strict
/// monotony in L: a second point needs another L than the first, every later one a step
/// in the direction of the first step. An accepted press replaces the loose point (if
/// any) and becomes the last fixed point.
///
/// Return or a double click ends the definition when the fixed points are at least two and
/// strictly monotonic in L: the loose point is dropped, the gesture ends (written back into
/// the item) and the idle tool follows; otherwise nothing happens. Escape removes every
/// point. Shows the working copy with its slope figures.
class MoldItemController::LhSelectionHelper : public SelectionHelper {
public:
    explicit LhSelectionHelper(SelectionHelper& other);
    ~LhSelectionHelper() override;

    guimisc::helper::SelectionHelper* keyPressEvent(QKeyEvent* event, DetailView* view) override;
    guimisc::helper::SelectionHelper* mouseDoubleClickEvent(QMouseEvent* event,
                                                            DetailView* view) override;
    guimisc::helper::SelectionHelper* mouseMoveEvent(QMouseEvent* event, DetailView* view) override;
    guimisc::helper::SelectionHelper* mousePressEvent(QMouseEvent* event,
                                                      DetailView* view) override;

private:
    /// The number of fixed points: all but a loose last one.
    std::size_t fixedCount() const;
    bool hasLoosePoint() const;
    guimisc::helper::SelectionHelper* finishDefinition(DetailView* view);

    /// The position of the last fixed point; meaningful while there is one.
    QPointF m_lastFixed;
};

} // namespace varnel
