// Binary point file readers: into a point set (interned) and into plain values.
#include "FuzzFile.h"

#include "orlin/io/BinPointSetImporter.h"
#include "orlin/io/BinPointVectorImporter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::readAsFile(".tpobin", data, size,
                     [](const char* path) { tin::io::BinPointVectorImporter().importPointVector(path); });
    return fuzz::readAsFile(".tpobin", data, size,
                            [](const char* path) { tin::io::BinPointSetImporter().importPointSet(path); });
}
