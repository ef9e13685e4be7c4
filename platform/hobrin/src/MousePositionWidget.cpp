#include "guimisc/widget/MousePositionWidget.h"

#include <QHBoxLayout>
#include <QLabel>

namespace guimisc::widget {

MousePositionWidget::MousePositionWidget(QWidget* parent)
    : QWidget(parent), m_label(new QLabel(this))
{
    auto layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_label);
    m_label->setMinimumWidth(m_label->fontMetrics().horizontalAdvance(
        QStringLiteral("X: -0000000.00  Y: -0000000.00")));
}

MousePositionWidget::~MousePositionWidget() = default;

void MousePositionWidget::setPrecision(char format, int precision)
{
    m_format = format;
    m_precision = precision;
    showPosition();
}

QString MousePositionWidget::text() const
{
    return m_label->text();
}

void MousePositionWidget::updatePosition(const QPointF& position)
{
    m_position = position;
    m_hasPosition = true;
    showPosition();
}

void MousePositionWidget::setOffset(const QPointF& offset)
{
    m_offset = offset;
    showPosition();
}

void MousePositionWidget::clear()
{
    m_hasPosition = false;
    m_label->clear();
}

void MousePositionWidget::showPosition()
{
    if (!m_hasPosition) {
        return;
    }
    const QPointF p = m_position + m_offset;
    m_label->setText(QStringLiteral("X: %1  Y: %2")
                         .arg(QString::number(p.x(), m_format, m_precision),
                              QString::number(p.y(), m_format, m_precision)));
}

} // namespace guimisc::widget
