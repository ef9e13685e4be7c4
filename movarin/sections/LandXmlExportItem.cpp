#include "movarin/sections/LandXmlExportItem.h"

#include "movarin/sections/CrossSectionGroupItem.h"
#include "movarin/sections/CrossSectionItem.h"
#include "movarin/sections/ExportNumberFormat.h"
#include "movarin/sections/GeoDataGroupItem.h"
#include "movarin/sections/GeoDataPolylineItem.h"
#include "movarin/sections/GeoDataTopForEditItem.h"
#include "movarin/sections/LandXmlExportDialog.h"
#include "movarin/shell/EditModeMainWindowModelRootItem.h"
#include "movarin/shell/Project.h"
#include "movarin/shell/ProjectFile.h"
#include "movarin/shell/ProjectProperty.h"
#include "movarin/survey/ReadOnlyTinItem.h"
#include "movarin/survey/TinItem.h"

#include "orlin/core/Edge.h"
#include "orlin/core/Point.h"
#include "orlin/core/PointFunctions.h"
#include "orlin/core/Polyline.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"

#include <common/exception/RuntimeException.h>
#include <common/io/SafeFileWriter.h>
#include <guimisc/OstreamDevice.h>
#include <guimisc/StringSupport.h>
#include <guimisc/UserDialogs.h>
#include <guimisc/restorer/CursorChanger.h>

#include <QDateTime>
#include <QDir>
#include <QLocale>
#include <QMainWindow>
#include <QXmlStreamWriter>

#include <cmath>
#include <map>
#include <memory>
#include <vector>

namespace varnel {

namespace {

using tin::core::Point2D;

const QString LANDXML_NAMESPACE = QStringLiteral("http://www.landxml.org/schema/LandXML-1.2");
const QString SCHEMA_LOCATION =
    QStringLiteral("http://www.landxml.org/schema/LandXML-1.2/LandXML-1.2.xsd");
const QString XSI_NAMESPACE = QStringLiteral("http://www.w3.org/2001/XMLSchema-instance");
const QString REFERENCE_GROUP = QStringLiteral("referenceinformation");
const QString ZERO = QStringLiteral("0");

// Nesting of the points and faces in the document: LandXML > Surfaces > Surface >
// Definition > Pnts and Faces > P and F.
constexpr int POINT_DEPTH = 5;
// Bytes gathered before they go to the device.
constexpr std::size_t CHUNK = 1 << 16;

/// "y x", both fixed.
QString yx(const Point2D& p)
{
    return ExportNumberFormat::fixed(p.y()) + QLatin1Char(' ') + ExportNumberFormat::fixed(p.x());
}

double planDistance(const Point2D& a, const Point2D& b)
{
    return std::hypot(b.x() - a.x(), b.y() - a.y());
}

/// Running sums of the plan distances between consecutive points, from 0.
std::vector<double> stations(const std::vector<Point2D>& points)
{
    std::vector<double> result;
    result.reserve(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        result.push_back(i == 0 ? 0.0 : result.back() + planDistance(points[i - 1], points[i]));
    }
    return result;
}

/// `Feature` holding one `Property`.
void writeProperty(QXmlStreamWriter* writer, const QString& label, const QString& value)
{
    writer->writeStartElement(QStringLiteral("Feature"));
    writer->writeStartElement(QStringLiteral("Property"));
    writer->writeAttribute(QStringLiteral("label"), label);
    writer->writeAttribute(QStringLiteral("value"), value);
    writer->writeEndElement();
    writer->writeEndElement();
}

/// `Alignments` > `Alignment` with its length from station 0; the caller closes both.
void startAlignment(QXmlStreamWriter* writer, const QString& code, const QString& name,
                    double length)
{
    writer->writeStartElement(QStringLiteral("Alignments"));
    writer->writeAttribute(QStringLiteral("name"), code);
    writer->writeStartElement(QStringLiteral("Alignment"));
    writer->writeAttribute(QStringLiteral("name"), name);
    writer->writeAttribute(QStringLiteral("length"), ExportNumberFormat::fixed(length));
    writer->writeAttribute(QStringLiteral("staStart"), ZERO);
}

/// `CoordGeom` with a `Line` from each point to the next; `names` (when given) name the
/// ends.
void writeLines(QXmlStreamWriter* writer, const std::vector<Point2D>& points,
                const std::vector<QString>& names)
{
    writer->writeStartElement(QStringLiteral("CoordGeom"));
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        writer->writeStartElement(QStringLiteral("Line"));
        for (const std::size_t k : {i, i + 1}) {
            writer->writeStartElement(k == i ? QStringLiteral("Start") : QStringLiteral("End"));
            if (!names.empty()) {
                writer->writeAttribute(QStringLiteral("name"), names[k]);
            }
            writer->writeCharacters(yx(points[k]));
            writer->writeEndElement();
        }
        writer->writeEndElement();
    }
    writer->writeEndElement();
}

/// `Profile` > `ProfAlign` `name` with a `PVI` "station z" per entry.
void writeProfile(QXmlStreamWriter* writer, const QString& name,
                  const std::vector<std::pair<double, double>>& pvis)
{
    writer->writeStartElement(QStringLiteral("Profile"));
    writer->writeAttribute(QStringLiteral("staStart"), ZERO);
    writer->writeStartElement(QStringLiteral("ProfAlign"));
    writer->writeAttribute(QStringLiteral("name"), name);
    for (const auto& [station, z] : pvis) {
        writer->writeTextElement(QStringLiteral("PVI"), ExportNumberFormat::fixed(station)
                                                            + QLatin1Char(' ')
                                                            + ExportNumberFormat::fixed(z));
    }
    writer->writeEndElement();
    writer->writeEndElement();
}

/// An edge along the segment has no single crossing (the line intersection would divide by
/// about zero); its ends come from the edges beside it.
bool isParallel(const tin::core::Edge& edge, const Point2D& from, const Point2D& to)
{
    const double ex = edge.point2()->x() - edge.point1()->x();
    const double ey = edge.point2()->y() - edge.point1()->y();
    const double sx = to.x() - from.x();
    const double sy = to.y() - from.y();
    return std::abs(ex * sy - ey * sx) <= 1e-12 * std::hypot(ex, ey) * std::hypot(sx, sy);
}

/// Bytes for the device, gathered in a reused buffer and written a chunk at a time.
class ChunkedOutput {
public:
    explicit ChunkedOutput(QIODevice* device) : m_device(device) { m_bytes.resize(2 * CHUNK); }
    ~ChunkedOutput() = default;

