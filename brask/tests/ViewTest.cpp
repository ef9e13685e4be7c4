// The main 2-D view: transform and conversions, fit, navigation, drags, input routing,
// painting and the scale bar, on views of 400 x 200 pixels.

#include "ViewTestSupport.h"

#include "brask/util/AutoFitter.h"
#include "brask/util/MainViewHelperI.h"
#include "brask/util/SelectionHelper.h"

#include <guimisc/UserDialogScript.h>
#include <guimisc/helper/SelectionHelperT.h>

#include <QKeyEvent>
#include <QPaintEngine>
#include <QPaintDevice>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QTextItem>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <new>
#include <random>
#include <stdexcept>

using namespace viewtest;
using mvc::core::View;

namespace {

const double PI = 3.14159265358979323846;

// The widget point of `world` worked out by hand: offset from the centre, scaled, turned
// counter-clockwise by the angle in a Y-up frame, then Y flipped about the widget middle.
QPointF expectedWidgetPoint(const QPointF& world, const QPointF& center, double scale,
                            double angleDegree, const QSize& size)
{
    const double a = angleDegree * PI / 180.0;
    const double x = (world.x() - center.x()) * scale;
    const double y = (world.y() - center.y()) * scale;
    const double xr = x * std::cos(a) - y * std::sin(a);
    const double yr = x * std::sin(a) + y * std::cos(a);
    return QPointF(size.width() / 2.0 + xr, size.height() / 2.0 - yr);
}

double distance(const QPointF& a, const QPointF& b)
{
    return std::hypot(a.x() - b.x(), a.y() - b.y());
}

void expectNear(const QPointF& actual, const QPointF& expected, double tolerance)
{
    EXPECT_NEAR(actual.x(), expected.x(), tolerance);
    EXPECT_NEAR(actual.y(), expected.y(), tolerance);
}

// Shows the view and lets every pending repaint run.
void showAndSettle(QWidget* widget)
{
    widget->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(widget));
    QCoreApplication::processEvents();
}

} // namespace

// --- transform --------------------------------------------------------------------------

TEST(ViewTransform, ConversionsAgreeWithHandWorkedMapAndRoundTripAtSurveyCoordinates)
{
    Scene scene;
    View& view = scene.view;
    std::mt19937 random(20240611);
    std::uniform_real_distribution<double> survey(-2.0e5, 2.0e5);
    std::uniform_real_distribution<double> angle(-720.0, 720.0);
    std::uniform_real_distribution<double> logScale(-4.0, 3.0);
    std::uniform_real_distribution<double> near(-500.0, 500.0);
    for (int run = 0; run < 200; ++run) {
        // The local origin moves to the centre of each fitted rectangle.
        const QPointF origin(survey(random), survey(random));
        view.fit(QRectF(origin - QPointF(50, 20), QSizeF(100, 40)));
        ASSERT_EQ(view.localOrigin(), origin);
        const QPointF center = origin + QPointF(near(random), near(random));
        const double scale = std::pow(10.0, logScale(random));
        const double a = angle(random);
        view.setCenterPoint(center);
        view.setScale(scale);
        view.setAngleDegree(a);
        view.updateView();

        const QPointF world(center.x() + near(random) / scale, center.y() + near(random) / scale);
        const QPointF widget = view.conv(world);
        expectNear(widget, expectedWidgetPoint(world, center, scale, a, view.size()), 1e-6);
        const QPointF back = view.rconv(widget);
        EXPECT_LE(distance(back, world), 1e-9 * std::hypot(world.x(), world.y()))
            << "run " << run << " scale " << scale << " angle " << a;
        expectNear(view.conv(center), QPointF(200, 100), 1e-6);
    }
}

TEST(ViewTransform, WorldYPointsUpAndPositiveAngleTurnsCounterClockwise)
{
    Scene scene;
    View& view = scene.view;
    view.setScale(2.0);
    view.updateView();
    // North is up, east is right.
    EXPECT_LT(view.conv(QPointF(0, 10)).y(), view.conv(QPointF(0, 0)).y());
    EXPECT_GT(view.conv(QPointF(10, 0)).x(), view.conv(QPointF(0, 0)).x());

    view.setAngleDegree(90.0);
    view.updateView();
    // Turned a quarter counter-clockwise, east points up on the screen.
    const QPointF east = view.conv(QPointF(10, 0)) - view.conv(QPointF(0, 0));
    EXPECT_NEAR(east.x(), 0.0, 1e-9);
    EXPECT_NEAR(east.y(), -20.0, 1e-9);
    EXPECT_DOUBLE_EQ(view.pixel(), 0.5);
}

