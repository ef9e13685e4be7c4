#pragma once

namespace tin::io {

/// Form of an STL file: decided from the file itself, ASCII or binary.
enum StlType : int {
    STL_DETECT = 0,
    STL_ASCII = 1,
    STL_BINARY = 2,
};

} // namespace tin::io
