#include "mold/io/MoldExporter.h"

#include "MoldBinaryLayout.h"
#include "mold/core/Mold.h"

#include "common/io/ByteOrder.h"
#include "common/exception/RuntimeException.h"
#include "common/io/FileUtil.h"
#include "common/io/SafeFileWriter.h"

#include <Poco/BinaryWriter.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace mold {
namespace io {

namespace {

using common::exception::RuntimeException;

// Refuses, before anything is written, what the importer would refuse to read back.
void requireWritable(const core::Mold& mold)
{
    const auto type = static_cast<std::int32_t>(mold.editType());
    if (type != core::Mold::Add && type != core::Mold::Subtract) {
        throw RuntimeException("Cannot write a mold of edit type " + std::to_string(type)
                               + ": only 0 (add) and 1 (subtract) can be stored");
    }
    if (mold.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        throw RuntimeException("Cannot write a mold of " + std::to_string(mold.size())
                               + " points: too many for the mold format");
    }
    if (!std::isfinite(mold.baseL()) || !std::isfinite(mold.baseH())) {
        throw RuntimeException("Cannot write a mold whose base point is not finite");
    }
    for (std::size_t i = 0; i < mold.size(); ++i) {
        if (!std::isfinite(mold.l()[i]) || !std::isfinite(mold.h()[i])) {
            throw RuntimeException("Cannot write a mold whose point " + std::to_string(i)
                                   + " is not finite");
        }
    }
}

std::size_t sizeOf(const core::Mold& mold)
{
    return static_cast<std::size_t>(common::io::FileUtil::headerSize()) + layout::kFixedBytes
           + layout::kPointBytes * mold.size();
}

void writeEntry(Poco::BinaryWriter& writer, const core::Mold& mold)
{
    requireWritable(mold);
    std::vector<char> body(layout::kFixedBytes + layout::kPointBytes * mold.size());
    char* out = body.data();
    layout::putInt32(out, static_cast<std::int32_t>(mold.editType()));
    layout::putFloat64(out + 4, mold.baseL());
    layout::putFloat64(out + 12, mold.baseH());
    layout::putInt32(out + 20, static_cast<std::int32_t>(mold.size()));
    out += layout::kFixedBytes;
    for (std::size_t i = 0; i < mold.size(); ++i, out += layout::kPointBytes) {
        layout::putFloat64(out, mold.l()[i]);
        layout::putFloat64(out + 8, mold.h()[i]);
    }
    common::io::FileUtil::writeHeader(writer, layout::kTitle, layout::kVersion);
    writer.writeRaw(body.data(), static_cast<std::streamsize>(body.size()));
}

} // namespace

MoldExporter::MoldExporter() : m_mold(nullptr) {}

MoldExporter::MoldExporter(const core::Mold& mold) : m_mold(&mold) {}

std::size_t MoldExporter::binarySize() const
{
    if (!m_mold) {
        throw RuntimeException("MoldExporter::binarySize: the exporter was made without a mold");
    }
    return sizeOf(*m_mold);
}

void MoldExporter::exportMoldBinary(Poco::BinaryWriter* writer) const
{
    if (!m_mold) {
        throw RuntimeException(
            "MoldExporter::exportMoldBinary: the exporter was made without a mold");
    }
    if (!writer) {
        throw RuntimeException("MoldExporter::exportMoldBinary: no writer given");
    }
    writeEntry(*writer, *m_mold);
}

void MoldExporter::exportMold(const char* path, const core::Mold& mold) const
{
    if (!path || !*path) {
        throw RuntimeException("Cannot write a mold file: no file name given");
    }
    requireWritable(mold);
    // A project saves its molds at every save, most times unchanged.
    common::io::SafeFileWriter::writeBinaryIfChanged(path, [&](std::ostream& stream) {
        Poco::BinaryWriter writer(stream, common::io::FILE_BYTE_ORDER);
        writeEntry(writer, mold);
        writer.flush();
    });
}

} // namespace io
} // namespace mold