TEST(ViewTransform, DrawnRegionCoversTheWidgetAndRefusesBadValues)
{
    Scene scene;
    View& view = scene.view;
    view.setCenterPoint(QPointF(1000, 2000));
    view.setScale(4.0);
    view.updateView();
    EXPECT_EQ(view.drawnRegion(), QRectF(950, 1975, 100, 50));

    // Values that would make the transform singular or meaningless are refused.
    view.setScale(0.0);
    view.setScale(std::nan(""));
    view.setCenterPoint(QPointF(std::numeric_limits<double>::infinity(), 0));
    EXPECT_EQ(view.scale(), 4.0);
    EXPECT_EQ(view.centerPoint(), QPointF(1000, 2000));
}

TEST(ViewFit, EmptyModelDegenerateRectanglesAndAWidgetWithoutArea)
{
    Scene scene;
    View& view = scene.view;
    // The whole model is fitted into the 400 x 200 widget less the margin on every side.
    const double w = 400 - 2 * View::FIT_MARGIN;
    const double h = 200 - 2 * View::FIT_MARGIN;
    view.setCenterPoint(QPointF(5, 5));
    view.fit();
    EXPECT_EQ(view.centerPoint(), QPointF(0, 0));
    EXPECT_EQ(view.scale(), h);

    // A rectangle named by the caller fills the widget.
    view.fit(QRectF(100, 100, 0, 10));
    EXPECT_EQ(view.scale(), 20.0);
    EXPECT_EQ(view.centerPoint(), QPointF(100, 105));
    view.fit(QRectF(0, 0, 40, 0));
    EXPECT_EQ(view.scale(), 10.0);

    // The model's box, whole and centred, its edges the margin in from the widget's.
    addItem(scene.model, "a", QRectF(1000, 2000, 100, 20));
    addItem(scene.model, "b", QRectF(1050, 1990, 100, 20));
    view.fit();
    EXPECT_EQ(view.scale(), w / 150.0);
    EXPECT_EQ(view.centerPoint(), QPointF(1075, 2005));
    const QRectF onWidget = QRectF(view.conv(QPointF(1000, 2020)), view.conv(QPointF(1150, 1990)));
    EXPECT_NEAR(onWidget.left(), View::FIT_MARGIN, 1e-9);
    EXPECT_NEAR(onWidget.right(), 400 - View::FIT_MARGIN, 1e-9);
    EXPECT_GE(onWidget.top(), View::FIT_MARGIN);
    EXPECT_LE(onWidget.bottom(), 200 - View::FIT_MARGIN);

    // Too small to spare a margin: the model fills the widget.
    view.resize(16, 12);
    view.fit();
    EXPECT_EQ(view.scale(), 16.0 / 150);

    // Not shown yet: scale and centre stay, nothing turns NaN.
    view.resize(0, 0);
    view.fit(QRectF(0, 0, 10, 10));
    view.fit();
    EXPECT_EQ(view.scale(), 16.0 / 150);
    EXPECT_EQ(view.centerPoint(), QPointF(1075, 2005));
    const QPointF p = view.conv(QPointF(1080, 2010));
    EXPECT_TRUE(std::isfinite(p.x()) && std::isfinite(p.y()));
    const QPointF q = view.rconv(QPointF(3, 4));
    EXPECT_TRUE(std::isfinite(q.x()) && std::isfinite(q.y()));
}

