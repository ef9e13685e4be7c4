#include "movarin/survey/BackgroundImageItemControllerSetSettingCommand.h"

#include "pelkas/GdalImage.h"

namespace varnel {

using Self = BackgroundImageItemController::SetSettingCommand;

Self::SetSettingCommand(const gdalimg::GdalImageSetting& newSetting, gdalimg::GdalImage* image)
    : m_image(image), m_newSetting(newSetting), m_oldSetting(image->setting())
{
}

Self::~SetSettingCommand() = default;

void Self::redo()
{
    m_image->setSetting(m_newSetting);
}

void Self::undo()
{
    m_image->setSetting(m_oldSetting);
}

} // namespace varnel
