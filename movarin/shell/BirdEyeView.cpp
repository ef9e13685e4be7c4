#include "movarin/shell/BirdEyeView.h"

#include "movarin/shell/BirdEyeItem.h"
#include "movarin/shell/BirdEyeItemView.h"
#include "movarin/shell/MainWindow.h"
#include "movarin/shell/SettingsKeys.h"

#include <QCloseEvent>
#include <QIcon>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPixmap>
#include <QSettings>

#include <vtkActor.h>
#include <vtkCommand.h>
#include <vtkGenericOpenGLRenderWindow.h>
#include <vtkInteractorStyleTrackballCamera.h>
#include <vtkNew.h>
#include <vtkPolyData.h>
#include <vtkRenderWindowInteractor.h>
#include <vtkRenderer.h>

// brask's pictures (the cursors) are compiled into brask, of which nothing else may be
// linked in here: registering its resources by name keeps the library and its pictures
// loaded. Registering twice changes nothing. Outside any namespace, as the macro requires.
static void registerFrameworkResources()
{
    Q_INIT_RESOURCE(brask);
}

namespace varnel {

namespace {

// The VTK camera motion each mouse button starts with Control: left pans (VTK's middle
// button), right rotates (VTK's left button), middle zooms (VTK's right button).
struct ButtonMapping {
    unsigned long press;
    unsigned long release;
};

bool mappingOf(Qt::MouseButton button, ButtonMapping* mapping)
{
    switch (button) {
    case Qt::LeftButton:
        *mapping = {vtkCommand::MiddleButtonPressEvent, vtkCommand::MiddleButtonReleaseEvent};
        return true;
    case Qt::RightButton:
        *mapping = {vtkCommand::LeftButtonPressEvent, vtkCommand::LeftButtonReleaseEvent};
        return true;
    case Qt::MiddleButton:
        *mapping = {vtkCommand::RightButtonPressEvent, vtkCommand::RightButtonReleaseEvent};
        return true;
    default:
        return false;
    }
}

// Whether the two surfaces share some ground in x and y (empty ones share none).
bool overlapInPlan(vtkPolyData* a, vtkPolyData* b)
{
    if (a->GetNumberOfPoints() == 0 || b->GetNumberOfPoints() == 0) {
        return false;
    }
    double p[6];
    double q[6];
    a->GetBounds(p);
    b->GetBounds(q);
    return p[0] <= q[1] && q[0] <= p[1] && p[2] <= q[3] && q[2] <= p[3];
}

// One of brask's cursor pictures, with its hot spot in the middle.
QCursor frameworkCursor(const char* file)
{
    registerFrameworkResources();
    return QCursor(QPixmap(QStringLiteral(":/libs/mvc/images/") + QLatin1String(file)));
}

} // namespace

BirdEyeView::BirdEyeView(QWidget* parent)
    : QVTKOpenGLNativeWidget(vtkSmartPointer<vtkGenericOpenGLRenderWindow>::New(), parent),
      m_cursorZoom(frameworkCursor("cursorZoom.png")),
      m_cursorMove(frameworkCursor("cursorMove.png")),
      m_cursorRotate(frameworkCursor("cursorRotate.png")),
      m_renderer(vtkSmartPointer<vtkRenderer>::New())
{
    if (objectName().isEmpty()) {
        setObjectName(QStringLiteral("BirdEyeView"));
    }
    setWindowIcon(QIcon(QStringLiteral(":/images/iconVis3D.png")));
    setWindowTitle(tr("Bird's eye Window"));
    renderWindow()->AddRenderer(m_renderer);
    // Set here rather than left to the interactor's default, which switches styles on keys.
    vtkNew<vtkInteractorStyleTrackballCamera> style;
    renderWindow()->GetInteractor()->SetInteractorStyle(style);
}

BirdEyeView::~BirdEyeView() = default;

vtkRenderer* BirdEyeView::renderer() const
{
    return m_renderer;
}

void BirdEyeView::setTin(const tin::core::Tin& tin)
{
    // The new surface is made before the old one leaves, so that a failed conversion
    // leaves the view as it was.
    auto item = std::make_unique<BirdEyeItem>(tin);
    const bool frame = !m_item || !overlapInPlan(m_item->polyData(), item->polyData());
    if (m_item) {
        m_renderer->RemoveActor(m_item->itemView()->actor());
    }
    m_item = std::move(item);
    m_renderer->AddActor(m_item->itemView()->actor());
    applyZScale();
    // VTK frames the scene only when its first render makes the camera, which may have
    // happened before any surface was there (the window painted first): the camera would
    // look at the origin, far from plane coordinates. A surface elsewhere than the last one
    // would be out of sight as well. Any other surface keeps the user's camera.
    if (frame) {
        m_renderer->ResetCamera();
    }
    connectToMainWindow();
    render();
}

void BirdEyeView::setZScale()
{
    applyZScale();
    render();
}

void BirdEyeView::applyZScale()
{
    if (!m_item) {
        return;
    }
    bool ok = false;
    double z = QSettings().value(QLatin1String(settings::graphicsZScale)).toDouble(&ok);
    if (!ok) {
        z = 1.0;
    }
    m_item->itemView()->actor()->SetScale(1.0, 1.0, z);
}

void BirdEyeView::render()
{
    // A stretched surface may reach beyond the depth range the camera was given for the old
    // one. Before the first render there is no camera yet: asking for one now would keep VTK
    // from framing the surface when it makes its own.
    if (m_renderer->IsActiveCameraCreated()) {
        m_renderer->ResetCameraClippingRange();
    }
    renderWindow()->Render();
}

void BirdEyeView::connectToMainWindow()
{
    for (QWidget* ancestor = parentWidget(); ancestor != nullptr; ancestor = ancestor->parentWidget()) {
        if (auto* mainWindow = qobject_cast<MainWindow*>(ancestor)) {
            connect(mainWindow, &MainWindow::preferenceChanged, this, &BirdEyeView::setZScale, Qt::UniqueConnection);
            return;
        }
    }
}

bool BirdEyeView::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
        // The VTK widget hands every mouse event to VTK from event(); buttons take the
        // remapping of mousePressEvent and mouseReleaseEvent instead.
        return QOpenGLWidget::event(event);
    default:
        return QVTKOpenGLNativeWidget::event(event);
    }
}

