#pragma once

class QMdiArea;
class QMdiSubWindow;

namespace varnel {

/// The bird's-eye window: a `BirdEyeView` made with the area as its Qt parent, in a new
/// sub-window of the area (no window flags) that carries the view's icon and title, placed
/// at (0, 0) with 600 by 600 pixels and not yet shown. The area owns the sub-window, the
/// sub-window the view (reached through `QMdiSubWindow::widget()`). The main window makes
/// one for its project and keeps the view.
QMdiSubWindow* createBirdEyeWindow(QMdiArea* area);

/// Makes the OpenGL format the bird's-eye view needs (VTK's: OpenGL 3.2 core profile with
/// depth and stencil buffers) the default of every surface. Call it in `main` before the
/// application object exists, so that every context of the program, shared or not, is
/// made alike.
void setBirdEyeSurfaceFormat();

} // namespace varnel
