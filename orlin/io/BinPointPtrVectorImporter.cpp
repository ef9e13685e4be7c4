#include "orlin/io/BinPointPtrVectorImporter.h"

#include "orlin/core/PointFactory.h"
#include "orlin/io/BinPointBlockReader.h"
#include "orlin/support/LargeTableAllocatorT.h"
#include "orlin/support/PageFaulter.h"

#include <filesystem>
#include <system_error>

namespace tin::io {

namespace {

// The records are collected first and interned in one bulk request, which lets the point
// factory overlap its look-ups; the points are the ones requests in block order give.
using Coordinates = std::vector<double, tin::support::LargeTableAllocatorT<double>>;

struct CollectRecords {
    Coordinates& xyz;
    void operator()(int, double x, double y, double z) const { xyz.insert(xyz.end(), {x, y, z}); }
};

// Room for every record a file of `size` bytes can hold, faulted in partly on the page
// faulter's thread: the records then go into memory that is neither copied on growth nor
// faulted in by this thread alone.
void reserveFor(Coordinates& xyz, unsigned long long size) {
    const unsigned long long records = size / BinPointBlockReader::RECORD_SIZE;
    if (records > 0 && records < (1ull << 31)) {
        xyz.reserve(static_cast<std::size_t>(3 * records));
        tin::support::PageFaulter::faultInBackHalf(xyz.data(), xyz.capacity() * sizeof(double));
    }
}

std::vector<std::shared_ptr<tin::core::Point>> interned(const Coordinates& xyz) {
    std::vector<std::shared_ptr<tin::core::Point>> points(xyz.size() / 3);
    tin::core::PointFactory::instance().factoryAll(xyz.data(), points.size(), points.data());
    return points;
}

} // namespace

std::vector<std::shared_ptr<tin::core::Point>> BinPointPtrVectorImporter::importPointPtrVector(
    const char* path) const {
    Coordinates xyz;
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (!error) {
        reserveFor(xyz, size);
    }
    BinPointBlockReader::readFile(path, CollectRecords{xyz});
    return interned(xyz);
}

std::vector<std::shared_ptr<tin::core::Point>> BinPointPtrVectorImporter::importPointPtrVector(
    Poco::BinaryReader* reader, unsigned long long size, const std::string& name) const {
    // `size` comes from an archive's header and may claim more than the archive holds: no
    // room is reserved for it.
    Coordinates xyz;
    BinPointBlockReader::read(*reader, size, name, CollectRecords{xyz});
    return interned(xyz);
}

} // namespace tin::io
