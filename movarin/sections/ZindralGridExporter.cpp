#include "movarin/sections/ZindralGridExporter.h"

#include "movarin/sections/CrossSectionGroupItem.h"
#include "movarin/sections/CrossSectionItem.h"
#include "movarin/sections/ExportNumberFormat.h"
#include "movarin/sections/GeoDataGroupItem.h"
#include "movarin/sections/GeoDataPolygonItem.h"
#include "movarin/sections/GeoDataPolylineItem.h"
#include "movarin/sections/GeoDataTopForEditItem.h"
#include "movarin/sections/ZindralExportSetting.h"
#include "movarin/shell/EditModeMainWindowModel.h"
#include "movarin/shell/EditModeMainWindowModelRootItem.h"

#include "orlin/core/Point2D.h"
#include "orlin/core/Polyline.h"

#include <common/exception/RuntimeException.h>
#include <common/io/SafeFileWriter.h>
#include <guimisc/StringSupport.h>
#include <guimisc/UserDialogs.h>

#include <geos/geom/Coordinate.h>
#include <geos/geom/Geometry.h>
#include <geos/geom/LineString.h>
#include <geos/geom/prep/PreparedGeometry.h>
#include <geos/geom/prep/PreparedGeometryFactory.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMainWindow>
#include <QTextCodec>

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <utility>

namespace varnel {

namespace {

using tin::core::Point2D;

const QString REFERENCE_GROUP = QStringLiteral("referenceinformation");
const char* const REFERENCE_KEYS[] = {"1", "2", "3", "4", "c"};
const char* const REFERENCE_NAMES[] = {"1", "2", "3", "4", "C"};
constexpr int CENTRE = 4;
constexpr int PANELS = 4;

const QString START = QStringLiteral("[start]\n");
const QString END = QStringLiteral("[end]\n");
const QString COMMA = QStringLiteral(",");
const QString NEWLINE = QStringLiteral("\n");

/// The value groups in the order they are laid on the rows, with the field each fills.
const std::pair<const char*, QVariant GridSectionRow::*> VALUE_GROUPS[] = {
    {"roughness", &GridSectionRow::roughness},
    {"deadarea", &GridSectionRow::deadArea},
    {"vegetationheight", &GridSectionRow::vegetationHeight},
    {"vegetationdensity", &GridSectionRow::vegetationDensity},
};

QTextCodec* shiftJis()
{
    QTextCodec* codec = QTextCodec::codecForName("SJIS");
    if (!codec) {
        throw common::exception::RuntimeException("No Shift-JIS codec");
    }
    return codec;
}

/// The text's Shift-JIS bytes, when every character has them (the codec writes "?" for one
/// that has none).
std::optional<QByteArray> encoded(const QString& text)
{
    QTextCodec* codec = shiftJis();
    QTextCodec::ConverterState state(QTextCodec::IgnoreHeader);
    const QByteArray bytes = codec->fromUnicode(text.constData(), text.size(), &state);
    if (state.invalidChars > 0 || codec->toUnicode(bytes) != text) {
        return std::nullopt;
    }
    return bytes;
}

QString header(const QString& resource)
{
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly)) {
        throw common::exception::RuntimeException("Missing resource: " + resource.toStdString());
    }
    return shiftJis()->toUnicode(file.readAll());
}

/// A section that runs somewhere: two distinct, finite ends.
bool isProper(const CrossSectionItem& section)
{
    const bool finite = std::isfinite(section.startX()) && std::isfinite(section.startY())
                        && std::isfinite(section.endX()) && std::isfinite(section.endY());
    return finite && (section.startX() != section.endX() || section.startY() != section.endY());
}

std::unique_ptr<geos::geom::Geometry> intersectionOf(const tin::core::Polyline& a,
                                                     const tin::core::Polyline& b)
{
    return a.geosLineString()->intersection(b.geosLineString());
}

/// Whether two lines meet, asked through a prepared geometry, which tests their segments
/// themselves. Geometry::intersects goes through GEOS's relate graph, which on lines of
/// coordinates of denormal size answers no and leaks the edge-end bundles it built.
bool meet(const tin::core::Polyline& a, const tin::core::Polyline& b)
{
    return geos::geom::prep::PreparedGeometryFactory::prepare(a.geosLineString())
        ->intersects(b.geosLineString());
}

