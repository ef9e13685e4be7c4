#include "orlin/io/BinPointSetImporter.h"

#include "orlin/core/Point.h"
#include "orlin/io/BinPointPtrVectorImporter.h"

namespace tin::io {

namespace {

using PointPtr = std::shared_ptr<tin::core::Point>;

// The set of the records' points, each with the index of its last record as id.
tin::core::PointSet setOf(const std::vector<PointPtr>& records) {
    tin::core::PointSet::PointList points;
    points.reserve(records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        records[i]->setId(static_cast<int>(i));
        points.push_back(records[i]);
    }
    tin::core::PointSet set;
    set.addPoints(std::move(points));
    return set;
}

} // namespace

tin::core::PointSet BinPointSetImporter::importPointSet(const char* path) const {
    return importPointSet(path, nullptr);
}

tin::core::PointSet BinPointSetImporter::importPointSet(const char* path, std::vector<PointPtr>* records) const {
    std::vector<PointPtr> read = BinPointPtrVectorImporter().importPointPtrVector(path);
    tin::core::PointSet set = setOf(read);
    if (records) {
        *records = std::move(read);
    }
    return set;
}

tin::core::PointSet BinPointSetImporter::importPointSet(Poco::BinaryReader* reader, unsigned long long size,
                                                        const std::string& name) const {
    return setOf(BinPointPtrVectorImporter().importPointPtrVector(reader, size, name));
}

} // namespace tin::io
