#pragma once

#include <stdexcept>
#include <string>

namespace gdalimg {

/// Failure of GdalImageLoader::load; what() is the text shown to the user ("File open error",
/// "Unexpected RasterDataType", "RasterIO returned error", "Image too large").
class GdalImageLoadError : public std::runtime_error {
public:
    explicit GdalImageLoadError(const std::string& message);
};

} // namespace gdalimg
