#pragma once

#include "movarin/shell/ProjectModelRootItemView.h"

namespace varnel {

class EditModeMainWindowModelRootItem;

/// Paints an edit-mode project's tree in the root's fixed painting order: background
/// images, base TIN, edited TIN, GeoEdit surfaces, cross sections, geographic data on top.
class EditModeMainWindowModelRootItemView : public ProjectModelRootItemView {
public:
    explicit EditModeMainWindowModelRootItemView(const EditModeMainWindowModelRootItem* item);
    ~EditModeMainWindowModelRootItemView() override;
};

} // namespace varnel
