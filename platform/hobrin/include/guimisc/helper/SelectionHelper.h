#pragma once

namespace guimisc::helper {

/// The common base of every interaction mode of a view (see `SelectionHelperT`), through
/// which controllers and views hand modes around without knowing their view type.
class SelectionHelper {
public:
    SelectionHelper() = default;
    SelectionHelper(const SelectionHelper&) = default;
    SelectionHelper& operator=(const SelectionHelper&) = default;
    virtual ~SelectionHelper();
};

} // namespace guimisc::helper
