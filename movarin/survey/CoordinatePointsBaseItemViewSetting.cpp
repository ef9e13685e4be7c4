#include "movarin/survey/CoordinatePointsBaseItemViewSetting.h"

namespace varnel {

CoordinatePointsBaseItemViewSetting::CoordinatePointsBaseItemViewSetting()
    : CoordinatePointsBaseItemViewSetting(QColor(), 0, false)
{
}

CoordinatePointsBaseItemViewSetting::CoordinatePointsBaseItemViewSetting(const QColor& color,
                                                                         int radius,
                                                                         bool useColorByValue)
    : CompositeContainer({&m_color, &m_radius, &m_useColorByValue}),
      m_color(QStringLiteral("color"), color),
      m_radius(QStringLiteral("radius"), radius),
      m_useColorByValue(QStringLiteral("useColorByValue"), useColorByValue)
{
}

CoordinatePointsBaseItemViewSetting::CoordinatePointsBaseItemViewSetting(
    const CoordinatePointsBaseItemViewSetting& other)
    : CoordinatePointsBaseItemViewSetting()
{
    copyValue(other);
}

CoordinatePointsBaseItemViewSetting& CoordinatePointsBaseItemViewSetting::operator=(
    const CoordinatePointsBaseItemViewSetting& other)
{
    copyValue(other);
    return *this;
}

CoordinatePointsBaseItemViewSetting::~CoordinatePointsBaseItemViewSetting() = default;

void CoordinatePointsBaseItemViewSetting::load(const QDomElement& element)
{
    CompositeContainer::load(element);
    if (m_radius.value() < 0 || m_radius.value() > MAX_RADIUS) {
        m_radius = m_radius.defaultValue();
    }
}

QColor CoordinatePointsBaseItemViewSetting::color() const
{
    return m_color.value();
}

void CoordinatePointsBaseItemViewSetting::setColor(const QColor& color)
{
    m_color = color;
}

int CoordinatePointsBaseItemViewSetting::radius() const
{
    return m_radius.value();
}

void CoordinatePointsBaseItemViewSetting::setRadius(int radius)
{
    m_radius = radius;
}

bool CoordinatePointsBaseItemViewSetting::useColorByValue() const
{
    return m_useColorByValue.value();
}

void CoordinatePointsBaseItemViewSetting::setUseColorByValue(bool useColorByValue)
{
    m_useColorByValue = useColorByValue;
}

bool CoordinatePointsBaseItemViewSetting::operator==(
    const CoordinatePointsBaseItemViewSetting& other) const
{
    return color() == other.color() && radius() == other.radius()
        && useColorByValue() == other.useColorByValue();
}

bool CoordinatePointsBaseItemViewSetting::operator!=(
    const CoordinatePointsBaseItemViewSetting& other) const
{
    return !(*this == other);
}

} // namespace varnel
