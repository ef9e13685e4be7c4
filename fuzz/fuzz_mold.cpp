// Mold file reader. Documented failures: format errors (common::exception); anything else is
// a finding.
#include "FuzzFile.h"

#include "common/exception/RuntimeException.h"
#include "mold/io/MoldImporter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static fuzz::FuzzFile file(".mld");
    const char* path = file.write(data, size);
    try {
        mold::io::MoldImporter().importMold(path);
    } catch (const common::exception::RuntimeException&) {
    }
    return 0;
}