bool BirdEyeView::passPosition(QMouseEvent* event, int repeatCount)
{
    vtkRenderWindowInteractor* interactor = renderWindow()->GetInteractor();
    if (interactor == nullptr || !interactor->GetEnabled()) {
        return false;
    }
    // VTK counts device pixels from the bottom; Qt gives device-independent pixels from the
    // top. The small tolerance matches the widget's own conversion of moves.
    const double ratio = effectiveDevicePixelRatio();
    const int x = static_cast<int>(event->x() * ratio + 1e-5);
    const int y = static_cast<int>(event->y() * ratio + 1e-5);
    interactor->SetEventInformationFlipY(x, y, 0, 0, 0, repeatCount, nullptr);
    return true;
}

void BirdEyeView::mousePressEvent(QMouseEvent* event)
{
    if (event->modifiers() != Qt::ControlModifier) {
        return;
    }
    const int repeatCount = event->type() == QEvent::MouseButtonDblClick ? 1 : 0;
    if (!passPosition(event, repeatCount)) {
        return;
    }
    ButtonMapping mapping{};
    if (!mappingOf(event->button(), &mapping)) {
        return;
    }
    switch (event->button()) {
    case Qt::LeftButton:
        m_panning = true;
        setCursor(m_cursorMove);
        break;
    case Qt::RightButton:
        m_rotating = true;
        setCursor(m_cursorRotate);
        break;
    default:
        m_zooming = true;
        setCursor(m_cursorZoom);
        break;
    }
    renderWindow()->GetInteractor()->InvokeEvent(mapping.press, event);
}

void BirdEyeView::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_panning && !m_zooming && !m_rotating) {
        return;
    }
    m_panning = m_zooming = m_rotating = false;
    setCursor(Qt::ArrowCursor);
    ButtonMapping mapping{};
    if (passPosition(event, 0) && mappingOf(event->button(), &mapping)) {
        renderWindow()->GetInteractor()->InvokeEvent(mapping.release, event);
    }
}

void BirdEyeView::closeEvent(QCloseEvent* event)
{
    auto* subWindow = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (subWindow == nullptr) {
        QVTKOpenGLNativeWidget::closeEvent(event);
        return;
    }
    subWindow->hide();
    event->ignore();
}

} // namespace varnel
