// Binary polygon and polyline readers (one layout).
#include "FuzzFile.h"

#include "orlin/core/Polygon.h"
#include "orlin/core/Polyline.h"
#include "orlin/io/BinPolygonImporter.h"
#include "orlin/io/BinPolylineImporter.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::readAsFile(".pol", data, size, [](const char* path) {
        std::unique_ptr<tin::core::Polygon>(tin::io::BinPolygonImporter().importPolygon(path));
    });
    return fuzz::readAsFile(".pll", data, size, [](const char* path) {
        std::unique_ptr<tin::core::Polyline>(tin::io::BinPolylineImporter().importPolyline(path));
    });
}
