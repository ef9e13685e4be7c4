#include "guimisc/widget/TransparencyWidget.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QSpinBox>

namespace guimisc::widget {

TransparencyWidget::TransparencyWidget(QWidget* parent)
    : QWidget(parent), m_slider(new QSlider(Qt::Horizontal, this)), m_spinBox(new QSpinBox(this))
{
    auto label = new QLabel(tr("Opacity:"), this);
    m_slider->setRange(0, 100);
    m_spinBox->setRange(0, 100);
    m_spinBox->setSuffix(QStringLiteral(" %"));
    m_slider->setValue(100);
    m_spinBox->setValue(100);
    auto layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label);
    layout->addWidget(m_slider, 1);
    layout->addWidget(m_spinBox);
    label->setBuddy(m_spinBox);

    // The spin box holds the value; the slider follows it and moves it.
    connect(m_slider, &QSlider::valueChanged, m_spinBox, &QSpinBox::setValue);
    connect(m_spinBox, QOverload<int>::of(&QSpinBox::valueChanged), this, [this](int value) {
        m_slider->setValue(value);
        emit opacityChanged(value);
    });
}

TransparencyWidget::~TransparencyWidget() = default;

int TransparencyWidget::opacity() const
{
    return m_spinBox->value();
}

void TransparencyWidget::setOpacity(int percent)
{
    m_spinBox->setValue(percent); // the spin box clamps to its range
}

} // namespace guimisc::widget
