// Binary polygon and polyline readers (one layout). Documented failures: format errors
// (common::exception); anything else is a finding.
#include "FuzzFile.h"

#include "common/exception/RuntimeException.h"
#include "orlin/core/Polygon.h"
#include "orlin/core/Polyline.h"
#include "orlin/io/BinPolygonImporter.h"
#include "orlin/io/BinPolylineImporter.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static fuzz::FuzzFile file(".pol");
    const char* path = file.write(data, size);
    try {
        std::unique_ptr<tin::core::Polygon>(tin::io::BinPolygonImporter().importPolygon(path));
    } catch (const common::exception::RuntimeException&) {
    }
    try {
        std::unique_ptr<tin::core::Polyline>(tin::io::BinPolylineImporter().importPolyline(path));
    } catch (const common::exception::RuntimeException&) {
    }
    return 0;
}
