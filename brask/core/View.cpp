#include "brask/core/View.h"

#include "brask/core/Model.h"
#include "brask/core/ModelItem.h"
#include "brask/core/ModelItemController.h"
#include "brask/core/ModelItemView.h"
#include "brask/core/ModelRootItem.h"
#include "brask/util/MainViewHelperI.h"
#include "brask/util/SelectionHelper.h"
#include "brask/util/TransformSupport.h"
#include "brask/util/ViewOperation.h"

#include <guimisc/UserDialogs.h>
#include <vec/Vector2D.h>

#include <QColor>
#include <QFontMetricsF>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <new>
#include <limits>
#include <stdexcept>
#include <utility>

namespace mvc::core {

namespace {

using util::TransformSupport;

const double MOVE_PIXELS = 150.0;
const int CLICK_TOLERANCE = 3;
const int SCALE_BAR_MARGIN = 20;
const int SCALE_BAR_PIXELS = 50;
const int SCALE_BAR_TICK = 5;

} // namespace

struct View::Impl {
    QPointer<Model> model;
    QPointF centerPoint{0.0, 0.0};
    double scale = 1.0;
    double angleDegree = 0.0;
    QTransform transform;
    QTransform inverse;
    util::ViewOperation operation;
    QPointF localOrigin{0.0, 0.0};
    /// The last right press handed to a controller.
    QPoint rightPressPos;
    bool rightPressPending = false;
    /// Buttons pressed with Ctrl alone that started no view operation: their moves and
    /// releases reach nobody.
    Qt::MouseButtons swallowedButtons;
    QPixmap picture;
    QTransform pictureInverse;
    /// A paint failed and the user has been told; cleared by the next good paint.
    bool paintFailureReported = false;
    /// The view shows the model as `fit()` left it.
    bool fitted = false;
    util::SelectionHelper* selectionHelper = nullptr;
    std::vector<util::MainViewHelperI*> viewHelpers;
};

View::View(QWidget* parent) : QWidget(parent), m_impl(std::make_unique<Impl>())
{
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    setFocus();
    updateTransform();
}

View::~View()
{
    delete m_impl->selectionHelper;
}

void View::setModel(Model* model)
{
    m_impl->model = model;
}

Model* View::model() const
{
    return m_impl->model;
}

QPointF View::centerPoint() const
{
    return m_impl->centerPoint;
}

void View::setCenterPoint(const QPointF& center)
{
    if (TransformSupport::isFinite(center)) {
        m_impl->centerPoint = center;
        m_impl->fitted = false;
    }
}

double View::scale() const
{
    return m_impl->scale;
}

void View::setScale(double scale)
{
    if (TransformSupport::isValidScale(scale)) {
        m_impl->scale = scale;
        m_impl->fitted = false;
    }
}

double View::angleDegree() const
{
    return m_impl->angleDegree;
}

void View::setAngleDegree(double angleDegree)
{
    if (std::isfinite(angleDegree)) {
        m_impl->angleDegree = angleDegree;
        m_impl->fitted = false;
    }
}

QPointF View::localOrigin() const
{
    return m_impl->localOrigin;
}

const QTransform& View::transform() const
{
    return m_impl->transform;
}

double View::pixel() const
{
    return 1.0 / m_impl->scale;
}

bool View::inViewOperation() const
{
    return m_impl->operation.isRunning();
}

util::SelectionHelper* View::selectionHelper() const
{
    return m_impl->selectionHelper;
}

QPointF View::conv(const QPointF& world) const
{
    const QPointF& o = m_impl->localOrigin;
    return m_impl->transform.map(QPointF(world.x() - o.x(), -(world.y() - o.y())));
}

QPointF View::rconv(const QPointF& widget) const
{
    const QPointF p = m_impl->inverse.map(widget);
    const QPointF& o = m_impl->localOrigin;
    return QPointF(o.x() + p.x(), o.y() - p.y());
}

QPointF View::rconv(const QPoint& widget) const
{
    return rconv(QPointF(widget));
}

QPointF View::drawnPos(const QPoint& widget) const
{
    return rconv(widget);
}

QRectF View::drawnRegion() const
{
    return drawnArea(*this, m_impl->transform, m_impl->localOrigin);
}

void View::updateView()
{
    if (m_impl->model) {
        if (ModelRootItem* root = m_impl->model->rootItem()) {
            root->view()->discardPaintCache();
        }
    }
    refresh();
}

void View::updateSelectionHelper(guimisc::helper::SelectionHelper* helper)
{
    if (helper == m_impl->selectionHelper) {
        return;
    }
    auto next = dynamic_cast<util::SelectionHelper*>(helper);
    if (helper && !next) {
        throw std::invalid_argument("View::updateSelectionHelper: the helper is not a "
                                    "selection helper of the main view");
    }
    if (m_impl->selectionHelper) {
        deleteViewHelper(m_impl->selectionHelper->viewHelpers());
        delete m_impl->selectionHelper;
    }
    m_impl->selectionHelper = next;
    if (next) {
        addViewHelper(next->viewHelpers());
    }
}

void View::addViewHelper(const std::vector<std::unique_ptr<util::MainViewHelperI>>& helpers)
{
    for (const auto& helper : helpers) {
        m_impl->viewHelpers.push_back(helper.get());
    }
}

void View::deleteViewHelper(const std::vector<std::unique_ptr<util::MainViewHelperI>>& helpers)
{
    auto& list = m_impl->viewHelpers;
    for (const auto& helper : helpers) {
        list.erase(std::remove(list.begin(), list.end(), helper.get()), list.end());
    }
}

QRectF View::drawnArea(const QWidget& widget, const QTransform& transform, const QPointF& origin)
{
    return drawnAreaTransform(transform, origin)
        .mapRect(QRectF(0.0, 0.0, widget.width(), widget.height()));
}

QTransform View::drawnAreaTransform(const QTransform& transform, const QPointF& origin)
{
    // Back from the flipped frame: (x, y) -> (origin.x + x, origin.y - y).
    return TransformSupport::inverted(transform)
        * QTransform(1.0, 0.0, 0.0, -1.0, origin.x(), origin.y());
}

QTransform View::getTransform(const QSize& size, const QPointF& center, double scaleX,
                              double scaleY, double angleDegree, bool yDown)
{
    // The flip lies in the scale, so the centre is taken off as it is whichever way Y
    // points: the centre lands on the middle of the widget in both cases.
    const double d = yDown ? 1.0 : -1.0;
    QTransform t;
    t.translate(size.width() / 2.0, size.height() / 2.0);
    t.rotate(-angleDegree);
    t.scale(scaleX, d * scaleY);
    t.translate(-center.x(), -center.y());
    return t;
}

bool View::isClick(const QPoint& press, const QPoint& release)
{
    return std::abs(press.x() - release.x()) <= CLICK_TOLERANCE
        && std::abs(press.y() - release.y()) <= CLICK_TOLERANCE;
}

void View::paintEvent(QWidget* widget, const QPixmap& pixmap, const QColor& background)
{
    paintEvent(widget, pixmap, background, QTransform());
}

void View::paintEvent(QWidget* widget, const QPixmap& pixmap, const QColor& background,
                      const QTransform& transform)
{
    QPainter painter(widget);
    painter.fillRect(widget->rect(), background);
    painter.setTransform(transform);
    painter.drawPixmap(0, 0, pixmap);
}

// --- navigation -------------------------------------------------------------------------

void View::fit()
{
    // The margin keeps the markers of the outermost points whole.
    fitInside(m_impl->model ? m_impl->model->boundingBox() : QRectF(), FIT_MARGIN);
    m_impl->fitted = true;
}

void View::fit(const QRectF& rect)
{
    fitInside(rect, 0);
    m_impl->fitted = false;
}

bool View::isFitted() const
{
    return m_impl->fitted;
}

void View::fitInside(const QRectF& rect, int margin)
{
    const QRectF r = rect.normalized();
    // A widget that is not shown yet has no extent to fit into: keep scale and centre.
    if (width() > 0 && height() > 0 && TransformSupport::isFinite(r.topLeft())
        && TransformSupport::isFinite(r.bottomRight())) {
        double w = r.width();
        double h = r.height();
        if (w == 0.0 && h == 0.0) {
            w = 1.0;
            h = 1.0;
        }
        const auto inner = [margin](int extent) {
            return extent > 2 * margin ? extent - 2 * margin : extent;
        };
        // A zero extent on one axis gives an infinite ratio there; the other decides.
        const double sx = w > 0.0 ? inner(width()) / w : std::numeric_limits<double>::infinity();
        const double sy = h > 0.0 ? inner(height()) / h : std::numeric_limits<double>::infinity();
        const double s = std::min(sx, sy);
        if (TransformSupport::isValidScale(s)) {
            m_impl->scale = s;
            m_impl->localOrigin = r.center();
            m_impl->centerPoint = r.center();
        }
    }
    refresh();
}

void View::zoomIn()
{
    setScale(m_impl->scale * 2.0);
    refresh();
}

void View::zoomOut()
{
    setScale(m_impl->scale * 0.5);
    refresh();
}

void View::resetRotation()
{
    m_impl->angleDegree = 0.0;
    m_impl->fitted = false;
    refresh();
}

void View::rotate90()
{
    m_impl->angleDegree += 90.0;
    m_impl->fitted = false;
    refresh();
}

void View::moveLeft()
{
    m_impl->centerPoint.rx() += MOVE_PIXELS / m_impl->scale;
    m_impl->fitted = false;
    refresh();
}

void View::moveRight()
{
    m_impl->centerPoint.rx() -= MOVE_PIXELS / m_impl->scale;
    m_impl->fitted = false;
    refresh();
}

void View::moveUp()
{
    m_impl->centerPoint.ry() -= MOVE_PIXELS / m_impl->scale;
    m_impl->fitted = false;
    refresh();
}

void View::moveDown()
{
    m_impl->centerPoint.ry() += MOVE_PIXELS / m_impl->scale;
    m_impl->fitted = false;
    refresh();
}

void View::updateTransform()
{
    const QPointF& c = m_impl->centerPoint;
    const QPointF& o = m_impl->localOrigin;
    QTransform t;
    t.translate(width() / 2.0, height() / 2.0);
    t.rotate(-m_impl->angleDegree);
    t.scale(m_impl->scale, m_impl->scale);
    t.translate(-(c.x() - o.x()), c.y() - o.y());
    m_impl->transform = t;
    m_impl->inverse = TransformSupport::inverted(t);
}

void View::refresh()
{
    updateTransform();
    if (!m_impl->model || m_impl->model->preparePaintMainView(m_impl->transform, drawnRegion())) {
        update();
    }
}

// --- input ------------------------------------------------------------------------------

ModelItemController* View::activeController() const
{
    if (!m_impl->model) {
        return nullptr;
    }
    ModelItem* item = m_impl->model->selectedItem();
    return item && item->isChecked() ? item->controller() : nullptr;
}

void View::dragStep(const QPoint& pos)
{
    m_impl->operation.drag(this, pos, [this](const QPointF& pixels) {
        vec::Vector2D offset(pixels.x() / m_impl->scale, pixels.y() / m_impl->scale);
        offset.rotate(-m_impl->angleDegree);
        return QPointF(offset.x(), offset.y());
    });
    updateTransform();
    update();
}

void View::endViewOperation()
{
    m_impl->operation.end(this);
    if (m_impl->model) {
        ModelItem* item = m_impl->model->selectedItem();
        if (item && item->isChecked()) {
            item->controller()->restoreMouseCursorOnMainView(this);
        }
    }
    refresh();
}

template <class Event, class HelperHook, class ControllerHook>
bool View::dispatch(Event* event, HelperHook helperHook, ControllerHook controllerHook)
{
    if (m_impl->selectionHelper) {
        // The view keeps its mode: the application switches view-level modes itself.
        (m_impl->selectionHelper->*helperHook)(event, this);
        return false;
    }
    if (ModelItemController* controller = activeController()) {
        (controller->*controllerHook)(event, this);
        return true;
    }
    return false;
}

void View::mousePressEvent(QMouseEvent* event)
{
    if (inViewOperation()) {
        return;
    }
    if (event->modifiers() == Qt::ControlModifier) {
        if (!m_impl->operation.start(this, event)) {
            m_impl->swallowedButtons |= event->button();
        }
        return;
    }
    if (dispatch(event, &util::SelectionHelper::mousePressEvent,
                 &ModelItemController::mousePressEvent)
        && event->button() == Qt::RightButton) {
        m_impl->rightPressPos = event->pos();
        m_impl->rightPressPending = true;
    }
}

void View::mouseMoveEvent(QMouseEvent* event)
{
    emit positionChanged(rconv(event->pos()));
    if (inViewOperation()) {
        dragStep(event->pos());
        return;
    }
    // A release that never arrived (taken by a popup) does not keep swallowing.
    m_impl->swallowedButtons &= event->buttons();
    if (m_impl->swallowedButtons == Qt::NoButton) {
        dispatch(event, &util::SelectionHelper::mouseMoveEvent,
                 &ModelItemController::mouseMoveEvent);
    }
}

void View::mouseReleaseEvent(QMouseEvent* event)
{
    if (inViewOperation()) {
        endViewOperation();
        return;
    }
    if (m_impl->swallowedButtons & event->button()) {
        m_impl->swallowedButtons &= ~Qt::MouseButtons(event->button());
        return;
    }
    // The menu opens only on the release that pairs with a right press the controller got.
    const bool pairedRightPress =
        event->button() == Qt::RightButton && m_impl->rightPressPending;
    if (event->button() == Qt::RightButton) {
        m_impl->rightPressPending = false;
    }
    if (dispatch(event, &util::SelectionHelper::mouseReleaseEvent,
                 &ModelItemController::mouseReleaseEvent)
        && pairedRightPress && isClick(m_impl->rightPressPos, event->pos()) && m_impl->model) {
        m_impl->model->showRightClickMenu(event->globalPos());
    }
}

void View::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press of a double click: with Ctrl alone it belongs to the navigation.
    if (inViewOperation() || event->modifiers() == Qt::ControlModifier) {
        mousePressEvent(event);
        return;
    }
    dispatch(event, &util::SelectionHelper::mouseDoubleClickEvent,
             &ModelItemController::mouseDoubleClickEvent);
}

