#include "GmlGridReader.h"

#include "common/exception/FileOpenException.h"
#include "common/exception/InvalidFileFormatException.h"

#include <QFile>
#include <QString>
#include <QStringList>
#include <QStringRef>
#include <QXmlStreamReader>

#include <climits>
#include <cmath>
#include <limits>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace tingml::io {

namespace {

using common::exception::InvalidFileFormatException;

constexpr double NO_DATA_ELEVATION = -9999.0;
constexpr double NO_POINT = std::numeric_limits<double>::quiet_NaN();

bool isGmlNamespace(const QStringRef& uri)
{
    // GML 3.2 in the published files; older GML namespaces share the prefix.
    return uri.startsWith(QLatin1String("http://www.opengis.net/gml"));
}

std::string quoted(const QStringRef& text)
{
    return "\"" + text.toString().toStdString() + "\"";
}

// One pass over a file; see the header for what is taken and refused.
class GridScan {
public:
    GridScan(QIODevice& device, const std::string& name) : m_xml(&device), m_name(name) {}

    std::optional<GmlGridCoverage> run()
    {
        scanDocument();
        if (!m_hasGrid && !m_hasTuples && !m_hasRule && !m_hasStart) {
            return std::nullopt;
        }
        requireEveryElement();
        placeStartPoint();
        checkTupleCount();
        return std::move(m_grid);
    }

private:
    [[noreturn]] void fail(const std::string& message) const
    {
        throw InvalidFileFormatException(message, m_name, static_cast<int>(m_xml.lineNumber()));
    }

    [[noreturn]] void failInFile(const std::string& message) const
    {
        throw InvalidFileFormatException(message, m_name);
    }

    bool atGml(const char* localName) const
    {
        return m_xml.name() == QLatin1String(localName) && isGmlNamespace(m_xml.namespaceUri());
    }

    void scanDocument()
    {
        while (!m_xml.atEnd()) {
            switch (m_xml.readNext()) {
            case QXmlStreamReader::DTD:
                fail("document type declarations are not read");
            case QXmlStreamReader::StartElement:
                readElement();
                break;
            default:
                break;
            }
        }
        failIfBroken();
    }

    void failIfBroken() const
    {
        if (m_xml.hasError()) {
            fail("malformed XML (" + m_xml.errorString().toStdString() + ")");
        }
    }

    void readElement()
    {
        if (!isGmlNamespace(m_xml.namespaceUri())) {
            return;
        }
        if (atGml("Envelope")) {
            readEnvelope();
        } else if (atGml("GridEnvelope")) {
            readGridEnvelope();
        } else if (atGml("tupleList")) {
            readTupleList();
        } else if (atGml("sequenceRule")) {
            readSequenceRule();
        } else if (atGml("startPoint")) {
            readStartPoint();
        }
    }

    // The element's text as exactly `count` numbers separated by white space.
    std::vector<double> readNumbers(const char* element, int count)
    {
        const QString text = m_xml.readElementText();
        failIfBroken();
        const QStringList parts = text.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        std::vector<double> values;
        for (const QString& part : parts) {
            bool ok = false;
            const double value = part.toDouble(&ok);
            if (!ok || !std::isfinite(value)) {
                fail("invalid number \"" + part.toStdString() + "\" in gml:" + element);
            }
            values.push_back(value);
        }
        if (static_cast<int>(values.size()) != count) {
            fail("gml:" + std::string(element) + " holds " + std::to_string(values.size())
                 + " numbers instead of " + std::to_string(count));
        }
        return values;
    }

    // "column row" as two integers.
    std::pair<long long, long long> readCell(const char* element)
    {
        const std::vector<double> values = readNumbers(element, 2);
        for (const double value : values) {
            if (value != std::floor(value) || std::fabs(value) > INT_MAX) {
                fail("gml:" + std::string(element) + " is not a pair of whole numbers");
            }
        }
        return {static_cast<long long>(values[0]), static_cast<long long>(values[1])};
    }