// Whether the view still shows the whole model as the fit left it: a window fits such a
// view again when it is maximised, and leaves a view the user has moved alone.
TEST(ViewFit, AFitLastsUntilTheViewIsMoved)
{
    Scene scene;
    View& view = scene.view;
    addItem(scene.model, "a", QRectF(0, 0, 100, 50));
    EXPECT_FALSE(view.isFitted());
    const std::pair<const char*, std::function<void()>> moves[] = {
        {"zoom", [&] { view.zoomOut(); }},
        {"move", [&] { view.moveDown(); }},
        {"turn", [&] { view.rotate90(); }},
        {"reset turn", [&] { view.resetRotation(); }},
        {"centre", [&] { view.setCenterPoint(QPointF(3, 4)); }},
        {"scale", [&] { view.setScale(7.0); }},
        {"angle", [&] { view.setAngleDegree(10.0); }},
        {"another rectangle", [&] { view.fit(QRectF(0, 0, 5, 5)); }},
        {"wheel", [&] { wheel(&view, 120); }},
        {"drag", [&] { drag(&view, {QPoint(50, 50), QPoint(80, 60)}, Qt::LeftButton,
                            Qt::ControlModifier); }},
    };
    for (const auto& [name, move] : moves) {
        SCOPED_TRACE(name);
        view.fit();
        EXPECT_TRUE(view.isFitted());
        view.updateView(); // repainting moves nothing
        EXPECT_TRUE(view.isFitted());
        move();
        EXPECT_FALSE(view.isFitted());
    }
    // Values that are refused move nothing.
    view.fit();
    view.setScale(0.0);
    view.setCenterPoint(QPointF(std::nan(""), 0));
    EXPECT_TRUE(view.isFitted());
}

TEST(ViewFit, AutoFitterFitsOnlyAModelThatWasEmpty)
{
    Scene scene;
    const double w = 400 - 2 * View::FIT_MARGIN;
    {
        mvc::util::AutoFitter fitter(&scene.model);
        addItem(scene.model, "first", QRectF(0, 0, 40, 10));
    }
    EXPECT_EQ(scene.view.scale(), w / 40);
    EXPECT_EQ(scene.view.centerPoint(), QPointF(20, 5));

    scene.view.zoomIn();
    {
        mvc::util::AutoFitter fitter(&scene.model);
        addItem(scene.model, "second", QRectF(0, 0, 400, 100));
    }
    EXPECT_EQ(scene.view.scale(), 2 * w / 40);

    // A model that goes before the fitter leaves nothing to fit.
    auto model = std::make_unique<Model>(nullptr, &scene.view);
    auto fitter = std::make_unique<mvc::util::AutoFitter>(model.get());
    model.reset();
    fitter.reset();
}

// --- navigation -------------------------------------------------------------------------

TEST(ViewNavigation, StepsAndWheel)
{
    Scene scene;
    View& view = scene.view;
    view.setScale(2.0);
    view.setCenterPoint(QPointF(10, 20));
    view.moveLeft();
    EXPECT_EQ(view.centerPoint(), QPointF(85, 20));
    view.moveRight();
    EXPECT_EQ(view.centerPoint(), QPointF(10, 20));
    // moveLeft moves the drawing 150 pixels to the left.
    const QPointF before = view.conv(QPointF(0, 0));
    view.moveLeft();
    EXPECT_NEAR(view.conv(QPointF(0, 0)).x(), before.x() - 150.0, 1e-9);

    wheel(&view, 120);
    EXPECT_EQ(view.scale(), 4.0);
    wheel(&view, -120);
    wheel(&view, -120);
    EXPECT_EQ(view.scale(), 1.0);
    wheel(&view, 0);
    EXPECT_EQ(view.scale(), 1.0);
}

TEST(ViewNavigation, CtrlMiddleDragUpZoomsInAndCtrlLeftDragKeepsThePointUnderTheCursor)
{
    Scene scene;
    View& view = scene.view;
    view.setScale(2.0);
    view.updateView();
    drag(&view, {QPoint(200, 150), QPoint(200, 120), QPoint(200, 100)}, Qt::MiddleButton,
         Qt::ControlModifier);
    EXPECT_NEAR(view.scale(), 2.0 * std::exp(0.5), 1e-12);
    EXPECT_FALSE(view.inViewOperation());
    drag(&view, {QPoint(200, 100), QPoint(200, 150)}, Qt::MiddleButton, Qt::ControlModifier);
    EXPECT_NEAR(view.scale(), 2.0, 1e-12);

    view.fit(QRectF(150000, 60000, 400, 200));
    view.setAngleDegree(30.0);
    view.updateView();
    const QPoint from(120, 70);
    const QPoint to(310, 160);
    const QPointF grabbed = view.rconv(from);
    drag(&view, {from, QPoint(150, 90), QPoint(250, 40), to}, Qt::LeftButton,
         Qt::ControlModifier);
    expectNear(view.rconv(to), grabbed, 1e-6);
    EXPECT_EQ(view.cursor().shape(), Qt::ArrowCursor);

    // Ctrl with another modifier, or Ctrl with the right button, starts nothing.
    const QPointF center = view.centerPoint();
    drag(&view, {from, to}, Qt::LeftButton, Qt::ControlModifier | Qt::ShiftModifier);
    drag(&view, {from, to}, Qt::RightButton, Qt::ControlModifier);
    EXPECT_EQ(view.centerPoint(), center);
}