void View::wheelEvent(QWheelEvent* event)
{
    if (m_impl->selectionHelper) {
        m_impl->selectionHelper->wheelEvent(event, this);
    }
    const int direction = util::ViewOperation::wheelDirection(event);
    if (direction < 0) {
        zoomOut();
    } else if (direction > 0) {
        zoomIn();
    }
}

void View::keyPressEvent(QKeyEvent* event)
{
    dispatch(event, &util::SelectionHelper::keyPressEvent, &ModelItemController::keyPressEvent);
}

void View::keyReleaseEvent(QKeyEvent* event)
{
    dispatch(event, &util::SelectionHelper::keyReleaseEvent,
             &ModelItemController::keyReleaseEvent);
}

// --- painting ---------------------------------------------------------------------------

void View::paintEvent(QPaintEvent*)
{
    if (!inViewOperation()) {
        m_impl->pictureInverse = m_impl->inverse;
        try {
            m_impl->picture = drawModel();
            m_impl->paintFailureReported = false;
        } catch (const std::exception& failure) {
            m_impl->picture = QPixmap();
            reportPaintFailure(failure);
        }
    }
    paintEvent(this, m_impl->picture, Qt::darkGray, m_impl->pictureInverse * m_impl->transform);
}

void View::reportPaintFailure(const std::exception& failure)
{
    if (m_impl->paintFailureReported) {
        return;
    }
    m_impl->paintFailureReported = true;
    const QString text =
        dynamic_cast<const std::bad_alloc*>(&failure)
            ? tr("Not enough memory to draw the view.")
            : tr("The view could not be drawn: %1").arg(QString::fromLocal8Bit(failure.what()));
    // A modal box inside a paint event would paint the view again: it comes after.
    QMetaObject::invokeMethod(
        this,
        [this, text] {
            guimisc::UserDialogs::critical(window(), tr("Error"), text, QMessageBox::Ok);
        },
        Qt::QueuedConnection);
}

