#pragma once

#include "movarin/survey/BackgroundImageItemController.h"

#include "pelkas/GdalImageSetting.h"

#include <QUndoCommand>

namespace gdalimg {
class GdalImage;
}

namespace varnel {

/// Gives a background picture a new placement; undo puts back the placement it had when the
/// command was made. No text and no merging: each drag, dialog and georeferencing is an
/// entry of its own. The picture is borrowed (it lives as long as its item, which the undo
/// stack outlives only while a project is being closed, after the stack was cleared).
class BackgroundImageItemController::SetSettingCommand : public QUndoCommand {
public:
    SetSettingCommand(const gdalimg::GdalImageSetting& newSetting, gdalimg::GdalImage* image);
    ~SetSettingCommand() override;

    void redo() override;
    void undo() override;

private:
    gdalimg::GdalImage* m_image;
    gdalimg::GdalImageSetting m_newSetting;
    gdalimg::GdalImageSetting m_oldSetting;
};

} // namespace varnel