// --- painting ---------------------------------------------------------------------------

TEST(ViewPaint, DragsMoveThePictureAndTheModelIsPaintedAgainAfterTheRelease)
{
    Scene scene;
    auto item = addItem(scene.model, "counted", QRectF(0, 0, 10, 10));
    CountingView& view = scene.view;
    showAndSettle(&view);
    view.updateView();
    QCoreApplication::processEvents();
    const int paintsBefore = countingView(item)->paints;
    ASSERT_GT(paintsBefore, 0);

    press(&view, QPoint(100, 100), Qt::LeftButton, Qt::ControlModifier);
    const int framesBefore = view.paintEvents;
    for (int x = 110; x <= 150; x += 10) {
        move(&view, QPoint(x, 100), Qt::LeftButton, Qt::ControlModifier);
        QCoreApplication::processEvents();
    }
    EXPECT_GT(view.paintEvents, framesBefore);
    EXPECT_EQ(countingView(item)->paints, paintsBefore);

    release(&view, QPoint(150, 100), Qt::LeftButton, Qt::ControlModifier);
    QCoreApplication::processEvents();
    EXPECT_EQ(countingView(item)->paints, paintsBefore + 1);
}

// An item view that throws while the view paints (memory running out in a painting thread,
// say): nothing leaves the paint event, the view shows no half picture, and the user hears of
// it once per run of failures, after the paint event.
TEST(ViewPaint, AFailingPaintIsToldOnceAndLeavesTheViewEmpty)
{
    Scene scene;
    auto item = addItem(scene.model, "failing", QRectF(0, 0, 10, 10));
    CountingView& view = scene.view;
    showAndSettle(&view);
    guimisc::UserDialogScript script;
    countingView(item)->failure = [] { throw std::bad_alloc(); };
    for (int i = 0; i < 3; ++i) {
        view.repaint();
        QCoreApplication::processEvents();
    }
    EXPECT_GE(countingView(item)->paints, 3);
    ASSERT_EQ(script.messageBoxes().size(), 1u);
    EXPECT_EQ(script.messageBoxes()[0].kind, guimisc::UserDialogs::Kind::Critical);
    EXPECT_EQ(script.messageBoxes()[0].title, "Error");
    EXPECT_EQ(script.messageBoxes()[0].text, "Not enough memory to draw the view.");
    EXPECT_EQ(view.grab().toImage().pixelColor(200, 100), QColor(Qt::darkGray));

    // A good paint ends the run; the next failure is told again, with its own words.
    countingView(item)->failure = nullptr;
    view.repaint();
    countingView(item)->failure = [] { throw std::runtime_error("a broken item"); };
    view.repaint();
    QCoreApplication::processEvents();
    ASSERT_EQ(script.messageBoxes().size(), 2u);
    EXPECT_EQ(script.messageBoxes()[1].text, "The view could not be drawn: a broken item");
}

namespace {

// A paint engine that keeps the polylines and texts drawn on it.
class RecordingEngine : public QPaintEngine {
public:
    RecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    Type type() const override { return QPaintEngine::User; }
    void drawPolygon(const QPointF* points, int count, PolygonDrawMode) override
    {
        polylines.emplace_back(points, points + count);
    }
    void drawTextItem(const QPointF& p, const QTextItem& item) override
    {
        texts.push_back(item.text());
        textPositions.push_back(p);
    }

    std::vector<std::vector<QPointF>> polylines;
    QStringList texts;
    std::vector<QPointF> textPositions;
};

class RecordingDevice : public QPaintDevice {
public:
    QPaintEngine* paintEngine() const override { return &engine; }
    mutable RecordingEngine engine;

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth: return 400;
        case PdmHeight: return 200;
        case PdmWidthMM: return 106;
        case PdmHeightMM: return 53;
        case PdmDepth: return 32;
        case PdmNumColors: return INT_MAX;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return int(devicePixelRatioFScale());
        default: return 96;
        }
    }
};

} // namespace

