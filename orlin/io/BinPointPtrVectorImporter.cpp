#include "orlin/io/BinPointPtrVectorImporter.h"

#include "orlin/core/PointFactory.h"
#include "orlin/io/BinPointBlockReader.h"

namespace tin::io {

namespace {

struct AppendInterned {
    std::vector<std::shared_ptr<tin::core::Point>>& points;
    void operator()(int, double x, double y, double z) const {
        points.push_back(tin::core::PointFactory::instance().factory(tin::core::Point(x, y, z), false));
    }
};

} // namespace

std::vector<std::shared_ptr<tin::core::Point>> BinPointPtrVectorImporter::importPointPtrVector(
    const char* path) const {
    std::vector<std::shared_ptr<tin::core::Point>> points;
    BinPointBlockReader::readFile(path, AppendInterned{points});
    return points;
}

std::vector<std::shared_ptr<tin::core::Point>> BinPointPtrVectorImporter::importPointPtrVector(
    Poco::BinaryReader* reader, unsigned long long size, const std::string& name) const {
    std::vector<std::shared_ptr<tin::core::Point>> points;
    BinPointBlockReader::read(*reader, size, name, AppendInterned{points});
    return points;
}

} // namespace tin::io