/// The first coordinate of the intersection of the unextended section with the line.
std::optional<Point2D> crossingOf(const CrossSectionItem& section, const GeoDataPolylineItem& line)
{
    const std::unique_ptr<geos::geom::Geometry> crossing =
        intersectionOf(section.polyline(false), *line.polyline());
    const geos::geom::Coordinate* c = crossing->getCoordinate();
    if (!c) {
        return std::nullopt;
    }
    return Point2D(c->x, c->y);
}

QString fixed(double value)
{
    return ExportNumberFormat::fixed(value);
}

/// River name, survey date and the name: the head of every data line of a section.
QString lineHead(const ZindralExportSetting& setting, const CrossSectionItem& section)
{
    return setting.riverName.value() + COMMA + setting.surveyDate.value() + COMMA + section.name();
}

QString rowLine(const GridSectionRow& row)
{
    const double height = row.vegetationHeight.toDouble();
    return fixed(row.L) + COMMA + fixed(row.z) + COMMA
           + (row.panel != 0 ? QString::number(row.panel) : QString()) + COMMA
           + fixed(row.roughness.toDouble()) + COMMA
           + (row.deadArea.toBool() ? QStringLiteral("1") : QString()) + COMMA
           + (height != 0.0 ? fixed(height) : QString()) + COMMA + COMMA
           + (row.vegetationDensity.toInt() != 0 ? QStringLiteral("1") : QString()) + COMMA
           + NEWLINE;
}

} // namespace

bool ZindralGridExporter::exportGrid(const ZindralExportSetting& setting,
                                     EditModeMainWindowModel* model)
{
    QWidget* parent = model->mainWindow();
    EditModeMainWindowModelRootItem* root = model->rootItem();
    const QString folder = setting.folderName;
    if (!checkFolder(parent, folder)) {
        return false;
    }

    std::vector<CrossSectionItem*> sections;
    for (mvc::core::ModelItem* child : root->crossSectionGroupItem()->childItems()) {
        if (auto section = qobject_cast<CrossSectionItem*>(child)) {
            sections.push_back(section);
        }
    }
    ReferencePolylines polylines{};
    if (GeoDataGroupItem* reference = root->geoDataTopItem()->groupItem(REFERENCE_GROUP)) {
        for (std::size_t k = 0; k < polylines.size(); ++k) {
            polylines[k] = reference->polylineByCaption(QLatin1String(REFERENCE_KEYS[k]));
        }
    }

    const char* const files[] = {"ZND_kilometer-post.csv", "ZND_longitudinal_section.csv",
                                 "ZND_cross_section.csv"};
    std::vector<QByteArray> contents;
    try {
        if (!checkReferencePolylines(parent, polylines, sections)) {
            return false;
        }
        QStringList texts{setting.riverName, setting.surveyDate};
        for (const CrossSectionItem* section : sections) {
            texts << section->name();
        }
        if (!checkTexts(parent, texts)) {
            return false;
        }
        QString kilometerPost;
        QString longitudinal;
        QString crossSection;
        writeKilometerPostFile(&kilometerPost, setting, sections);
        writeLongitudinalSectionFile(&longitudinal, setting, sections, polylines[CENTRE]);
        writeCrossSectionFile(&crossSection, setting, sections, polylines);
        for (const QString* text : {&kilometerPost, &longitudinal, &crossSection}) {
            const std::optional<QByteArray> bytes = encoded(*text);
            if (!bytes) {
                throw common::exception::RuntimeException("Shift-JIS cannot encode a header");
            }
            contents.push_back(*bytes);
        }
    } catch (const std::exception& e) {
        // The geometry library refused a shape, or a value is no number to write.
        guimisc::UserDialogs::warning(parent, tr("Warning"), QString::fromLocal8Bit(e.what()));
        return false;
    }

    // The model reads the three together: they are replaced as one or not at all.
    std::vector<common::io::SafeFileWriter::Member> members;
    QStringList paths;
    for (std::size_t i = 0; i < contents.size(); ++i) {
        paths << QDir(folder).filePath(QLatin1String(files[i]));
        const QByteArray& bytes = contents[i];
        const auto write = [&bytes](std::ostream& out) {
            out.write(bytes.constData(), bytes.size());
        };
        members.push_back({guimisc::StringSupport::toStr(paths.back()), write});
    }
    try {
        common::io::SafeFileWriter::writeBinarySet(members);
    } catch (const std::exception& e) {
        // The failure names the file it met, at the end of its message.
        const QString message = QString::fromLocal8Bit(e.what());
        QString failed = folder;
        for (const QString& path : paths) {
            if (message.endsWith(path)) {
                failed = path;
            }
        }
        guimisc::UserDialogs::critical(
            parent, tr("Error"), tr("Cannot write %1.").arg(QDir::toNativeSeparators(failed)));
        return false;
    }
    return true;
}

