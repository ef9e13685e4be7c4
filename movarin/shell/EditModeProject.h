#pragma once

#include "movarin/shell/Project.h"

namespace varnel {

/// An edit-mode project: a base TIN and an edited TIN with GeoEdit surfaces, cross
/// sections and geographic data. Its window kind is "editMainWindow", its code "emvn"; its
/// main file is an `EditModeProjectFile`.
class EditModeProject : public Project {
    Q_OBJECT
public:
    static const char WINDOW_ID_PREFIX[];
    static const char FILE_EXTENSION[];

    EditModeProject(const QString& workFolder, mvc::proj::ProjectMainWindowI* mainWindow);
    ~EditModeProject() override;

    std::string fileExtension() const override;
};

} // namespace varnel
