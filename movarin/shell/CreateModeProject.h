#pragma once

#include "movarin/shell/Project.h"

namespace varnel {

/// A create-mode project: point sets and background images turned into a TIN. Its window
/// kind is "createMainWindow", its code "cmvn"; its main file is a
/// `CreateModeProjectFile`.
class CreateModeProject : public Project {
    Q_OBJECT
public:
    static const char WINDOW_ID_PREFIX[];
    static const char FILE_EXTENSION[];

    CreateModeProject(const QString& workFolder, mvc::proj::ProjectMainWindowI* mainWindow);
    ~CreateModeProject() override;

    std::string fileExtension() const override;
};

} // namespace varnel
