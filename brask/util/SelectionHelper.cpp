#include "brask/util/SelectionHelper.h"

#include "brask/core/View.h"

template class guimisc::helper::SelectionHelperT<mvc::core::View, mvc::util::MainViewHelperI>;

namespace mvc::util {

SelectionHelper::SelectionHelper() = default;

SelectionHelper::SelectionHelper(const SelectionHelper& other) = default;

SelectionHelper::~SelectionHelper() = default;

} // namespace mvc::util
