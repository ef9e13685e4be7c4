#pragma once

#include "movarin/sections/CrossSectionGroupItem.h"

#include <QString>

#include <vector>

namespace varnel {

/// Reads cross sections from comma-separated text: one section per line, no header line,
/// the fields (split by `guimisc::StringSupport::parseCSVLine`) name, startX, startY, endX,
/// endY; further fields are ignored. The file is read as text in the locale's encoding.
///
/// A line with fewer than five fields, a coordinate that is not a finite number ("nan" and
/// "inf" are not) or lies beyond `tin::core::PlanCoordinate::MAX_MAGNITUDE`, or a start
/// equal to its end stops the reading with the warning "Parse
/// failed at line <n>" (lines counted from 1); the sections of the lines before it are
/// kept. A file that cannot be opened gives no sections and no message.
class CrossSectionGroupItem::CsvImporter {
public:
    CsvImporter() = delete;

    /// The sections, built by `group->buildCrossSection` (detached, owned by the caller
    /// until attached), the file's last line first.
    static std::vector<CrossSectionItem*> import(const QString& path, CrossSectionGroupItem* group);
};

} // namespace varnel
