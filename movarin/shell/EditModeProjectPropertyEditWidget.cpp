#include "movarin/shell/EditModeProjectPropertyEditWidget.h"

#include "movarin/shell/EditModeProjectProperty.h"

#include <QSize>

namespace varnel {

EditModeProjectPropertyEditWidget::EditModeProjectPropertyEditWidget(
    EditModeProjectProperty* property)
    : ProjectPropertyEditWidget(property)
{
    setupForm(QStringLiteral("EditModeProjectPropertyEditWidget"), QSize(400, 43), nullptr,
              {tr("Form"), tr("Coordinate System:"), tr("Edit"), tr("(Not specified)")});
}

EditModeProjectPropertyEditWidget::~EditModeProjectPropertyEditWidget() = default;

} // namespace varnel