    /// Room for `size` more bytes (at most `CHUNK`).
    char* room(std::size_t size)
    {
        if (m_used + size > m_bytes.size()) {
            flush();
        }
        return m_bytes.data() + m_used;
    }
    void commit(const char* end) { m_used = static_cast<std::size_t>(end - m_bytes.data()); }
    void append(const QByteArray& bytes)
    {
        char* out = room(static_cast<std::size_t>(bytes.size()));
        std::copy(bytes.begin(), bytes.end(), out);
        commit(out + bytes.size());
    }
    void flush()
    {
        if (m_used > 0
            && m_device->write(m_bytes.data(), static_cast<qint64>(m_used))
                   != static_cast<qint64>(m_used)) {
            throw common::exception::RuntimeException("Could not write the surface");
        }
        m_used = 0;
    }

private:
    QIODevice* m_device;
    std::vector<char> m_bytes;
    std::size_t m_used = 0;
};

/// A line break and the indentation of `depth` as the writer formats, or nothing when it
/// does not.
QByteArray lineStart(const QXmlStreamWriter* writer, int depth)
{
    if (!writer->autoFormatting()) {
        return QByteArray();
    }
    const int indent = writer->autoFormattingIndent();
    const QByteArray unit = indent >= 0 ? QByteArray(indent, ' ') : QByteArray(-indent, '\t');
    return QByteArray(1, '\n') + unit.repeated(depth);
}

template <std::size_t N>
char* appendLiteral(char* out, const char (&text)[N])
{
    return std::copy(text, text + N - 1, out);
}

/// `Pnts`: every corner numbered from 1 in order of first use, the number kept as the
/// point's id. Clearing the ids first lets an id of 0 mean "not yet numbered", so no set of
/// points is needed.
void writePoints(QXmlStreamWriter* writer, const tin::core::Tin& tin)
{
    const auto& triangles = tin.allTriangles();
    for (const auto& triangle : triangles) {
        for (int i = 0; i < 3; ++i) {
            triangle->point(i)->setId(0);
        }
    }
    writer->writeStartElement(QStringLiteral("Pnts"));
    writer->writeCharacters(QString());
    const QByteArray indent = lineStart(writer, POINT_DEPTH);
    ChunkedOutput out(writer->device());
    int count = 0;
    for (const auto& triangle : triangles) {
        for (int i = 0; i < 3; ++i) {
            tin::core::Point& p = *triangle->point(i);
            if (p.id() != 0) {
                continue;
            }
            p.setId(++count);
            out.append(indent);
            char* c = out.room(3 * ExportNumberFormat::MAX_CHARS + 32);
            c = appendLiteral(c, "<P id=\"");
            c = ExportNumberFormat::appendInt(c, count);
            c = appendLiteral(c, "\">");
            c = ExportNumberFormat::appendFixed(c, p.y());
            *c++ = ' ';
            c = ExportNumberFormat::appendFixed(c, p.x());
            *c++ = ' ';
            c = ExportNumberFormat::appendFixed(c, p.elevation());
            c = appendLiteral(c, "</P>");
            out.commit(c);
        }
    }
    out.append(lineStart(writer, POINT_DEPTH - 1));
    out.flush();
    writer->writeEndElement();
}

/// `Faces`: one `F` per triangle with the numbers of its corners, in the order of `Pnts`.
void writeFaces(QXmlStreamWriter* writer, const tin::core::Tin& tin)
{
    writer->writeStartElement(QStringLiteral("Faces"));
    writer->writeCharacters(QString());
    const QByteArray indent = lineStart(writer, POINT_DEPTH);
    ChunkedOutput out(writer->device());
    for (const auto& triangle : tin.allTriangles()) {
        out.append(indent);
        char* c = out.room(3 * 12 + 16);
        c = appendLiteral(c, "<F>");
        for (int i = 0; i < 3; ++i) {
            if (i > 0) {
                *c++ = ' ';
            }
            c = ExportNumberFormat::appendInt(c, triangle->point(i)->id());
        }
        c = appendLiteral(c, "</F>");
        out.commit(c);
    }
    out.append(lineStart(writer, POINT_DEPTH - 1));
    out.flush();
    writer->writeEndElement();
}

} // namespace