namespace {

// A bit of everything item views draw: steep and slanted thick lines (one short span a row),
// translucent polylines, an antialiased polygon, text and an image with an alpha channel.
void drawMixedScene(QPainter* painter)
{
    painter->setPen(QPen(Qt::black, 3.0));
    for (int i = 0; i < 40; ++i) {
        const QPointF line[] = {{20.0 + 3.1 * i, 5.0}, {25.0 + 2.3 * i, 195.0}};
        painter->drawPolyline(line, 2);
    }
    painter->save();
    painter->setOpacity(0.6);
    painter->setPen(QPen(QColor(30, 120, 200), 2.0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    for (int i = 0; i < 30; ++i) {
        painter->drawPolyline(QPolygonF({{0.0, 10.0 + 6.2 * i}, {200.0, 14.0 + 6.2 * i},
                                         {400.0, 9.0 + 6.2 * i}}));
    }
    painter->restore();
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(QPen(Qt::magenta, 1.5));
    painter->setBrush(QColor(0, 200, 0, 120));
    painter->drawPolygon(QPolygonF({{250.0, 20.0}, {390.0, 60.0}, {300.0, 180.0}}));
    painter->restore();
    painter->drawText(QPointF(150.0, 100.0), QStringLiteral("L 123.45 m"));
    QImage stamp(16, 16, QImage::Format_ARGB32);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            stamp.setPixelColor(x, y, QColor(16 * x, 255 - 16 * y, 90, 15 * (x + y) / 2 + 10));
        }
    }
    painter->drawImage(QPointF(330.0, 120.0), stamp);
}

class MixedItemView : public mvc::core::ModelItemView {
public:
    using ModelItemView::ModelItemView;

protected:
    void doPaintMainView(QPainter* painter, const QTransform&, const QRectF&) const override
    {
        drawMixedScene(painter);
    }
};

} // namespace

// The view draws its picture in a pixel format of its own choosing: what it shows is, pixel
// for pixel, what the same drawing gives on a plain pixmap of the screen's format.
TEST(ViewPaint, TheViewShowsWhatTheItemsDrawOnAPlainPixmap)
{
    Scene scene;
    brasktest::TestItem* item = scene.model.root()->addTopLevel(QStringLiteral("mixed"));
    item->makeView = [](const brasktest::TestItem* i) { return new MixedItemView(i); };
    CountingView& view = scene.view;
    view.setScale(2.0);
    view.updateView();
    showAndSettle(&view);

    QPixmap expected(view.size());
    expected.fill(Qt::darkGray);
    {
        QPainter painter(&expected);
        drawMixedScene(&painter);
        view.drawScale(&painter);
    }
    const QImage shown = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage oracle = expected.toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), oracle.size());
    int differing = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            differing += shown.pixel(x, y) != oracle.pixel(x, y) ? 1 : 0;
        }
    }
    EXPECT_EQ(differing, 0);
    // The scene drew something: not a dark grey picture against a dark grey one.
    EXPECT_NE(shown.pixelColor(21, 100), QColor(Qt::darkGray));
}

TEST(ViewPaint, ScaleBarShowsTheWorldLengthOfItsDrawnPart)
{
    struct Case {
        double scale;
        double angle;
        QString label;
        double length;
    };
    const Case cases[] = {{3.7, 0.0, "10 m", 10.0},  {3.7, 90.0, "10 m", 10.0},
                          {0.37, 30.0, "100 m", 100.0}, {370.0, 0.0, "0.1 m", 0.1},
                          {1.0, 0.0, "50 m", 50.0}};
    for (const Case& c : cases) {
        Scene scene;
        CountingView& view = scene.view;
        view.setCenterPoint(QPointF(123456.7, 65432.1));
        view.setScale(c.scale);
        view.setAngleDegree(c.angle);
        view.updateView();
        RecordingDevice device;
        {
            QPainter painter(&device);
            view.drawScale(&painter);
        }
        const RecordingEngine& engine = device.engine;
        ASSERT_EQ(engine.texts.size(), 1) << c.scale;
        EXPECT_EQ(engine.texts.front(), c.label);
        ASSERT_EQ(engine.polylines.size(), 1u);
        const std::vector<QPointF>& bar = engine.polylines.front();
        ASSERT_EQ(bar.size(), 4u);
        // Right end 20 pixels in from the bottom-right pixel, ticks 5 pixels up.
        expectNear(bar[2], QPointF(379, 179), 1e-9);
        expectNear(bar[3], QPointF(379, 174), 1e-9);
        expectNear(bar[0], bar[1] - QPointF(0, 5), 1e-9);
        // The drawn part measures the label's length in the world, whatever the rotation.
        EXPECT_NEAR(distance(view.rconv(bar[1]), view.rconv(bar[2])), c.length, 1e-9 * c.length);
        // The label sits centred below the bar.
        EXPECT_GT(engine.textPositions.front().y(), 179.0);
        EXPECT_LT(engine.textPositions.front().x(), (bar[1].x() + bar[2].x()) / 2.0);
    }
}

