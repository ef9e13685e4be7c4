// STL reader, ASCII and binary (the reader tells them apart). Documented failures: format
// errors (common::exception); anything else is a finding.
#include "FuzzFile.h"

#include "common/exception/RuntimeException.h"
#include "orlin/io/StlTinImporter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static fuzz::FuzzFile file(".stl");
    const char* path = file.write(data, size);
    try {
        tin::io::StlTinImporter().importTin(path);
    } catch (const common::exception::RuntimeException&) {
    }
    return 0;
}
