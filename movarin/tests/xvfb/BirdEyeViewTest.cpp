// The bird's-eye view on a real OpenGL context: which mouse buttons work the camera, the
// surface replaced rather than added, the z scale from the preferences, and a screenshot of
// the terrain.
#include "movarin/shell/BirdEyeItem.h"
#include "movarin/shell/BirdEyeView.h"
#include "movarin/shell/BirdEyeWindow.h"
#include "movarin/shell/MainWindow.h"
#include "movarin/shell/SettingsKeys.h"

#include "brask/window/ProjectMdiArea.h"

#include "support/ScratchSettings.h"

#include "orlin/core/Point.h"
#include "orlin/core/Tin.h"
#include "orlin/io/StlTinImporter.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPixmap>
#include <QSet>
#include <QSettings>
#include <QTest>

#include <vtkActor.h>
#include <vtkActorCollection.h>
#include <vtkCamera.h>
#include <vtkMapper.h>
#include <vtkPolyData.h>
#include <vtkRenderWindow.h>
#include <vtkRenderWindowInteractor.h>
#include <vtkRenderer.h>

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <memory>
#include <string>

namespace varnel::test {
namespace {

// The program sets the surface format before its application object; so does this one.
const bool surfaceFormatSet = (setBirdEyeSurfaceFormat(), true);

// The application's main window, telling how many listen to its preference signal.
class PreferenceWindow : public MainWindow {
public:
    int preferenceListeners() const { return receivers(SIGNAL(preferenceChanged())); }
};

tin::core::Tin terrain()
{
    const std::string path = std::string(MOVARIN_SHARED_DATA_DIR) + "/real/stl/hmstl_scene-thick_binary.stl";
    return tin::io::StlTinImporter().importTin(path.c_str());
}

// A small slope far from the origin, as plane coordinates are.
tin::core::Tin slope(int cells)
{
    tin::core::Tin tin;
    auto at = [](int i, int j) { return tin::core::Point(120000.0 + 10 * i, -35000.0 + 10 * j, 5.0 + i + 0.5 * j); };
    for (int i = 0; i < cells; ++i) {
        for (int j = 0; j < cells; ++j) {
            tin.addTriangle(at(i, j), at(i + 1, j), at(i + 1, j + 1));
            tin.addTriangle(at(i, j), at(i + 1, j + 1), at(i, j + 1));
        }
    }
    return tin;
}

struct CameraState {
    std::array<double, 3> position;
    std::array<double, 3> focalPoint;

    double distance() const
    {
        return std::hypot(position[0] - focalPoint[0], position[1] - focalPoint[1], position[2] - focalPoint[2]);
    }
};

double gap(const std::array<double, 3>& a, const std::array<double, 3>& b)
{
    return std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]);
}

bool sameImage(const QCursor& cursor, const char* picture)
{
    const QImage expected = QPixmap(QStringLiteral(":/libs/mvc/images/") + QLatin1String(picture)).toImage();
    return !expected.isNull() && cursor.shape() == Qt::BitmapCursor && cursor.pixmap().toImage() == expected;
}

// A main window with an MDI area holding the bird's-eye window, shown, with a TIN drawn.
class BirdEyeViewTest : public ScratchSettingsTest {
protected:
    void SetUp() override
    {
        m_subWindow = createBirdEyeWindow(m_window.mdiArea());
        m_view = qobject_cast<BirdEyeView*>(m_subWindow->widget());
        ASSERT_NE(m_view, nullptr);
        m_window.resize(800, 700);
        m_window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_window));
    }

    // Waits until the widget has made its context and VTK has drawn into it.
    void waitForRender()
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 5000) {
            QApplication::processEvents();
            vtkRenderWindowInteractor* interactor = m_view->renderWindow()->GetInteractor();
            if (interactor->GetSize()[1] > 0 && m_view->renderer()->IsActiveCameraCreated()) {
                return;
            }
            QTest::qWait(20);
        }
        FAIL() << "the bird's-eye view never rendered";
    }

    // As the main window does: the TIN first, then the window is shown (when hidden).
    void showTin(const tin::core::Tin& tin)
    {
        m_view->setTin(tin);
        m_subWindow->show();
        m_view->update();
        waitForRender();
    }

    CameraState camera() const
    {
        CameraState state{};
        vtkCamera* c = m_view->renderer()->GetActiveCamera();
        c->GetPosition(state.position.data());
        c->GetFocalPoint(state.focalPoint.data());
        return state;
    }

    void send(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held, Qt::KeyboardModifiers keys)
    {
        QMouseEvent event(type, at, m_view->mapToGlobal(at), button, held, keys);
        QApplication::sendEvent(m_view, &event);
    }

    // Press at the centre, three moves towards the lower right, release; `during` runs while
    // the button is down.
    template <class During>
    void drag(Qt::MouseButton button, Qt::KeyboardModifiers keys, During during)
    {
        const QPoint centre = m_view->rect().center();
        send(QEvent::MouseButtonPress, centre, button, button, keys);
        for (int step = 1; step <= 3; ++step) {
            send(QEvent::MouseMove, centre + QPoint(25 * step, 15 * step), Qt::NoButton, button, keys);
        }
        during();
        send(QEvent::MouseButtonRelease, centre + QPoint(75, 45), button, Qt::NoButton, keys);
    }

    void drag(Qt::MouseButton button, Qt::KeyboardModifiers keys)
    {
        drag(button, keys, [] {});
    }

    // A Control drag: whether the view showed brask's cursor picture while the button was
    // down and the arrow after the release.
    bool controlDragShows(Qt::MouseButton button, const char* picture)
    {
        bool shown = false;
        drag(button, Qt::ControlModifier, [&] { shown = sameImage(m_view->cursor(), picture); });
        return shown && m_view->cursor().shape() == Qt::ArrowCursor;
    }

    PreferenceWindow m_window;
    QMdiSubWindow* m_subWindow = nullptr;
    BirdEyeView* m_view = nullptr;
};

