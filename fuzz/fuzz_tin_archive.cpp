// TIN archive reader. Documented failures: format errors (common::exception) and
// std::out_of_range for a triangle index that names no point; anything else is a finding.
#include "FuzzFile.h"

#include "common/exception/RuntimeException.h"
#include "orlin/io/TinTinImporter.h"

#include <stdexcept>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static fuzz::FuzzFile file(".tin");
    const char* path = file.write(data, size);
    try {
        tin::io::TinTinImporter().importTin(path);
    } catch (const common::exception::RuntimeException&) {
    } catch (const std::out_of_range&) {
    }
    return 0;
}
