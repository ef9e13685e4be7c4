#include "guimisc/widget/RealNumberEditWidget.h"

#include "AttributeText.h"

#include <QDoubleValidator>
#include <QLocale>

namespace guimisc::widget {

RealNumberEditWidget::RealNumberEditWidget(QWidget* parent) : QLineEdit(parent)
{
    auto validator = new QDoubleValidator(this);
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator | QLocale::OmitGroupSeparator);
    validator->setLocale(c);
    validator->setNotation(QDoubleValidator::ScientificNotation);
    setValidator(validator);
    setValue(0.0);
}

RealNumberEditWidget::~RealNumberEditWidget() = default;

double RealNumberEditWidget::value() const
{
    double v = 0.0;
    xml::detail::textToDouble(text(), &v);
    return v;
}

void RealNumberEditWidget::setValue(double value)
{
    setText(xml::detail::doubleToText(value));
}

} // namespace guimisc::widget