TEST_F(BirdEyeViewTest, ButtonsWorkTheCameraOnlyWithControlAlone)
{
    showTin(slope(8));
    const CameraState start = camera();

    drag(Qt::LeftButton, Qt::NoModifier);
    drag(Qt::RightButton, Qt::NoModifier);
    drag(Qt::LeftButton, Qt::ControlModifier | Qt::ShiftModifier);
    drag(Qt::MiddleButton, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(gap(camera().position, start.position), 0.0);
    EXPECT_EQ(gap(camera().focalPoint, start.focalPoint), 0.0);
    EXPECT_EQ(m_view->cursor().shape(), Qt::ArrowCursor);

    // Control-left pans: camera and focal point move together, with the move cursor
    // until the release.
    EXPECT_TRUE(controlDragShows(Qt::LeftButton, "cursorMove.png"));
    const CameraState panned = camera();
    EXPECT_GT(gap(panned.position, start.position), 1e-6);
    EXPECT_NEAR(gap(panned.focalPoint, start.focalPoint), gap(panned.position, start.position), 1e-6);

    // Control-right rotates about the focal point; Control-middle zooms towards it.
    EXPECT_TRUE(controlDragShows(Qt::RightButton, "cursorRotate.png"));
    const CameraState rotated = camera();
    EXPECT_EQ(gap(rotated.focalPoint, panned.focalPoint), 0.0);
    EXPECT_NEAR(rotated.distance(), panned.distance(), 1e-6 * panned.distance());
    EXPECT_GT(gap(rotated.position, panned.position), 1e-6);

    EXPECT_TRUE(controlDragShows(Qt::MiddleButton, "cursorZoom.png"));
    const CameraState zoomed = camera();
    EXPECT_EQ(gap(zoomed.focalPoint, rotated.focalPoint), 0.0);
    EXPECT_GT(std::abs(zoomed.distance() - rotated.distance()), 1e-6 * rotated.distance());

    // A release with no accepted press before it changes nothing.
    send(QEvent::MouseButtonRelease, QPoint(5, 5), Qt::LeftButton, Qt::NoButton, Qt::ControlModifier);
    EXPECT_EQ(gap(camera().position, zoomed.position), 0.0);
}

// However the window was painted before, a new surface is in sight: the first one, and
// one lying apart from the last. One over the same ground keeps the user's camera.
TEST_F(BirdEyeViewTest, SurfaceIsFramedWhenItWouldBeOutOfSight)
{
    m_subWindow->show();
    waitForRender();
    auto inSight = [&](double x, double y) {
        const CameraState c = camera();
        return std::abs(c.focalPoint[0] - x) < 1.0 && std::abs(c.focalPoint[1] - y) < 1.0;
    };
    showTin(slope(8));
    EXPECT_TRUE(inSight(120040.0, -34960.0));

    drag(Qt::LeftButton, Qt::ControlModifier);
    const CameraState panned = camera();
    showTin(slope(4));
    EXPECT_EQ(gap(camera().position, panned.position), 0.0);

    tin::core::Tin apart;
    apart.addTriangle(tin::core::Point(0, 0, 1), tin::core::Point(30, 0, 2), tin::core::Point(0, 30, 3));
    showTin(apart);
    EXPECT_TRUE(inSight(15.0, 15.0));
}

// VTK counts device pixels from the bottom of the window, Qt logical pixels from the top.
TEST_F(BirdEyeViewTest, PressPositionReachesVtkInDevicePixelsFromTheBottom)
{
    showTin(slope(2));
    for (double ratio : {1.0, 2.0}) {
        // The widget hands VTK a new ratio at its next resize.
        m_view->setCustomDevicePixelRatio(ratio);
        m_subWindow->resize(m_subWindow->size() + QSize(10, 10));
        QTest::qWait(50);
        vtkRenderWindowInteractor* interactor = m_view->renderWindow()->GetInteractor();
        const int height = interactor->GetSize()[1];
        ASSERT_EQ(height, static_cast<int>(m_view->height() * ratio)) << "ratio " << ratio;
        send(QEvent::MouseButtonPress, QPoint(30, 40), Qt::RightButton, Qt::RightButton, Qt::ControlModifier);
        EXPECT_EQ(interactor->GetEventPosition()[0], static_cast<int>(30 * ratio)) << "ratio " << ratio;
        EXPECT_EQ(interactor->GetEventPosition()[1], height - static_cast<int>(40 * ratio) - 1) << "ratio " << ratio;
        EXPECT_EQ(interactor->GetControlKey(), 0);
        send(QEvent::MouseButtonRelease, QPoint(30, 40), Qt::RightButton, Qt::NoButton, Qt::ControlModifier);
    }
}

// Showing again replaces the surface (an empty one too), and the view listens to the main
// window once.
TEST_F(BirdEyeViewTest, SecondTinReplacesTheFirstAndListensOnce)
{
    showTin(slope(2));
    showTin(slope(5));
    ASSERT_EQ(m_view->renderer()->GetActors()->GetNumberOfItems(), 1);
    vtkActor* actor = m_view->renderer()->GetActors()->GetLastActor();
    EXPECT_EQ(vtkPolyData::SafeDownCast(actor->GetMapper()->GetInput())->GetNumberOfPolys(), 50);
    // The main window's own parts listen too; the view adds one connection.
    EXPECT_EQ(m_window.preferenceListeners(), PreferenceWindow().preferenceListeners() + 1);

    showTin(tin::core::Tin());
    ASSERT_EQ(m_view->renderer()->GetActors()->GetNumberOfItems(), 1);
    actor = m_view->renderer()->GetActors()->GetLastActor();
    EXPECT_EQ(vtkPolyData::SafeDownCast(actor->GetMapper()->GetInput())->GetNumberOfPolys(), 0);
}

TEST_F(BirdEyeViewTest, ZScaleFollowsThePreferences)
{
    auto scale = [&] {
        std::array<double, 3> s{};
        m_view->renderer()->GetActors()->GetLastActor()->GetScale(s.data());
        return s;
    };
    // No key yet (a store the start-up never wrote): the surface keeps its relief.
    showTin(slope(3));
    EXPECT_EQ(scale(), (std::array<double, 3>{1.0, 1.0, 1.0}));

    QSettings().setValue(QLatin1String(settings::graphicsZScale), QStringLiteral("2"));
    EXPECT_EQ(scale()[2], 1.0) << "the scale is read when the main window says so";
    emit m_window.preferenceChanged();
    EXPECT_EQ(scale(), (std::array<double, 3>{1.0, 1.0, 2.0}));

    // The stretched surface lies within the camera's depth range at once.
    double bounds[6];
    m_view->renderer()->ComputeVisiblePropBounds(bounds);
    double range[2];
    m_view->renderer()->GetActiveCamera()->GetClippingRange(range);
    const CameraState c = camera();
    for (int corner = 0; corner < 8; ++corner) {
        const std::array<double, 3> p{bounds[corner & 1], bounds[2 + ((corner >> 1) & 1)], bounds[4 + ((corner >> 2) & 1)]};
        const double depth = gap(p, c.position);
        EXPECT_GE(depth, range[0] * 0.999);
        EXPECT_LE(depth, range[1] * 1.001);
    }

    QSettings().setValue(QLatin1String(settings::graphicsZScale), QStringLiteral("steep"));
    emit m_window.preferenceChanged();
    EXPECT_EQ(scale()[2], 1.0);
}

TEST_F(BirdEyeViewTest, ClosingOnlyHidesTheSubWindow)
{
    showTin(slope(2));
    EXPECT_FALSE(m_subWindow->close());
    EXPECT_TRUE(m_subWindow->isHidden());
    EXPECT_EQ(m_window.mdiArea()->subWindowList().size(), 1);
    EXPECT_EQ(m_subWindow->widget(), m_view);
}

// The terrain of the real data, saved for a look and checked to be drawn: most of the
// window differs from the background and the shading gives many colours.
TEST_F(BirdEyeViewTest, ScreenshotOfTheTerrainIsNotBlank)
{
    showTin(terrain());
    QTest::qWait(100);
    const QImage shot = m_subWindow->grab().toImage();
    const QString folder = QStringLiteral(MOVARIN_BINARY_DIR "/screenshots");
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(shot.save(folder + QStringLiteral("/bird-eye.png")));

    const QImage scene = m_view->grabFramebuffer();
    ASSERT_FALSE(scene.isNull());
    const QRgb background = scene.pixel(1, 1);
    QSet<QRgb> colours;
    qint64 drawn = 0;
    for (int y = 0; y < scene.height(); ++y) {
        for (int x = 0; x < scene.width(); ++x) {
            const QRgb pixel = scene.pixel(x, y);
            colours.insert(pixel);
            drawn += pixel != background ? 1 : 0;
        }
    }
    const double share = static_cast<double>(drawn) / (static_cast<double>(scene.width()) * scene.height());
    EXPECT_GT(share, 0.2) << "drawn share " << share;
    EXPECT_GT(colours.size(), 100) << "colours " << colours.size();
}

} // namespace
} // namespace varnel::test

