#include "movarin/survey/BackgroundImageGroupItem.h"

namespace varnel {

BackgroundImageGroupItem::BackgroundImageGroupItem(mvc::core::ModelItem* parent)
    : mvc::core::ModelItem(FolderIcon, tr("Background images"), parent, 0)
{
    setSubPath("backgroundImageGroup");
}

BackgroundImageGroupItem::~BackgroundImageGroupItem() = default;

QString BackgroundImageGroupItem::itemTypeName() const
{
    return tr("background image");
}

} // namespace varnel