void View::resizeEvent(QResizeEvent*) {}

QPixmap View::drawModel() const
{
    // Drawn into an image of 8-bit RGBX, not into a pixmap of 32-bit RGB: Qt's raster engine
    // fills each row of a steep line or polygon edge with one short span, and on processors
    // with AVX2 its 32-bit RGB fill switches between AVX and SSE code at every span, so that
    // a view of many long lines drew several times slower. The picture is the same pixel for
    // pixel.
    QImage picture(size(), QImage::Format_RGBX8888);
    picture.fill(Qt::darkGray);
    if (!m_impl->model || picture.isNull()) {
        return QPixmap::fromImage(std::move(picture));
    }
    QPainter painter(&picture);
    const QTransform& t = m_impl->transform;
    const QRectF region = drawnRegion();
    m_impl->model->paintMainView(&painter, t, region);
    if (ModelItem* item = m_impl->model->selectedItem(); item && item->isChecked()) {
        item->view()->paintHelpers(&painter, t, region);
    }
    for (util::MainViewHelperI* helper : m_impl->viewHelpers) {
        helper->paintView(&painter, t, region);
    }
    drawScale(&painter);
    painter.end();
    return QPixmap::fromImage(std::move(picture));
}

void View::drawScale(QPainter* painter) const
{
    const QPointF p0(width() - 1 - SCALE_BAR_MARGIN, height() - 1 - SCALE_BAR_MARGIN);
    const QPointF p1 = p0 - QPointF(SCALE_BAR_PIXELS, 0.0);
    const QPointF w0 = rconv(p0);
    const QPointF w1 = rconv(p1);
    const QPointF d = w1 - w0;
    const double b = std::hypot(d.x(), d.y());
    if (!(b > 0.0) || !std::isfinite(b)) {
        return;
    }
    const double e = std::pow(10.0, std::floor(std::log10(b)));
    const double length = std::floor(b / e) * e;
    const QPointF p3 = conv(w0 + (length / b) * d);

    painter->save();
    painter->setPen(QPen());
    painter->setBrush(QBrush());
    const QPointF bar[] = {QPointF(p3.x(), p3.y() - SCALE_BAR_TICK), p3, p0,
                           QPointF(p0.x(), p0.y() - SCALE_BAR_TICK)};
    painter->drawPolyline(bar, 4);
    const QString label = QStringLiteral("%1 m").arg(length);
    const QFontMetricsF metrics(painter->font());
    const QPointF middle = (p3 + p0) / 2.0;
    painter->drawText(
        QPointF(middle.x() - metrics.horizontalAdvance(label) / 2.0, middle.y() + metrics.height()),
        label);
    painter->restore();
}

} // namespace mvc::core
