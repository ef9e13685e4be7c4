#include "orlin/io/BinPointSetImporter.h"

#include "orlin/core/Point.h"
#include "orlin/io/BinPointBlockReader.h"

namespace tin::io {

namespace {

struct AddToSet {
    tin::core::PointSet& set;
    void operator()(int index, double x, double y, double z) const {
        set.addPoint(tin::core::Point(x, y, z))->setId(index);
    }
};

} // namespace

tin::core::PointSet BinPointSetImporter::importPointSet(const char* path) const {
    tin::core::PointSet set;
    BinPointBlockReader::readFile(path, AddToSet{set});
    return set;
}

tin::core::PointSet BinPointSetImporter::importPointSet(Poco::BinaryReader* reader, unsigned long long size,
                                                        const std::string& name) const {
    tin::core::PointSet set;
    BinPointBlockReader::read(*reader, size, name, AddToSet{set});
    return set;
}

} // namespace tin::io
