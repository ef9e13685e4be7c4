// Point text reader.
#include "FuzzFile.h"

#include "orlin/io/TpoPointSetImporter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return fuzz::readAsFile(".tpo", data, size,
                            [](const char* path) { tin::io::TpoPointSetImporter().importPointSet(path); });
}
