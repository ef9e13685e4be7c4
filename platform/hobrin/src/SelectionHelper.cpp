#include "guimisc/helper/SelectionHelper.h"

namespace guimisc::helper {

SelectionHelper::~SelectionHelper() = default;

} // namespace guimisc::helper
