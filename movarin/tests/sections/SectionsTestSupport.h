#pragma once

// Test support of the cross sections: grid TINs over [0, 100]² with an elevation given as a
// function, an independent interpolation on such a grid, and an edit-mode project whose
// window has a main view of known scale.

#include "shell/ProjectTestSupport.h"
#include "support/MouseOn.h"
#include "support/ScratchSettings.h"

#include "movarin/sections/CrossSectionLhTableRow.h"

#include "orlin/core/Tin.h"

#include <QImage>
#include <QPoint>
#include <QPointF>

#include <functional>
#include <memory>
#include <optional>

class QUndoStack;

namespace varnel {
class CrossSectionDialog;
class CrossSectionLhView;
class CrossSectionGroupItem;
class CrossSectionGroupItemController;
class CrossSectionItem;
class EditModeMainWindow;
class EditModeMainWindowModelRootItem;
} // namespace varnel

namespace mvc::core {
class ModelItem;
class View;
} // namespace mvc::core

namespace varnel::test {

/// The elevation of a grid node at (x, y).
using Surface = std::function<double(double, double)>;

/// A TIN over [0, 100]² with nodes 10 apart, each square cut by its "/" diagonal (from its
/// lower-left to its upper-right corner), node elevations `z(x, y)`.
tin::core::Tin gridTin(const Surface& z);

/// The elevation of the `gridTin` of `z` at (x, y), interpolated on the half-square that
/// holds the point by its own barycentric weights; none outside [0, 100]².
std::optional<double> gridElevation(const Surface& z, double x, double y);

/// An edit-mode project with its window, in an empty settings store with the start-up
/// defaults; the window's 400 x 300 main view shows world x from -100 to 100 and y from -75
/// to 75 (2 pixels per metre, the world origin at pixel (200, 150)).
class SectionsTest : public ScratchSettingsTest {
protected:
    SectionsTest();
    ~SectionsTest() override;

    ProjectSession& session() const { return *m_session; }
    EditModeMainWindow* window() const { return m_window; }
    EditModeMainWindowModelRootItem* root() const;
    CrossSectionGroupItem* group() const;
    CrossSectionGroupItemController* groupController() const;
    mvc::core::View* view() const;
    QUndoStack* undoStack() const;
    MouseOn mouse() const;

    /// Widget pixel of a world point (rounded).
    QPoint pixel(const QPointF& world) const;
    /// A section attached at the back of the group, not through the undo stack.
    CrossSectionItem* addSection(const QString& name, const QPointF& start, const QPointF& end);
    /// Opens the section's window through its menu entry, its sub-window 900 x 500 pixels
    /// and laid out; the window.
    CrossSectionDialog* openWindow(CrossSectionItem* section);
    /// Makes `item` the selected item, whose controller gets the view's input.
    void select(mvc::core::ModelItem* item) const;
    /// What the view shows after a repaint.
    QImage grab() const;
    /// Runs posted events and the deletions asked for with `deleteLater`.
    static void settle();

private:
    std::unique_ptr<ProjectSession> m_session;
    EditModeMainWindow* m_window = nullptr;
};

/// A section's window open on a project whose base TIN is the flat `gridTin` at elevation 0
/// and whose edited TIN is the `gridTin` of `editedSurface` (0.1 x - 2, rising along x). The
/// section "K1" runs from S = (12, 45) to E = (88, 45): its profile has a row at each end and
/// one at every 5 m between (the grid's vertical edges and its diagonals), none sharing a
/// position.
class SectionWindowTest : public SectionsTest {
protected:
    SectionWindowTest();
    ~SectionWindowTest() override;

    static double editedSurface(double x, double y);

    CrossSectionItem* section() const { return m_section; }
    CrossSectionDialog* dialog() const { return m_dialog; }
    CrossSectionLhView* plot() const;
    /// The plot's widget pixel of the point (L, H) (rounded).
    QPoint plotPixel(double l, double h) const;
    /// The plot's pixel of current row i.
    QPoint rowPixel(std::size_t i) const;
    MouseOn plotMouse() const;
    /// What the plot's active mode holds selected, and the rows the table shows selected.
    CrossSectionLhRowIndices plotSelection() const;
    CrossSectionLhRowIndices tableSelection() const;
    /// What the plot shows after a repaint.
    QImage grabPlot() const;

private:
    CrossSectionItem* m_section = nullptr;
    CrossSectionDialog* m_dialog = nullptr;
};

} // namespace varnel::test
