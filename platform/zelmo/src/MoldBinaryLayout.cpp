#include "MoldBinaryLayout.h"

#include "common/io/ByteOrder.h"
#include "common/io/FileUtil.h"

#include <Poco/BinaryWriter.h>

#include <sstream>

namespace mold {
namespace io {
namespace layout {

std::string headerBytes()
{
    std::ostringstream out(std::ios::out | std::ios::binary);
    {
        Poco::BinaryWriter writer(out, common::io::FILE_BYTE_ORDER);
        common::io::FileUtil::writeHeader(writer, kTitle, kVersion);
        writer.flush();
    }
    return out.str();
}

} // namespace layout
} // namespace io
} // namespace mold
