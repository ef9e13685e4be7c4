#pragma once

namespace tin::io {

/// Common base of the writers of blocks of shared points (binary point block, point
/// text). The writers themselves are member templates over any range of
/// std::shared_ptr<tin::core::Point>, so that every container of shared points is
/// written by the same code; this base only names the family.
class PointContainerExporter {
public:
    virtual ~PointContainerExporter() = 0;

protected:
    PointContainerExporter() = default;
    PointContainerExporter(const PointContainerExporter&) = default;
    PointContainerExporter& operator=(const PointContainerExporter&) = default;
};

inline PointContainerExporter::~PointContainerExporter() = default;

} // namespace tin::io
