// Fixtures and outside oracles the calvex tests share: GML elevation grids written by the
// tests, ZIP archives made with Python's zipfile, and plane coordinates from PROJ's cs2cs.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace calvextest {

// A JPGIS-style DEM file. The default is a 3 x 2 grid whose tuple list (before the start
// point, as in the published files) starts at cell (1, 0) and holds a no-data kind with a
// value, a -9999 and three kinds with data.
struct DemFixture {
    std::string lower = "35.0 139.0";
    std::string upper = "35.2 139.3";
    std::string low = "0 0";
    std::string high = "2 1";
    std::string tuples = "地表面,10.5\nデータなし,7.0\n内水面,-9999.\nその他,3.25\n地表面,-1.5\n";
    std::string order = "+x-y";
    std::optional<std::string> start = std::string("1 0");
    bool bom = false;
    bool crlf = false;
    std::set<std::string> omitted; // local names of elements to leave out

    std::string xml() const
    {
        const auto element = [this](const std::string& name, const std::string& text) {
            return omitted.count(name) ? std::string() : "<gml:" + name + ">" + text + "</gml:" + name + ">\n";
        };
        std::string text = std::string(bom ? "\xEF\xBB\xBF" : "") + "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<Dataset xmlns:gml=\"http://www.opengis.net/gml/3.2\">\n"
            "<DEM><mesh>00000000</mesh><coverage>\n<gml:boundedBy>\n";
        if (!omitted.count("Envelope")) {
            text += "<gml:Envelope srsName=\"fguuid:jgd2011.bl\">\n" + element("lowerCorner", lower)
                + element("upperCorner", upper) + "</gml:Envelope>\n";
        }
        text += "</gml:boundedBy>\n<gml:gridDomain><gml:Grid dimension=\"2\"><gml:limits>\n";
        if (!omitted.count("GridEnvelope")) {
            text += "<gml:GridEnvelope>\n" + element("low", low) + element("high", high) + "</gml:GridEnvelope>\n";
        }
        text += "</gml:limits></gml:Grid></gml:gridDomain>\n<gml:rangeSet><gml:DataBlock>\n";
        text += element("tupleList", "\n" + tuples);
        text += "</gml:DataBlock></gml:rangeSet>\n<gml:coverageFunction><gml:GridFunction>\n";
        if (!omitted.count("sequenceRule")) {
            text += "<gml:sequenceRule order=\"" + order + "\">Linear</gml:sequenceRule>\n";
        }
        if (start) {
            text += element("startPoint", *start);
        }
        text += "</gml:GridFunction></gml:coverageFunction>\n</coverage></DEM>\n</Dataset>\n";
        if (crlf) {
            std::string withCr;
            for (const char c : text) {
                withCr += c == '\n' ? std::string("\r\n") : std::string(1, c);
            }
            return withCr;
        }
        return text;
    }
};

inline void writeFile(const QString& path, const std::string& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(file.write(bytes.data(), static_cast<qint64>(bytes.size())), static_cast<qint64>(bytes.size()));
}

// Runs a program with the given standard input and returns its standard output; the test
// fails when it does not end with exit code 0.
inline QByteArray run(const QString& program, const QStringList& arguments, const QByteArray& input = {})
{
    QProcess process;
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForStarted()) << program.toStdString();
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(-1);
    EXPECT_EQ(process.exitCode(), 0) << program.toStdString() << ": " << process.readAllStandardError().toStdString();
    return process.readAllStandardOutput();
}

// A ZIP of (member name, content) written by Python's zipfile, names taken as given
// ("../x.xml" stays "../x.xml").
inline void writeZip(const QString& path, const std::vector<std::pair<std::string, std::string>>& members)
{
    QStringList arguments{"-c",
                          "import sys, zipfile\n"
                          "z = zipfile.ZipFile(sys.argv[1], 'w', zipfile.ZIP_DEFLATED)\n"
                          "for name, data in zip(sys.argv[2::2], sys.argv[3::2]):\n"
                          "    z.writestr(name, bytes.fromhex(data))\n"
                          "z.close()\n",
                          path};
    for (const auto& [name, content] : members) {
        arguments << QString::fromStdString(name) << QByteArray::fromStdString(content).toHex();
    }
    run("python3", arguments);
}

// Longitude, latitude (degrees, GRS80) to the plane of a PROJ definition, by cs2cs.
inline std::vector<std::array<double, 2>> cs2cs(const std::string& definition,
                                               const std::vector<std::array<double, 2>>& lonLat)
{
    QByteArray input;
    for (const auto& p : lonLat) {
        input += QByteArray::number(p[0], 'g', 17) + ' ' + QByteArray::number(p[1], 'g', 17) + '\n';
    }
    QStringList arguments{"-f", "%.6f", "+proj=longlat", "+ellps=GRS80", "+no_defs", "+to"};
    arguments << QString::fromStdString(definition).split(' ', Qt::SkipEmptyParts);
    std::vector<std::array<double, 2>> plane;
    for (const QByteArray& line : run("cs2cs", arguments, input).trimmed().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        plane.push_back({fields.value(0).toDouble(), fields.value(1).toDouble()});
    }
    EXPECT_EQ(plane.size(), lonLat.size());
    return plane;
}

} // namespace calvextest