// --- input routing ----------------------------------------------------------------------

namespace {

// A view-level mode that records its events and owns one view helper that counts paints.
class RecordingHelper : public mvc::util::SelectionHelper {
public:
    class Painter : public mvc::util::MainViewHelperI {
    public:
        using MainViewHelperI::MainViewHelperI;
        void paintView(QPainter*, const QTransform&, const QRectF&) override { ++paints; }
        int paints = 0;
    };

    explicit RecordingHelper(View* view, bool* destroyed = nullptr) : m_destroyed(destroyed)
    {
        viewHelpers().push_back(std::make_unique<Painter>(view));
    }
    ~RecordingHelper() override
    {
        if (m_destroyed) {
            *m_destroyed = true;
        }
    }
    Painter* painter() const { return static_cast<Painter*>(viewHelpers().front().get()); }

    using Base = guimisc::helper::SelectionHelper;
    Base* keyPressEvent(QKeyEvent* e, View*) override { return record(e); }
    Base* keyReleaseEvent(QKeyEvent* e, View*) override { return record(e); }
    Base* mouseDoubleClickEvent(QMouseEvent* e, View*) override { return record(e); }
    Base* mouseMoveEvent(QMouseEvent* e, View*) override { return record(e); }
    Base* mousePressEvent(QMouseEvent* e, View*) override { return record(e); }
    Base* mouseReleaseEvent(QMouseEvent* e, View*) override { return record(e); }
    Base* wheelEvent(QWheelEvent* e, View*) override { return record(e); }

