#include "movarin/sections/EnumValueEditWidget.h"

namespace varnel {

EnumValueEditWidget::EnumValueEditWidget(const Values& values, QWidget* parent)
    : QComboBox(parent)
{
    for (const auto& [number, label] : values) {
        addItem(label, number);
    }
}

EnumValueEditWidget::~EnumValueEditWidget() = default;

QVariant EnumValueEditWidget::value() const
{
    return QVariant(currentIndex() < 0 ? 0 : currentData().toInt());
}

void EnumValueEditWidget::setValue(const QVariant& value)
{
    const int index = findData(value.toInt());
    setCurrentIndex(index < 0 ? 0 : index);
}

} // namespace varnel
