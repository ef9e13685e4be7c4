#include "orlin/io/BinPointPtrVectorImporter.h"

#include "orlin/core/PointFactory.h"
#include "orlin/io/BinPointBlockReader.h"
#include "orlin/support/LargeTableAllocatorT.h"

namespace tin::io {

namespace {

// The records are collected first and interned in one bulk request, which lets the point
// factory overlap its look-ups; the points are the ones requests in block order give.
using Coordinates = std::vector<double, tin::support::LargeTableAllocatorT<double>>;

struct CollectRecords {
    Coordinates& xyz;
    void operator()(int, double x, double y, double z) const { xyz.insert(xyz.end(), {x, y, z}); }
};

std::vector<std::shared_ptr<tin::core::Point>> interned(const Coordinates& xyz) {
    std::vector<std::shared_ptr<tin::core::Point>> points(xyz.size() / 3);
    tin::core::PointFactory::instance().factoryAll(xyz.data(), points.size(), points.data());
    return points;
}

} // namespace

std::vector<std::shared_ptr<tin::core::Point>> BinPointPtrVectorImporter::importPointPtrVector(
    const char* path) const {
    Coordinates xyz;
    BinPointBlockReader::readFile(path, CollectRecords{xyz});
    return interned(xyz);
}

std::vector<std::shared_ptr<tin::core::Point>> BinPointPtrVectorImporter::importPointPtrVector(
    Poco::BinaryReader* reader, unsigned long long size, const std::string& name) const {
    Coordinates xyz;
    BinPointBlockReader::read(*reader, size, name, CollectRecords{xyz});
    return interned(xyz);
}

} // namespace tin::io
