#pragma once

#include "brask/proj/ProjectWorkspace.h"

namespace varnel {

/// The program's workspace: the folder of the setting "general/workspace", by default
/// ".movarin_workspace" in the user's home folder, under which every open project has
/// its work folder. Made, with its missing parents, when missing.
class ProjectWorkspace : public mvc::proj::ProjectWorkspace {
    Q_OBJECT
public:
    explicit ProjectWorkspace(QObject* parent);
    ~ProjectWorkspace() override;
};

} // namespace varnel
