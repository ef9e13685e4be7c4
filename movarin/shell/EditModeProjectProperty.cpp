#include "movarin/shell/EditModeProjectProperty.h"

#include "movarin/shell/EditModeProjectPropertyEditWidget.h"

namespace varnel {

EditModeProjectProperty::EditModeProjectProperty(ProjectFile* parent) : ProjectProperty(parent)
{
}

EditModeProjectProperty::~EditModeProjectProperty() = default;

ProjectPropertyEditWidget* EditModeProjectProperty::buildEditWidget()
{
    return new EditModeProjectPropertyEditWidget(this);
}

} // namespace varnel