bool ZindralGridExporter::checkFolder(QWidget* parent, const QString& folder)
{
    if (folder.trimmed().isEmpty()) {
        guimisc::UserDialogs::warning(parent, tr("Warning"), tr("Output folder is not specified."));
        return false;
    }
    if (!QFileInfo(folder).isDir()) {
        guimisc::UserDialogs::warning(
            parent, tr("Warning"),
            tr("The folder %1 does not exist.").arg(QDir::toNativeSeparators(folder)));
        return false;
    }
    return true;
}

bool ZindralGridExporter::checkReferencePolylines(QWidget* parent,
                                                  const ReferencePolylines& polylines,
                                                  const std::vector<CrossSectionItem*>& sections)
{
    QStringList missing;
    for (std::size_t k = 0; k < polylines.size(); ++k) {
        if (!polylines[k]) {
            missing << QLatin1String(REFERENCE_NAMES[k]);
        }
    }
    if (!missing.isEmpty()) {
        guimisc::UserDialogs::warning(
            parent, tr("Warning"),
            tr("Polylines %1 does not exists.").arg(missing.join(QStringLiteral(", "))));
        return false;
    }

    for (std::size_t a = 0; a < polylines.size(); ++a) {
        for (std::size_t b = a + 1; b < polylines.size(); ++b) {
            if (meet(*polylines[a]->polyline(), *polylines[b]->polyline())) {
                guimisc::UserDialogs::warning(
                    parent, tr("Warning"),
                    tr("The five polylines should not have cross sections."));
                return false;
            }
        }
    }

    // One crossing point, or one shared stretch, per section and line. A section of no
    // length crosses nothing: it is named with every line.
    QStringList pairs;
    for (const CrossSectionItem* section : sections) {
        if (!isProper(*section)) {
            for (const GeoDataPolylineItem* line : polylines) {
                pairs << QStringLiteral("%1, %2").arg(section->caption(), line->caption());
            }
            continue;
        }
        const tin::core::Polyline segment = section->polyline(false);
        for (const GeoDataPolylineItem* line : polylines) {
            const std::unique_ptr<geos::geom::Geometry> crossing =
                intersectionOf(segment, *line->polyline());
            if (crossing->isEmpty() || crossing->getNumGeometries() >= 2) {
                pairs << QStringLiteral("%1, %2").arg(section->caption(), line->caption());
            }
        }
    }
    if (!pairs.isEmpty()) {
        guimisc::UserDialogs::warning(
            parent, tr("Warning"),
            tr("The following pairs of polylines and cross sections does not intersects: \n%1")
                .arg(pairs.join(NEWLINE)));
        return false;
    }
    return true;
}

bool ZindralGridExporter::checkTexts(QWidget* parent, const QStringList& texts)
{
    for (const QString& text : texts) {
        if (text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('\r'))
            || text.contains(QLatin1Char('\n'))) {
            guimisc::UserDialogs::warning(
                parent, tr("Warning"),
                tr("The text \"%1\" contains a comma or a line break.").arg(text));
            return false;
        }
        if (guimisc::StringSupport::hasControlCharacter(text)) {
            guimisc::UserDialogs::warning(parent, tr("Warning"),
                                          tr("%1 holds a control character.").arg(text));
            return false;
        }
        if (!encoded(text)) {
            guimisc::UserDialogs::warning(
                parent, tr("Warning"),
                tr("The text \"%1\" contains characters that Shift-JIS cannot encode.").arg(text));
            return false;
        }
    }
    return true;
}

void ZindralGridExporter::writeKilometerPostFile(QString* text, const ZindralExportSetting& setting,
                                                 const std::vector<CrossSectionItem*>& sections)
{
    const int system = setting.coordinateSystem;
    *text = header(QStringLiteral(":/data/znd/ZND_kilometer-post_header1.txt"));
    // Latitude and longitude (systems 1 and 2) have no zone.
    *text += QString::number(system) + COMMA
             + (system != 1 && system != 2 ? QString::number(setting.systemNumber) : QString())
             + NEWLINE;
    *text += header(QStringLiteral(":/data/znd/ZND_kilometer-post_header2.txt"));
    *text += START;
    for (const CrossSectionItem* section : sections) {
        *text += lineHead(setting, *section) + COMMA + fixed(section->startY()) + COMMA
                 + fixed(section->startX()) + COMMA + fixed(section->endY()) + COMMA
                 + fixed(section->endX()) + NEWLINE;
    }
    *text += END;
}

