// STL reader, ASCII and binary (the reader tells them apart).
#include "FuzzFile.h"

#include "orlin/io/StlTinImporter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return fuzz::readAsFile(".stl", data, size, [](const char* path) { tin::io::StlTinImporter().importTin(path); });
}
