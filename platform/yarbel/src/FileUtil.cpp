#include "common/io/FileUtil.h"

#include "common/io/IoUtil.h"

#include <Poco/BinaryReader.h>
#include <Poco/BinaryWriter.h>

namespace common::io {

void FileUtil::writeHeader(Poco::BinaryWriter& writer, const std::string& title, const std::string& version) {
    IoUtil::writeWithSize(writer, title, TITLE_SIZE);
    IoUtil::writeWithSize(writer, version, VERSION_SIZE);
}

void FileUtil::skipHeader(Poco::BinaryReader& reader) {
    char buffer[headerSize()];
    reader.readRaw(buffer, headerSize());
}

} // namespace common::io