    // Reads the current element's gml children `first` and `second` with take(0) and take(1),
    // skipping any other; false when the XML broke off (the scan reports that).
    template <typename Take>
    bool readBothChildren(const char* element, const char* first, const char* second, Take take)
    {
        bool seen[2] = {false, false};
        while (m_xml.readNextStartElement()) {
            const int which = atGml(first) ? 0 : atGml(second) ? 1 : -1;
            if (which < 0) {
                m_xml.skipCurrentElement();
                continue;
            }
            take(which);
            seen[which] = true;
        }
        if (m_xml.hasError()) {
            return false;
        }
        if (!seen[0] || !seen[1]) {
            fail(std::string("missing element gml:") + (seen[0] ? second : first) + " in gml:" + element);
        }
        return true;
    }

    void readEnvelope()
    {
        if (m_hasGrid) {
            // An envelope after the grid is not the grid's.
            m_xml.skipCurrentElement();
            return;
        }
        const bool read = readBothChildren("Envelope", "lowerCorner", "upperCorner", [this](int upper) {
            const std::vector<double> corner = readNumbers(upper ? "upperCorner" : "lowerCorner", 2);
            (upper ? m_grid.north : m_grid.south) = corner[0];
            (upper ? m_grid.east : m_grid.west) = corner[1];
        });
        if (!read) {
            return;
        }
        const bool inRange = m_grid.south >= -90 && m_grid.north <= 90 && m_grid.west >= -180
            && m_grid.east <= 180;
        if (!inRange || !(m_grid.south < m_grid.north) || !(m_grid.west < m_grid.east)) {
            fail("gml:Envelope is not a box of latitudes and longitudes from the lower to the upper corner");
        }
        m_hasEnvelope = true;
    }

    void readGridEnvelope()
    {
        if (m_hasGrid) {
            fail("a second elevation grid (only one is read per file)");
        }
        const bool read = readBothChildren("GridEnvelope", "low", "high", [this](int high) {
            const std::pair<long long, long long> cell = readCell(high ? "high" : "low");
            (high ? m_grid.highColumn : m_grid.lowColumn) = cell.first;
            (high ? m_grid.highRow : m_grid.lowRow) = cell.second;
        });
        if (!read) {
            return;
        }
        if (m_grid.highColumn < m_grid.lowColumn || m_grid.highRow < m_grid.lowRow) {
            fail("gml:GridEnvelope's high lies below its low");
        }
        // Keeps the cell count of any accepted grid within 64 bits.
        if (m_grid.columns() > INT_MAX || m_grid.rows() > INT_MAX) {
            fail("gml:GridEnvelope spans more than " + std::to_string(INT_MAX) + " columns or rows");
        }
        m_hasGrid = true;
    }

    void readSequenceRule()
    {
        const QStringRef order = m_xml.attributes().value(QLatin1String("order"));
        if (order != QLatin1String("+x-y")) {
            fail("sequence order " + quoted(order) + " is not read (only \"+x-y\": columns west to east, rows north to south)");
        }
        const QString rule = m_xml.readElementText().trimmed();
        failIfBroken();
        if (rule != QLatin1String("Linear")) {
            fail("sequence rule \"" + rule.toStdString() + "\" is not read (only \"Linear\")");
        }
        m_hasRule = true;
    }

    void readStartPoint()
    {
        std::tie(m_grid.startColumn, m_grid.startRow) = readCell("startPoint");
        m_hasStart = true;
    }

    void readTupleList()
    {
        if (m_hasTuples) {
            fail("a second gml:tupleList");
        }
        m_hasTuples = true;
        m_line = m_xml.lineNumber();
        while (!m_xml.atEnd()) {
            const QXmlStreamReader::TokenType token = m_xml.readNext();
            if (token == QXmlStreamReader::Characters) {
                takeText(m_xml.text());
            } else if (token == QXmlStreamReader::EndElement) {
                break;
            } else if (token == QXmlStreamReader::StartElement) {
                fail("an element inside gml:tupleList");
            }
        }
        failIfBroken();
        // The text may arrive in pieces; the last line needs no line end.
        if (!m_carry.isEmpty()) {
            takeTuple(QStringRef(&m_carry));
            m_carry.clear();
        }
    }

