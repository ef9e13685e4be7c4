#pragma once

#include "movarin/surfaces/MoldItemControllerSelectionHelper.h"

#include <optional>

namespace varnel {

/// Inserts one point where the user clicks ("Add Point"). The candidate follows the mouse
/// (snapped as a new point is), and with it the insertion index: of the feet of the
/// perpendiculars from the mouse on the mold's segments that fall strictly inside their
/// segment (index: the segment's end), the first point (index 0) and the last point (index
/// size), the one nearest to the mouse on the screen wins, the lower index on ties. A grey
/// polyline previews the change: (point index-1, candidate, point index) inside the mold,
/// (last point, candidate) after it, (first point, candidate) before it.
///
/// A left press inserts the candidate at the press, selects it and drags it on
/// (`TranslationSelectionHelper`); Return inserts it where the mouse last was, selects it
/// and ends the gesture at once. Escape returns to the idle tool without a change.
class MoldItemController::AddPointSelectionHelper : public SelectionHelper {
public:
    explicit AddPointSelectionHelper(SelectionHelper& other);
    ~AddPointSelectionHelper() override;

    guimisc::helper::SelectionHelper* keyPressEvent(QKeyEvent* event, DetailView* view) override;
    guimisc::helper::SelectionHelper* mouseMoveEvent(QMouseEvent* event, DetailView* view) override;
    guimisc::helper::SelectionHelper* mousePressEvent(QMouseEvent* event,
                                                      DetailView* view) override;

    /// Where `pixel` would insert: the index in the working copy (see the class comment).
    std::size_t insertionIndex(const QPointF& pixel, const DetailView* view) const;

private:
    void follow(const QPointF& pos, Qt::KeyboardModifiers modifiers, const DetailView* view);
    void insertCandidate();

    std::optional<QPointF> m_candidate;
    std::size_t m_index = 0;
    std::vector<QPointF> m_preview;
};

} // namespace varnel
