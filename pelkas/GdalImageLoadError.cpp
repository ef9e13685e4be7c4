#include "pelkas/GdalImageLoadError.h"

namespace gdalimg {

GdalImageLoadError::GdalImageLoadError(const std::string& message) : std::runtime_error(message) {}

} // namespace gdalimg
