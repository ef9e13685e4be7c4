#include "guimisc/widget/ColorEditWidget.h"

#include "guimisc/UserDialogs.h"

#include <QPixmap>

namespace guimisc::widget {

ColorEditWidget::ColorEditWidget(QWidget* parent) : QPushButton(parent), m_color(Qt::black)
{
    connect(this, &QPushButton::clicked, this, &ColorEditWidget::chooseColor);
    updateLook();
}

ColorEditWidget::~ColorEditWidget() = default;

void ColorEditWidget::setColor(const QColor& color)
{
    if (color == m_color) {
        return;
    }
    m_color = color;
    updateLook();
    emit colorChanged(m_color);
}

void ColorEditWidget::chooseColor()
{
    const QColor chosen = UserDialogs::getColor(m_color, this, tr("Select color"));
    if (chosen.isValid()) {
        setColor(chosen);
    }
}

void ColorEditWidget::updateLook()
{
    // A swatch rather than a style sheet, so the button keeps the platform's look.
    QPixmap swatch(32, 12);
    swatch.fill(m_color.isValid() ? m_color : QColor(Qt::transparent));
    setIcon(QIcon(swatch));
    setIconSize(swatch.size());
    setToolTip(m_color.isValid() ? m_color.name() : QString());
}

} // namespace guimisc::widget
