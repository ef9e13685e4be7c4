#pragma once

#include "brask/proj/ProjectItem.h"

namespace varnel {

/// The molds library of an edit-mode project, owned by the GeoEdit surface group. Its files
/// lie in the sub-folder "moldsContainer" of the group's folder.
///
/// For now it holds no molds and lists no files.
class MoldsContainer : public mvc::proj::ProjectItem {
    Q_OBJECT
public:
    explicit MoldsContainer(mvc::proj::ProjectItem* parent);
    ~MoldsContainer() override;
};

} // namespace varnel
