// Mold file reader.
#include "FuzzFile.h"

#include "mold/io/MoldImporter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return fuzz::readAsFile(".mld", data, size, [](const char* path) { mold::io::MoldImporter().importMold(path); });
}
