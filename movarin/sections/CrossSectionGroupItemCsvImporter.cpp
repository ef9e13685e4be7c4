#include "movarin/sections/CrossSectionGroupItemCsvImporter.h"

#include "movarin/sections/CrossSectionItem.h"

#include "orlin/core/PlanCoordinate.h"
#include "orlin/core/Point.h"

#include <guimisc/StringSupport.h>
#include <guimisc/UserDialogs.h>

#include <QFile>
#include <QMainWindow>
#include <QStringList>
#include <QTextStream>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

namespace varnel {

namespace {

constexpr int FIELD_COUNT = 5;

struct SectionLine {
    QString name;
    tin::core::Point start;
    tin::core::Point end;
};

/// The section of one line, or none when the line holds none.
std::optional<SectionLine> parseLine(const QString& line)
{
    const QStringList fields = guimisc::StringSupport::parseCSVLine(line);
    if (fields.size() < FIELD_COUNT) {
        return std::nullopt;
    }
    std::array<double, 4> coordinates{};
    for (int i = 0; i < 4; ++i) {
        bool isNumber = false;
        coordinates[i] = fields[i + 1].toDouble(&isNumber);
        if (!isNumber || !tin::core::PlanCoordinate::isUsable(coordinates[i])) {
            return std::nullopt;
        }
    }
    if (coordinates[0] == coordinates[2] && coordinates[1] == coordinates[3]) {
        return std::nullopt;
    }
    return SectionLine{fields[0], tin::core::Point(coordinates[0], coordinates[1]),
                       tin::core::Point(coordinates[2], coordinates[3])};
}

} // namespace

std::vector<CrossSectionItem*> CrossSectionGroupItem::CsvImporter::import(
    const QString& path, CrossSectionGroupItem* group)
{
    std::vector<CrossSectionItem*> sections;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return sections;
    }
    QTextStream stream(&file);
    int lineNumber = 0;
    while (!stream.atEnd()) {
        const QString line = stream.readLine();
        ++lineNumber;
        const std::optional<SectionLine> parsed = parseLine(line);
        if (!parsed) {
            guimisc::UserDialogs::warning(group->mainWindow(), tr("Warning"),
                                          tr("Parse failed at line %1").arg(lineNumber));
            break;
        }
        sections.push_back(group->buildCrossSection(parsed->name, parsed->start, parsed->end));
    }
    std::reverse(sections.begin(), sections.end());
    return sections;
}

} // namespace varnel