    void takeText(const QStringRef& text)
    {
        int from = 0;
        for (;;) {
            const int end = text.indexOf(QLatin1Char('\n'), from);
            if (end < 0) {
                m_carry.append(text.mid(from));
                return;
            }
            if (m_carry.isEmpty()) {
                takeTuple(text.mid(from, end - from));
            } else {
                m_carry.append(text.mid(from, end - from));
                takeTuple(QStringRef(&m_carry));
                m_carry.clear();
            }
            ++m_line;
            from = end + 1;
        }
    }

    void takeTuple(const QStringRef& line)
    {
        const QStringRef tuple = line.trimmed();
        if (tuple.isEmpty()) {
            return;
        }
        const int comma = tuple.indexOf(QLatin1Char(','));
        const QStringRef kind = tuple.left(comma).trimmed();
        if (comma < 0 || kind.isEmpty()) {
            failAtTuple("tuple " + quoted(tuple) + " is not \"kind,elevation\"");
        }
        bool ok = false;
        const double elevation = tuple.mid(comma + 1).trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(elevation)) {
            failAtTuple("invalid elevation in tuple " + quoted(tuple));
        }
        static const QString noDataKind = QString::fromUtf8("データなし");
        const bool noPoint = elevation == NO_DATA_ELEVATION || kind == noDataKind;
        m_grid.elevations.push_back(noPoint ? NO_POINT : elevation);
    }

    [[noreturn]] void failAtTuple(const std::string& message) const
    {
        throw InvalidFileFormatException(message, m_name, static_cast<int>(m_line));
    }

    void requireEveryElement() const
    {
        const std::pair<bool, const char*> required[] = {{m_hasEnvelope, "gml:Envelope"},
                                                         {m_hasGrid, "gml:GridEnvelope"},
                                                         {m_hasTuples, "gml:tupleList"},
                                                         {m_hasRule, "gml:sequenceRule"}};
        for (const auto& [present, element] : required) {
            if (!present) {
                failInFile(std::string("missing element ") + element + " of the elevation grid");
            }
        }
    }

    void placeStartPoint()
    {
        if (!m_hasStart) {
            m_grid.startColumn = m_grid.lowColumn;
            m_grid.startRow = m_grid.lowRow;
            return;
        }
        if (m_grid.startColumn < m_grid.lowColumn || m_grid.startColumn > m_grid.highColumn
            || m_grid.startRow < m_grid.lowRow || m_grid.startRow > m_grid.highRow) {
            failInFile("gml:startPoint " + std::to_string(m_grid.startColumn) + " "
                       + std::to_string(m_grid.startRow) + " lies outside the grid");
        }
    }

    void checkTupleCount() const
    {
        const auto tuples = static_cast<long long>(m_grid.elevations.size());
        if (tuples > m_grid.cellsFromStart()) {
            failInFile("more tuples (" + std::to_string(tuples) + ") than grid cells from the start point ("
                       + std::to_string(m_grid.cellsFromStart()) + ")");
        }
    }

    QXmlStreamReader m_xml;
    const std::string& m_name;
    GmlGridCoverage m_grid;
    QString m_carry;
    qint64 m_line = 0;
    bool m_hasEnvelope = false;
    bool m_hasGrid = false;
    bool m_hasTuples = false;
    bool m_hasRule = false;
    bool m_hasStart = false;
};

} // namespace

std::optional<GmlGridCoverage> GmlGridReader::read(const QString& path, const std::string& name)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw common::exception::FileOpenException(name);
    }
    return GridScan(file, name).run();
}

} // namespace tingml::io