    std::vector<QEvent::Type> events;

private:
    Base* record(QEvent* e)
    {
        events.push_back(e->type());
        return this;
    }
    bool* m_destroyed;
};

void sendKeys(QWidget* widget)
{
    QKeyEvent keyPress(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    QKeyEvent keyRelease(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, "a");
    QApplication::sendEvent(widget, &keyPress);
    QApplication::sendEvent(widget, &keyRelease);
}

} // namespace

TEST(ViewRouting, RightClickOpensTheControllerMenuWithinThreePixels)
{
    Scene scene;
    auto item = addItem(scene.model, "selected", QRectF(0, 0, 10, 10));
    scene.model.select(item);
    ASSERT_EQ(scene.model.selectedItem(), item);
    View& view = scene.view;

    press(&view, QPoint(100, 100), Qt::RightButton);
    release(&view, QPoint(103, 97), Qt::RightButton);
    EXPECT_EQ(scene.model.menusShown, 1);
    EXPECT_EQ(scene.model.menuPos, view.mapToGlobal(QPoint(103, 97)));
    press(&view, QPoint(100, 100), Qt::RightButton);
    release(&view, QPoint(104, 100), Qt::RightButton);
    EXPECT_EQ(scene.model.menusShown, 1);
    const std::vector<QEvent::Type> expected{QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                             QEvent::MouseButtonPress, QEvent::MouseButtonRelease};
    EXPECT_EQ(recorder(item)->events, expected);

    // A left click and a stray right release open nothing.
    press(&view, QPoint(100, 100), Qt::LeftButton);
    release(&view, QPoint(100, 100), Qt::LeftButton);
    release(&view, QPoint(100, 100), Qt::RightButton);
    EXPECT_EQ(scene.model.menusShown, 1);
}

TEST(ViewRouting, CtrlDragsAndUncheckedItemsReachNoController)
{
    Scene scene;
    auto item = addItem(scene.model, "selected", QRectF(0, 0, 10, 10));
    scene.model.select(item);
    View& view = scene.view;
    RecordingController* controller = recorder(item);

    drag(&view, {QPoint(100, 100), QPoint(102, 101)}, Qt::RightButton, Qt::ControlModifier);
    drag(&view, {QPoint(100, 100), QPoint(120, 90)}, Qt::LeftButton, Qt::ControlModifier);
    drag(&view, {QPoint(100, 100), QPoint(100, 90)}, Qt::MiddleButton, Qt::ControlModifier);
    EXPECT_TRUE(controller->events.empty());
    EXPECT_EQ(scene.model.menusShown, 0);
    // Both pans and zooms give the cursor back to the selected item.
    EXPECT_EQ(controller->cursorRestores, 2);

    item->setUnchecked();
    drag(&view, {QPoint(10, 10), QPoint(20, 20)}, Qt::LeftButton);
    sendKeys(&view);
    EXPECT_TRUE(controller->events.empty());

    item->setChecked();
    drag(&view, {QPoint(10, 10), QPoint(20, 20)}, Qt::LeftButton);
    sendKeys(&view);
    wheel(&view, 120);
    const std::vector<QEvent::Type> expected{QEvent::MouseButtonPress, QEvent::MouseMove,
                                             QEvent::MouseButtonRelease, QEvent::KeyPress,
                                             QEvent::KeyRelease};
    EXPECT_EQ(controller->events, expected);
}

TEST(ViewRouting, ViewLevelHelperComesFirstAndTheWheelStillZooms)
{
    Scene scene;
    auto item = addItem(scene.model, "selected", QRectF(0, 0, 10, 10));
    scene.model.select(item);
    CountingView& view = scene.view;
    auto helper = new RecordingHelper(&view);
    view.updateSelectionHelper(helper);
    ASSERT_EQ(view.selectionHelper(), helper);

    drag(&view, {QPoint(10, 10), QPoint(20, 20)}, Qt::RightButton);
    sendKeys(&view);
    const double scale = view.scale();
    wheel(&view, -120);
    EXPECT_EQ(view.scale(), scale / 2.0);
    const std::vector<QEvent::Type> expected{QEvent::MouseButtonPress, QEvent::MouseMove,
                                             QEvent::MouseButtonRelease, QEvent::KeyPress,
                                             QEvent::KeyRelease, QEvent::Wheel};
    EXPECT_EQ(helper->events, expected);
    EXPECT_TRUE(recorder(item)->events.empty());
    EXPECT_EQ(scene.model.menusShown, 0);

    // Its view helper is painted with the model.
    showAndSettle(&view);
    view.repaint();
    EXPECT_GT(helper->painter()->paints, 0);

    // Replacing deletes the old helper and its painter leaves the list; null installs none.
    bool destroyed = false;
    view.updateSelectionHelper(new RecordingHelper(&view, &destroyed));
    view.updateSelectionHelper(view.selectionHelper());
    EXPECT_FALSE(destroyed);
    view.updateSelectionHelper(nullptr);
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(view.selectionHelper(), nullptr);
    drag(&view, {QPoint(10, 10), QPoint(20, 20)}, Qt::LeftButton);
    EXPECT_EQ(recorder(item)->events.size(), 3u);

    struct Foreign : guimisc::helper::SelectionHelper {};
    Foreign foreign;
    EXPECT_THROW(view.updateSelectionHelper(&foreign), std::invalid_argument);
    EXPECT_EQ(view.selectionHelper(), nullptr);
}

TEST(ViewRouting, PositionIsReportedOnEveryMoveDragsIncluded)
{
    Scene scene;
    View& view = scene.view;
    view.fit(QRectF(5000, 7000, 40, 20));
    QSignalSpy spy(&view, &View::positionChanged);
    move(&view, QPoint(200, 100));
    ASSERT_EQ(spy.count(), 1);
    expectNear(spy.takeFirst().at(0).toPointF(), QPointF(5020, 7010), 1e-9);
    drag(&view, {QPoint(200, 100), QPoint(210, 100), QPoint(220, 100)}, Qt::LeftButton,
         Qt::ControlModifier);
    drag(&view, {QPoint(200, 100), QPoint(210, 100)}, Qt::RightButton, Qt::ControlModifier);
    EXPECT_EQ(spy.count(), 3);
}
