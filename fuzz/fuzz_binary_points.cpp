// Binary point file readers: into a point set (interned) and into plain values. Documented
// failures: format errors (common::exception); anything else is a finding.
#include "FuzzFile.h"

#include "common/exception/RuntimeException.h"
#include "orlin/io/BinPointSetImporter.h"
#include "orlin/io/BinPointVectorImporter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static fuzz::FuzzFile file(".tpobin");
    const char* path = file.write(data, size);
    try {
        tin::io::BinPointSetImporter().importPointSet(path);
    } catch (const common::exception::RuntimeException&) {
    }
    try {
        tin::io::BinPointVectorImporter().importPointVector(path);
    } catch (const common::exception::RuntimeException&) {
    }
    return 0;
}
