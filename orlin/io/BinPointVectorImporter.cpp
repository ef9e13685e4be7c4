#include "orlin/io/BinPointVectorImporter.h"

#include "orlin/io/BinPointBlockReader.h"

namespace tin::io {

namespace {

struct AppendValue {
    std::vector<tin::core::Point>& points;
    void operator()(int, double x, double y, double z) const { points.emplace_back(x, y, z); }
};

} // namespace

std::vector<tin::core::Point> BinPointVectorImporter::importPointVector(const char* path) const {
    std::vector<tin::core::Point> points;
    BinPointBlockReader::readFile(path, AppendValue{points});
    return points;
}

std::vector<tin::core::Point> BinPointVectorImporter::importPointVector(Poco::BinaryReader* reader,
                                                                        unsigned long long size,
                                                                        const std::string& name) const {
    std::vector<tin::core::Point> points;
    BinPointBlockReader::read(*reader, size, name, AppendValue{points});
    return points;
}

} // namespace tin::io
