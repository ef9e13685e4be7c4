// TIN archive reader. Documented failures: format errors (common::exception), a triangle
// index that names no point among them; anything else is a finding.
#include "FuzzFile.h"

#include "orlin/io/TinTinImporter.h"


extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return fuzz::readAsFile(".tin", data, size, [](const char* path) {
        tin::io::TinTinImporter().importTin(path);
    });
}
