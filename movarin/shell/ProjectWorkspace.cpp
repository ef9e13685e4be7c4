#include "movarin/shell/ProjectWorkspace.h"

#include "movarin/shell/SettingsKeys.h"

namespace varnel {

ProjectWorkspace::ProjectWorkspace(QObject* parent)
    : mvc::proj::ProjectWorkspace(QString::fromLatin1(settings::workspaceFolderName), parent)
{
}

ProjectWorkspace::~ProjectWorkspace() = default;

} // namespace varnel