LandXmlExportItem::LandXmlExportItem(mvc::core::ModelItem* parent) : mvc::core::ModelItem(parent)
{
}

LandXmlExportItem::~LandXmlExportItem() = default;

void LandXmlExportItem::exportLandXml()
{
    QWidget* parent = mainWindow();
    LandXmlExportDialog dialog(parent);
    const auto project = dynamic_cast<const Project*>(this->project());
    dialog.setProjectionPair(project ? project->projectFile()->property()->projectionPair()
                                     : nullptr);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    m_setting = dialog.setting();
    const QString refused = textWithControlCharacter();
    if (!refused.isNull()) {
        guimisc::UserDialogs::warning(parent, tr("Warning"),
                                      tr("%1 holds a control character.").arg(refused));
        return;
    }
    try {
        guimisc::restorer::CursorChanger busy(parent, QCursor(Qt::WaitCursor));
        writeFile();
    } catch (const std::exception& e) {
        qWarning("LandXML export: %s", e.what());
        guimisc::UserDialogs::critical(parent, tr("Error"), tr("LandXML export failed."));
        return;
    }
    guimisc::UserDialogs::information(parent, tr("Information"),
                                      tr("LandXML successfully exported to %1.")
                                          .arg(QDir::toNativeSeparators(m_setting.filename)));
}

const LandXmlExportSetting& LandXmlExportItem::setting() const
{
    return m_setting;
}

void LandXmlExportItem::setSetting(const LandXmlExportSetting& setting)
{
    m_setting = setting;
}

void LandXmlExportItem::writeFile()
{
    const std::string path = guimisc::StringSupport::toStr(m_setting.filename);
    if (!textWithControlCharacter().isNull()) {
        throw common::exception::RuntimeException("A text holds a control character: " + path);
    }
    common::io::SafeFileWriter::writeBinary(path, [&](std::ostream& out) {
        guimisc::OstreamDevice device(out);
        QXmlStreamWriter writer(&device);
        writer.setAutoFormatting(true);
        writer.writeStartDocument();
        writeLandXml(&writer);
        writer.writeEndDocument();
        if (writer.hasError()) {
            throw common::exception::RuntimeException("Could not write file: " + path);
        }
    });
}

