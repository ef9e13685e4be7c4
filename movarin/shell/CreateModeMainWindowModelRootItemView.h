#pragma once

#include "movarin/shell/ProjectModelRootItemView.h"

namespace varnel {

class CreateModeMainWindowModelRootItem;

/// Paints a create-mode project's tree in the root's fixed painting order: background
/// images, TIN, imported points, points for the TIN, geographic data on top.
class CreateModeMainWindowModelRootItemView : public ProjectModelRootItemView {
public:
    explicit CreateModeMainWindowModelRootItemView(const CreateModeMainWindowModelRootItem* item);
    ~CreateModeMainWindowModelRootItemView() override;
};

} // namespace varnel
