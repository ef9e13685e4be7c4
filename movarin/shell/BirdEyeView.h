#pragma once

#include <QCursor>
#include <QVTKOpenGLNativeWidget.h>

#include <vtkSmartPointer.h>

#include <memory>

class QCloseEvent;
class QEvent;
class QMouseEvent;
class vtkRenderer;

namespace tin::core {
class Tin;
}

namespace varnel {

class BirdEyeItem;

/// The bird's-eye view: the project's TIN as a shaded surface in 3-D, coloured by height,
/// with the elevations stretched by the z scale of the preferences ("graphics/zscale").
///
/// A VTK widget with one renderer over a generic OpenGL render window; the lights and the
/// background are VTK's. The camera frames the first surface shown, and any later one that
/// lies apart from the one before in plan; otherwise it stays where the user put it. The mouse works the camera only with Control held and no other modifier:
/// Control with the left button pans, with the right button rotates, with the middle
/// button zooms, each with its cursor until the button is released. Presses and releases
/// without that never reach VTK; moves, the wheel (zoom) and keys go to VTK as they come.
/// Closing the window only hides its MDI sub-window.
///
/// `setTin` shows a copy of the TIN taken at the call: later edits show only at the next
/// `setTin`. The main window (the first `MainWindow` ancestor) announces new preferences
/// through `preferenceChanged()`, which re-reads the z scale; the view connects to it once.
///
/// Needs an OpenGL 3.2 context: the program sets `setBirdEyeSurfaceFormat()` before it
/// makes its application object (see BirdEyeWindow.h), and offscreen platforms have none.
/// Owns the shown TIN's item and the renderer. Cost: `setTin` converts the whole TIN (a quarter
/// of a second or so for two million triangles) and renders once.
class BirdEyeView : public QVTKOpenGLNativeWidget {
    Q_OBJECT
public:
    explicit BirdEyeView(QWidget* parent = nullptr);
    ~BirdEyeView() override;

    /// Replaces the shown surface by the TIN's, applies the z scale and renders.
    void setTin(const tin::core::Tin& tin);

    /// The one renderer of the view (its actors are the shown surfaces).
    vtkRenderer* renderer() const;

public slots:
    /// Reads "graphics/zscale" (1 when missing or not a number) and stretches the shown
    /// surface's elevations by it; x and y stay in metres.
    void setZScale();

protected:
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void applyZScale();
    void render();
    void connectToMainWindow();
    /// Whether VTK's interactor can take events now; if so, hands it the event's position.
    bool passPosition(QMouseEvent* event, int repeatCount);

    std::unique_ptr<BirdEyeItem> m_item;
    bool m_panning = false;
    bool m_zooming = false;
    bool m_rotating = false;
    QCursor m_cursorZoom;
    QCursor m_cursorMove;
    QCursor m_cursorRotate;
    vtkSmartPointer<vtkRenderer> m_renderer;
};

} // namespace varnel