void LandXmlExportItem::writeSurface(QXmlStreamWriter* writer, const QString& name,
                                     const QString& desc, const tin::core::Tin* tin)
{
    writer->writeStartElement(QStringLiteral("Surface"));
    writer->writeAttribute(QStringLiteral("name"), name);
    writer->writeAttribute(QStringLiteral("desc"), desc);
    // A definition needs at least three points and one face.
    if (tin && !tin->empty()) {
        writer->writeStartElement(QStringLiteral("Definition"));
        writer->writeAttribute(QStringLiteral("surfType"), QStringLiteral("TIN"));
        writePoints(writer, *tin);
        writeFaces(writer, *tin);
        writer->writeEndElement();
    }
    writer->writeEndElement();
}

void LandXmlExportItem::doLoadFromProjectMainFile(const QDomElement& element)
{
    m_setting.load(element);
}

void LandXmlExportItem::doSaveToProjectMainFile(QXmlStreamWriter* writer)
{
    m_setting.save(writer);
}

void LandXmlExportItem::writeLandXml(QXmlStreamWriter* writer)
{
    const QDateTime now = QDateTime::currentDateTime();
    writer->writeStartElement(QStringLiteral("LandXML"));
    writer->writeDefaultNamespace(LANDXML_NAMESPACE);
    writer->writeNamespace(XSI_NAMESPACE, QStringLiteral("xsi"));
    writer->writeAttribute(XSI_NAMESPACE, QStringLiteral("schemaLocation"),
                           LANDXML_NAMESPACE + QLatin1Char(' ') + SCHEMA_LOCATION);
    writer->writeAttribute(QStringLiteral("date"),
                           QLocale::c().toString(now, QStringLiteral("yyyy-MM-dd")));
    writer->writeAttribute(QStringLiteral("time"),
                           QLocale::c().toString(now, QStringLiteral("HH:mm:ss")));
    writer->writeAttribute(QStringLiteral("version"), QStringLiteral("1.2"));

    writeProject(writer);
    writeApplication(writer);
    writeCoordinateSystem(writer);
    writeUnits(writer);
    const std::vector<CrossSectionItem*> sections = crossSections();
    if (!sections.empty()) {
        writeLeftDistanceMarks(writer, sections);
        writeRightDistanceMarks(writer, sections);
    }
    EditModeMainWindowModelRootItem* root = rootItem();
    if (GeoDataGroupItem* reference =
            root ? root->geoDataTopItem()->groupItem(REFERENCE_GROUP) : nullptr) {
        if (GeoDataPolylineItem* left = reference->polylineByCaption(QStringLiteral("1"))) {
            writeBankAlignment(writer, QStringLiteral("lb"), QStringLiteral("left bank"),
                               *left->polyline());
        }
        if (GeoDataPolylineItem* right = reference->polylineByCaption(QStringLiteral("4"))) {
            writeBankAlignment(writer, QStringLiteral("rb"), QStringLiteral("right bank"),
                               *right->polyline());
        }
    }
    writeSurfaces(writer);
    writer->writeEndElement();
}

void LandXmlExportItem::writeProject(QXmlStreamWriter* writer) const
{
    writer->writeStartElement(QStringLiteral("Project"));
    writer->writeAttribute(QStringLiteral("name"), m_setting.projectName);
    writeProperty(writer, QStringLiteral("applicationCriterion"),
                  QStringLiteral("QephLandXmlVer.1.2"));
    writer->writeEndElement();
}

void LandXmlExportItem::writeApplication(QXmlStreamWriter* writer)
{
    writer->writeStartElement(QStringLiteral("Application"));
    writer->writeAttribute(QStringLiteral("name"), QStringLiteral("Movarin"));
    writer->writeEndElement();
}

void LandXmlExportItem::writeCoordinateSystem(QXmlStreamWriter* writer) const
{
    writer->writeStartElement(QStringLiteral("CoordinateSystem"));
    writer->writeAttribute(QStringLiteral("name"), QStringLiteral("CRS1"));
    writer->writeAttribute(QStringLiteral("horizontalDatum"), m_setting.horizontalDatum);
    writer->writeAttribute(QStringLiteral("verticalDatum"), m_setting.verticalDatum);
    writer->writeAttribute(QStringLiteral("horizontalCoordinateSystemName"),
                           m_setting.horizontalCoordinateSystemName);
    writeProperty(writer, QStringLiteral("differTP"), m_setting.differTp);
    writer->writeEndElement();
}

