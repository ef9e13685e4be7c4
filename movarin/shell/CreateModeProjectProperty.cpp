#include "movarin/shell/CreateModeProjectProperty.h"

#include "movarin/shell/CreateModeProjectPropertyEditWidget.h"

namespace varnel {

CreateModeProjectProperty::CreateModeProjectProperty(ProjectFile* parent)
    : ProjectProperty(parent)
{
}

CreateModeProjectProperty::~CreateModeProjectProperty() = default;

ProjectPropertyEditWidget* CreateModeProjectProperty::buildEditWidget()
{
    return new CreateModeProjectPropertyEditWidget(this);
}

} // namespace varnel