void ZindralGridExporter::writeLongitudinalSectionFile(
    QString* text, const ZindralExportSetting& setting,
    const std::vector<CrossSectionItem*>& sections, const GeoDataPolylineItem* centre)
{
    *text = header(QStringLiteral(":/data/znd/ZND_longitudinal_section_header.txt"));
    *text += START;
    std::optional<Point2D> previous;
    double cumulative = 0.0;
    for (const CrossSectionItem* section : sections) {
        const std::optional<Point2D> at = crossingOf(*section, *centre);
        if (!at) {
            throw common::exception::RuntimeException("A cross section misses the line C");
        }
        const double interval =
            previous ? std::hypot(at->x() - previous->x(), at->y() - previous->y()) : 0.0;
        cumulative += interval;
        *text += lineHead(setting, *section) + COMMA + fixed(cumulative) + COMMA + fixed(interval);
        if (!previous) {
            // Columns 6 to 47 empty, the model's coefficients in 48 to 58, 59 to 67 empty.
            *text += QString(42, QLatin1Char(','))
                     + QStringLiteral(",0.05,0.04,0.07,0.04,0.03,0.03,0.10,0.17,30,0,0")
                     + QString(9, QLatin1Char(','));
        }
        *text += NEWLINE;
        previous = at;
    }
    *text += END;
}

void ZindralGridExporter::writeCrossSectionFile(QString* text, const ZindralExportSetting& setting,
                                                const std::vector<CrossSectionItem*>& sections,
                                                const ReferencePolylines& polylines)
{
    *text = header(QStringLiteral(":/data/znd/ZND_cross_section_header.txt"));
    for (const CrossSectionItem* section : sections) {
        *text += START + lineHead(setting, *section) + NEWLINE;
        for (const GridSectionRow& row : buildSectionRows(*section, polylines)) {
            *text += rowLine(row);
        }
        *text += END;
    }
}

ZindralGridExporter::Rows ZindralGridExporter::buildSectionRows(const CrossSectionItem& section,
                                                                const ReferencePolylines& polylines)
{
    Rows rows;
    for (const CrossSectionLhTableRow& point : section.currentLhTable(false)) {
        GridSectionRow row;
        row.L = point.L;
        row.z = point.H;
        rows.push_back(row);
    }
    if (rows.empty()) {
        return rows;
    }
    const double first = rows.front().L;
    const double last = rows.back().L;

    // Panels: where lines 1 to 4 cross; a later line wins at the same L.
    for (int k = 0; k < PANELS; ++k) {
        if (const std::optional<Point2D> at = crossingOf(section, *polylines[k])) {
            rows[rowAt(&rows, std::clamp(section.signedL(*at), first, last))].panel = k + 1;
        }
    }

    // Values: the polygons come last of the group first, so the topmost is laid last and wins.
    for (const auto& [group, field] : VALUE_GROUPS) {
        for (const auto& [polygon, intervals] : section.polygonLIntervals(QLatin1String(group))) {
            for (auto [a, b] : intervals) {
                a = std::max(a, 0.0);
                if (a > b || b < first || a > last) {
                    continue;
                }
                const std::size_t from = rowAt(&rows, std::clamp(a, first, last));
                const std::size_t to = rowAt(&rows, std::clamp(b, first, last));
                for (std::size_t i = from + 1; i <= to; ++i) {
                    rows[i].*field = polygon->value();
                }
            }
        }
    }
    return rows;
}

std::size_t ZindralGridExporter::rowAt(Rows* rows, double x)
{
    for (std::size_t i = 0; i < rows->size(); ++i) {
        const GridSectionRow& here = (*rows)[i];
        if (here.L == x) {
            return i;
        }
        if (here.L > x) {
            if (i == 0) {
                return 0; // before the first row: the callers clamp, so never
            }
            const GridSectionRow& before = (*rows)[i - 1];
            GridSectionRow row = before;
            row.L = x;
            row.z = before.z + (here.z - before.z) * (x - before.L) / (here.L - before.L);
            // The new row ends a piece of the stretch that `here` ended: its values.
            row.roughness = here.roughness;
            row.deadArea = here.deadArea;
            row.vegetationHeight = here.vegetationHeight;
            row.vegetationDensity = here.vegetationDensity;
            rows->insert(rows->begin() + static_cast<std::ptrdiff_t>(i), row);
            return i;
        }
    }
    return rows->size() - 1; // beyond the last row: the callers clamp, so never
}

} // namespace varnel
