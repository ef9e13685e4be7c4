// TIN archive reader. Documented failures: format errors (common::exception) and
// std::out_of_range for a triangle index that names no point; anything else is a finding.
#include "FuzzFile.h"

#include "orlin/io/TinTinImporter.h"

#include <stdexcept>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return fuzz::readAsFile(".tin", data, size, [](const char* path) {
        try {
            tin::io::TinTinImporter().importTin(path);
        } catch (const std::out_of_range&) {
        }
    });
}
