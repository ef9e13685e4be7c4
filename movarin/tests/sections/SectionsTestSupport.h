#pragma once

// Test support of the cross sections: grid TINs over [0, 100]² with an elevation given as a
// function, an independent interpolation on such a grid, and an edit-mode project whose
// window has a main view of known scale.

#include "shell/ProjectTestSupport.h"
#include "support/MouseOn.h"
#include "support/ScratchSettings.h"

#include "orlin/core/Tin.h"

#include <QImage>
#include <QPoint>
#include <QPointF>

#include <functional>
#include <memory>
#include <optional>

class QUndoStack;

namespace varnel {
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

} // namespace varnel::test
