#include "movarin/surfaces/MoldsContainer.h"

namespace varnel {

MoldsContainer::MoldsContainer(mvc::proj::ProjectItem* parent) : mvc::proj::ProjectItem(parent)
{
    setSubPath("moldsContainer");
}

MoldsContainer::~MoldsContainer() = default;

} // namespace varnel