void LandXmlExportItem::writeUnits(QXmlStreamWriter* writer)
{
    writer->writeStartElement(QStringLiteral("Units"));
    writer->writeStartElement(QStringLiteral("Metric"));
    writer->writeAttribute(QStringLiteral("areaUnit"), QStringLiteral("squareMeter"));
    writer->writeAttribute(QStringLiteral("linearUnit"), QStringLiteral("meter"));
    writer->writeAttribute(QStringLiteral("volumeUnit"), QStringLiteral("cubicMeter"));
    // Required by the schema, though nothing here is a temperature or a pressure.
    writer->writeAttribute(QStringLiteral("temperatureUnit"), QStringLiteral("celsius"));
    writer->writeAttribute(QStringLiteral("pressureUnit"), QStringLiteral("milliBars"));
    writer->writeAttribute(QStringLiteral("directionUnit"), QStringLiteral("decimal degrees"));
    writer->writeEndElement();
    writer->writeEndElement();
}

void LandXmlExportItem::writeLeftDistanceMarks(QXmlStreamWriter* writer,
                                               const std::vector<CrossSectionItem*>& sections) const
{
    std::vector<Point2D> starts;
    std::vector<QString> names;
    for (const CrossSectionItem* section : sections) {
        starts.push_back(section->startPoint().point2d());
        names.push_back(section->name() + QStringLiteral(" L"));
    }
    const std::vector<double> station = stations(starts);
    startAlignment(writer, QStringLiteral("ldm"), QStringLiteral("left_distance_mark"),
                   station.back());
    writeLines(writer, starts, names);

    // A start off the edited TIN has no elevation to give: no PVI.
    const tin::core::Tin* tin = editedTin();
    std::vector<std::pair<double, double>> pvis;
    for (std::size_t i = 0; i < starts.size(); ++i) {
        double z = 0.0;
        if (tin && tin->interpolatedElevation(starts[i], &z)) {
            pvis.emplace_back(station[i], z);
        }
    }
    writeProfile(writer, QStringLiteral("left_distance_mark_profile"), pvis);

    writer->writeStartElement(QStringLiteral("CrossSects"));
    for (std::size_t i = 0; i < sections.size(); ++i) {
        const QString name = sections[i]->name();
        writeCrossSect(writer, name + QStringLiteral(" original"), station[i],
                       QStringLiteral("original"), sections[i]->baseLhTable(true));
        writeCrossSect(writer, name + QStringLiteral(" designed"), station[i],
                       QStringLiteral("designed"), sections[i]->currentLhTable(true));
    }
    writer->writeEndElement();

    writer->writeEndElement();
    writer->writeEndElement();
}

void LandXmlExportItem::writeRightDistanceMarks(QXmlStreamWriter* writer,
                                                const std::vector<CrossSectionItem*>& sections)
{
    std::vector<Point2D> ends;
    std::vector<QString> names;
    for (const CrossSectionItem* section : sections) {
        ends.push_back(section->endPoint().point2d());
        names.push_back(section->name() + QStringLiteral(" R"));
    }
    startAlignment(writer, QStringLiteral("rdm"), QStringLiteral("right_distance_mark"),
                   stations(ends).back());
    writeLines(writer, ends, names);
    writer->writeEndElement();
    writer->writeEndElement();
}

