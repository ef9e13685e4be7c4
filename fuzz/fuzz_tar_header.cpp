// Archive entry header reader, with the end-of-archive block after it. Documented failures:
// format errors (common::exception); anything else is a finding.
#include "common/exception/RuntimeException.h"
#include "common/file/TarHeaderBlock.h"
#include "common/io/ByteOrder.h"

#include <Poco/BinaryReader.h>

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    Poco::BinaryReader reader(in, common::io::FILE_BYTE_ORDER);
    try {
        common::file::TarHeaderBlock block;
        block.read(reader);
        (void)block.contentSize();
        common::file::TarHeaderBlock::skipEndOfArchive(reader);
    } catch (const common::exception::RuntimeException&) {
    }
    return 0;
}
