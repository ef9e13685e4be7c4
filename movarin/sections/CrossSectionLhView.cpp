#include "movarin/sections/CrossSectionLhView.h"

#include "movarin/sections/CrossSectionLhTableModel.h"
#include "movarin/sections/CrossSectionLhViewLhTableItem.h"
#include "movarin/sections/CrossSectionLhViewLhTableItemController.h"
#include "movarin/sections/CrossSectionLhViewLhTableItemDrawer.h"
#include "movarin/sections/CrossSectionLhViewLhTableItemView.h"

#include "brask/core/View.h"

#include <guimisc/UserDialogs.h>

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <cmath>
#include <exception>

namespace varnel {

// Shorthand inside the bodies; each definition names the class in full, since the
// translation tools do not see through an alias to find a text's class.
using Self = CrossSectionLhView;

namespace {

constexpr double FIT_FILL = 0.9;
constexpr double EMPTY_EXTENT = 10.0;

} // namespace

CrossSectionLhView::CrossSectionLhView(QWidget* parent) : PrimitiveView(parent) {}

CrossSectionLhView::~CrossSectionLhView() = default;

void CrossSectionLhView::setUpItem(CrossSectionItem* section, CrossSectionLhTableModel* model)
{
    m_item = std::make_unique<LhTableItem>(section, model, this);
    fit();
}

template <typename Change> void CrossSectionLhView::changeItem(Change change)
{
    if (m_item) {
        change(*m_item);
        update();
    }
}

template <typename Hook> void CrossSectionLhView::toController(Hook hook)
{
    if (!m_item) {
        return;
    }
    try {
        hook(*m_item->controller());
    } catch (const std::exception& e) {
        guimisc::UserDialogs::critical(this, tr("Error"), QString::fromLocal8Bit(e.what()));
    }
}

void CrossSectionLhView::setBaseRows(const Rows* rows)
{
    changeItem([&](LhTableItem& item) { item.setBaseRows(rows); });
}

void CrossSectionLhView::setAuxiliaryRows(const Rows* rows)
{
    changeItem([&](LhTableItem& item) { item.setAuxiliaryRows(rows); });
}

void CrossSectionLhView::setPolylineCrossings(const CrossSectionPolylineCrossings* crossings)
{
    changeItem([&](LhTableItem& item) { item.setPolylineCrossings(crossings); });
}

void CrossSectionLhView::connectToDialog(CrossSectionDialog* dialog)
{
    if (m_item) {
        m_item->controller()->setDialog(dialog);
    }
}

void CrossSectionLhView::setGridWidthX(double width)
{
    changeItem([&](LhTableItem& item) { item.view()->drawer()->setGridWidthX(width); });
}

void CrossSectionLhView::setGridWidthY(double width)
{
    changeItem([&](LhTableItem& item) { item.view()->drawer()->setGridWidthY(width); });
}

void CrossSectionLhView::setShowGridX(bool show)
{
    changeItem([&](LhTableItem& item) { item.view()->drawer()->setShowGridX(show); });
}

void CrossSectionLhView::setShowGridY(bool show)
{
    changeItem([&](LhTableItem& item) { item.view()->drawer()->setShowGridY(show); });
}

void CrossSectionLhView::setShowBaseTin(bool show)
{
    changeItem([&](LhTableItem& item) { item.view()->setShowBase(show); });
}

void CrossSectionLhView::setShowDetail(bool show)
{
    toController([&](LhTableItemController& controller) { controller.setShowDetail(show); });
}

void CrossSectionLhView::fit()
{
    if (!m_item || !hasPlotArea()) {
        return;
    }
    const QRectF box = profileBox(m_item->rows());
    setCenterPoint(box.center());
    // A fit frames the profile whatever the zoom before.
    setScale(1.0);
    setRelativeScaleX(width() * FIT_FILL / box.width());
    setRelativeScaleY(height() * FIT_FILL / box.height());
    updateView();
}

QRectF CrossSectionLhView::profileBox(const Rows& rows)
{
    QRectF box;
    if (!rows.empty()) {
        const auto [minL, maxL] = std::minmax_element(
            rows.begin(), rows.end(), [](const auto& a, const auto& b) { return a.L < b.L; });
        const auto [minH, maxH] = std::minmax_element(
            rows.begin(), rows.end(), [](const auto& a, const auto& b) { return a.H < b.H; });
        box = QRectF(QPointF(minL->L, minH->H), QPointF(maxL->L, maxH->H));
    }
    if (box.width() == 0.0) {
        box.setLeft(box.left() - EMPTY_EXTENT / 2.0);
        box.setWidth(EMPTY_EXTENT);
    }
    if (box.height() == 0.0) {
        // y up: top() is the lowest elevation.
        box.setTop(box.top() - EMPTY_EXTENT / 2.0);
        box.setHeight(EMPTY_EXTENT);
    }
    return box;
}

QRectF CrossSectionLhView::plotRect() const
{
    return QRectF(QPointF(leftMargin(), TOP_MARGIN), QPointF(width(), height()));
}

bool CrossSectionLhView::hasPlotArea() const
{
    return width() > leftMargin() && height() > TOP_MARGIN;
}

int CrossSectionLhView::leftMargin() const
{
    // As the drawer lays the strip out: the upright title (its ascent and a pixel), a gap,
    // the label, a gap and the tick.
    const QFontMetricsF metrics(font());
    const double label = std::max(metrics.horizontalAdvance(QStringLiteral("-000.00")),
                                  metrics.horizontalAdvance(QStringLiteral("0000.00")));
    const double needed = metrics.ascent() + 1.0 + LABEL_GAP + label + LABEL_GAP + TICK;
    return std::max(LEFT_MARGIN, static_cast<int>(std::ceil(needed)));
}

QTransform CrossSectionLhView::modifyTransform() const
{
    if (!hasPlotArea()) {
        return QTransform();
    }
    const int left = leftMargin();
    return QTransform::fromTranslate(left, TOP_MARGIN)
        .scale(1.0 - static_cast<double>(left) / width(),
               1.0 - static_cast<double>(TOP_MARGIN) / height());
}

QPixmap CrossSectionLhView::drawModel()
{
    QPixmap picture(size());
    picture.fill(Qt::darkGray);
    if (m_item && hasPlotArea()) {
        QPainter painter(&picture);
        // The strips were measured in the widget's font; a picture's painter starts with the
        // application's.
        painter.setFont(font());
        LhTableItemView* view = m_item->view();
        view->setColors(Qt::black, Qt::white);
        view->paint(&painter, transform(), drawnArea());
        view->paintHelpers(&painter, transform(), drawnArea());
    }
    return picture;
}

void CrossSectionLhView::keyPressEvent(QKeyEvent* event)
{
    toController([&](LhTableItemController& controller) { controller.keyPressEvent(event, this); });
}

void CrossSectionLhView::mouseDoubleClickEvent(QMouseEvent* event)
{
    toController(
        [&](LhTableItemController& controller) { controller.mouseDoubleClickEvent(event, this); });
}

void CrossSectionLhView::mouseMoveEvent(QMouseEvent* event)
{
    const bool navigating = inViewOperation();
    viewMouseMoveEvent(event);
    if (!navigating) {
        toController(
            [&](LhTableItemController& controller) { controller.mouseMoveEvent(event, this); });
    }
}

void CrossSectionLhView::mousePressEvent(QMouseEvent* event)
{
    viewMousePressEvent(event);
    if (!inViewOperation()) {
        toController(
            [&](LhTableItemController& controller) { controller.mousePressEvent(event, this); });
    }
}

void CrossSectionLhView::mouseReleaseEvent(QMouseEvent* event)
{
    const bool navigating = inViewOperation();
    viewMouseReleaseEvent(event);
    if (navigating) {
        return;
    }
    toController(
        [&](LhTableItemController& controller) { controller.mouseReleaseEvent(event, this); });
    if (m_item && event->button() == Qt::RightButton
        && mvc::core::View::isClick(rightClickPos(), event->pos())) {
        m_item->showContextMenu(event->globalPos());
    }
}

void CrossSectionLhView::resizeEvent(QResizeEvent* event)
{
    PrimitiveView::resizeEvent(event);
    fit();
}

void CrossSectionLhView::wheelEvent(QWheelEvent* event)
{
    viewWheelEvent(event);
    toController([&](LhTableItemController& controller) { controller.wheelEvent(event, this); });
}

} // namespace varnel
