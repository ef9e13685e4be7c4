#include "movarin/sections/RealValueEditWidget.h"

#include <guimisc/widget/RealNumberEditWidget.h>

#include <QHBoxLayout>
#include <QLabel>

namespace varnel {

RealValueEditWidget::RealValueEditWidget(const QString& unit, QWidget* parent)
    : QWidget(parent),
      m_edit(new guimisc::widget::RealNumberEditWidget(this)),
      m_unitLabel(new QLabel(unit, this))
{
    setObjectName(QStringLiteral("RealValueEditWidget"));
    resize(139, 38);
    m_edit->setObjectName(QStringLiteral("valueEdit"));
    m_unitLabel->setObjectName(QStringLiteral("unitLabel"));
    auto layout = new QHBoxLayout(this);
    layout->addWidget(m_edit);
    layout->addWidget(m_unitLabel);
    setFocusProxy(m_edit);
}

RealValueEditWidget::~RealValueEditWidget() = default;

QVariant RealValueEditWidget::value() const
{
    return QVariant(m_edit->value());
}

void RealValueEditWidget::setValue(const QVariant& value)
{
    m_edit->setValue(value.toDouble());
}

} // namespace varnel
