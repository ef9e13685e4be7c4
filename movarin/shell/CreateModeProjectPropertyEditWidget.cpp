#include "movarin/shell/CreateModeProjectPropertyEditWidget.h"

#include "movarin/shell/CreateModeProjectProperty.h"

#include <QMargins>
#include <QSize>

namespace varnel {

CreateModeProjectPropertyEditWidget::CreateModeProjectPropertyEditWidget(
    CreateModeProjectProperty* property)
    : ProjectPropertyEditWidget(property)
{
    const QMargins none(0, 0, 0, 0);
    setupForm(QStringLiteral("CreateModeProjectPropertyEditWidget"), QSize(281, 25), &none,
              {tr("Form"), tr("Coordinate System:"), tr("Edit"), tr("(Not specified)")});
}

CreateModeProjectPropertyEditWidget::~CreateModeProjectPropertyEditWidget() = default;

} // namespace varnel
