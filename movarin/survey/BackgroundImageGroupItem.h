#pragma once

#include "brask/core/ModelItem.h"

namespace varnel {

/// The folder of a project's background images ("Background images"). Its files lie in the
/// sub-folder "backgroundImageGroup".
///
/// For now it holds no images and writes nothing but its row's state.
class BackgroundImageGroupItem : public mvc::core::ModelItem {
    Q_OBJECT
public:
    explicit BackgroundImageGroupItem(mvc::core::ModelItem* parent);
    ~BackgroundImageGroupItem() override;

    QString itemTypeName() const override;
};

} // namespace varnel