void LandXmlExportItem::writeBankAlignment(QXmlStreamWriter* writer, const QString& code,
                                           const QString& name,
                                           const tin::core::Polyline& polyline) const
{
    const std::vector<Point2D>& vertices = polyline.points();
    const std::vector<double> station = stations(vertices);
    startAlignment(writer, code, name, station.back());
    writeLines(writer, vertices, {});

    // Stations at the vertices and where the bank crosses an edge of the edited TIN; a
    // station met twice (a crossing at a vertex) keeps its first point.
    const tin::core::Tin* tin = editedTin();
    std::map<double, Point2D> marks;
    for (std::size_t k = 0; k + 1 < vertices.size(); ++k) {
        const Point2D& from = vertices[k];
        const Point2D& to = vertices[k + 1];
        marks.emplace(station[k], from);
        if (!tin || tin->empty() || planDistance(from, to) == 0.0) {
            continue;
        }
        const tin::core::Polyline segment({from, to});
        for (const std::shared_ptr<tin::core::Edge>& edge :
             tin->findEdgesIntersectPolyline(segment)) {
            if (isParallel(*edge, from, to)) {
                continue;
            }
            const Point2D crossing =
                tin::core::intersection(*edge->point1(), *edge->point2(), from, to).point2d();
            marks.emplace(station[k] + planDistance(from, crossing), crossing);
        }
    }
    marks.emplace(station.back(), vertices.back());

    std::vector<std::pair<double, double>> pvis;
    for (const auto& [at, point] : marks) {
        double z = 0.0;
        if (tin && tin->interpolatedElevation(point, &z)) {
            pvis.emplace_back(at, z);
        }
    }
    writeProfile(writer, name + QStringLiteral("_profile"), pvis);
    writer->writeEndElement();
    writer->writeEndElement();
}

void LandXmlExportItem::writeSurfaces(QXmlStreamWriter* writer) const
{
    EditModeMainWindowModelRootItem* root = rootItem();
    writer->writeStartElement(QStringLiteral("Surfaces"));
    writeSurface(writer, QStringLiteral("original"), QStringLiteral("Original"),
                 root ? root->baseTinItem()->tin() : nullptr);
    writeSurface(writer, QStringLiteral("designed"), QStringLiteral("Designed"), editedTin());
    writer->writeEndElement();
}

void LandXmlExportItem::writeCrossSect(QXmlStreamWriter* writer, const QString& name,
                                       double station, const QString& surfaceName,
                                       const std::vector<CrossSectionLhTableRow>& rows)
{
    writer->writeStartElement(QStringLiteral("CrossSect"));
    writer->writeAttribute(QStringLiteral("name"), name);
    writer->writeAttribute(QStringLiteral("sta"), ExportNumberFormat::fixed(station));
    // A point list needs at least one point: an empty profile has no surface.
    if (!rows.empty()) {
        writer->writeStartElement(QStringLiteral("CrossSectSurf"));
        writer->writeAttribute(QStringLiteral("name"), surfaceName);
        writePntList2D(writer, rows);
        writer->writeEndElement();
    }
    writer->writeEndElement();
}

void LandXmlExportItem::writePntList2D(QXmlStreamWriter* writer,
                                       const std::vector<CrossSectionLhTableRow>& rows)
{
    QString text;
    for (const CrossSectionLhTableRow& row : rows) {
        if (!text.isEmpty()) {
            text += QLatin1Char(' ');
        }
        text += ExportNumberFormat::general(row.L) + QLatin1Char(' ')
            + ExportNumberFormat::general(row.H);
    }
    writer->writeTextElement(QStringLiteral("PntList2D"), text);
}

QString LandXmlExportItem::textWithControlCharacter() const
{
    QStringList texts{m_setting.projectName, m_setting.horizontalDatum, m_setting.verticalDatum,
                      m_setting.horizontalCoordinateSystemName, m_setting.differTp};
    for (const CrossSectionItem* section : crossSections()) {
        texts << section->name();
    }
    for (const QString& text : texts) {
        if (guimisc::StringSupport::hasControlCharacter(text)) {
            return text;
        }
    }
    return QString();
}

EditModeMainWindowModelRootItem* LandXmlExportItem::rootItem() const
{
    return qobject_cast<EditModeMainWindowModelRootItem*>(parentItem());
}

std::vector<CrossSectionItem*> LandXmlExportItem::crossSections() const
{
    std::vector<CrossSectionItem*> sections;
    if (EditModeMainWindowModelRootItem* root = rootItem()) {
        for (mvc::core::ModelItem* child : root->crossSectionGroupItem()->childItems()) {
            if (auto section = qobject_cast<CrossSectionItem*>(child)) {
                sections.push_back(section);
            }
        }
    }
    return sections;
}

const tin::core::Tin* LandXmlExportItem::editedTin() const
{
    EditModeMainWindowModelRootItem* root = rootItem();
    return root ? root->tinItem()->tin() : nullptr;
}

} // namespace varnel
