#pragma once

// Helpers of the shapefile tests: scratch folders, fixtures made by GDAL's ogr2ogr from GeoJSON,
// and GDAL's own reading of a shapefile (ogrinfo) as an oracle independent of shapelib.

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace shptest {

inline std::string realShapefile(const std::string& name)
{
    return std::string(MOVARIN_SHARED_DATA_DIR) + "/real/shapefile/" + name;
}

// An empty folder, removed with everything in it when the object dies. Paths are UTF-8 bytes.
class Scratch
{
public:
    Scratch() { EXPECT_TRUE(m_dir.isValid()); }
    std::string path(const std::string& relative = std::string()) const
    {
        const std::string root = m_dir.path().toStdString();
        return relative.empty() ? root : root + "/" + relative;
    }
    std::string folder(const std::string& relative) const
    {
        std::filesystem::create_directories(path(relative));
        return path(relative);
    }

private:
    QTemporaryDir m_dir;
};

inline void writeText(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

inline std::string readText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// Runs a program and returns what it printed; a failing run fails the test.
inline std::string run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(60000)) << program.toStdString();
    const QByteArray out = process.readAllStandardOutput();
    EXPECT_EQ(process.exitCode(), 0) << program.toStdString() << ": "
                                     << process.readAllStandardError().toStdString();
    return out.toStdString();
}

// A shapefile at shpPath holding the features of a GeoJSON FeatureCollection, written by GDAL
// (attribute text in UTF-8 unless the extra arguments say otherwise).
inline void ogr2ogr(const std::string& shpPath, const std::string& features,
                    const QStringList& extra = {})
{
    const std::string json = shpPath + ".source.geojson";
    writeText(json, "{\"type\":\"FeatureCollection\",\"features\":[" + features + "]}");
    QStringList arguments{"-q", "-f", "ESRI Shapefile"};
    arguments << extra << QString::fromStdString(shpPath) << QString::fromStdString(json);
    run("ogr2ogr", arguments);
    std::filesystem::remove(json);
}

// One GeoJSON feature; geometry is a GeoJSON geometry object or "null".
inline std::string feature(const std::string& geometry, const std::string& properties = "{}")
{
    return "{\"type\":\"Feature\",\"properties\":" + properties + ",\"geometry\":" + geometry + "}";
}

// One feature as GDAL reads it: its attribute values as printed, and the vertices of all its
// parts one after another.
struct OgrFeature
{
    std::map<std::string, std::string> fields;
    std::string geometryType;
    std::vector<std::vector<std::pair<double, double>>> parts;
    std::vector<std::pair<double, double>> vertices() const
    {
        std::vector<std::pair<double, double>> all;
        for (const auto& part : parts) {
            all.insert(all.end(), part.begin(), part.end());
        }
        return all;
    }
};

// The features of a shapefile as "ogrinfo -ro -al -q" prints them.
inline std::vector<OgrFeature> ogrFeatures(const std::string& shpPath)
{
    static const std::regex field("^  (\\S+) \\(\\w+\\) = (.*)$");
    static const std::regex geometry("^  ([A-Z]+) ");
    static const std::regex part("\\(([^()]*)\\)");
    std::istringstream lines(run("ogrinfo", {"-ro", "-al", "-q", QString::fromStdString(shpPath)}));
    std::vector<OgrFeature> features;
    std::string line;
    std::smatch m;
    while (std::getline(lines, line)) {
        if (line.rfind("OGRFeature(", 0) == 0) {
            features.emplace_back();
        } else if (features.empty()) {
            continue;
        } else if (std::regex_match(line, m, field)) {
            features.back().fields[m[1]] = m[2];
        } else if (std::regex_search(line, m, geometry)) {
            features.back().geometryType = m[1];
            for (std::sregex_iterator p(line.begin(), line.end(), part), end; p != end; ++p) {
                std::vector<std::pair<double, double>> vertices;
                std::istringstream pairs((*p)[1].str());
                std::string pair;
                while (std::getline(pairs, pair, ',')) {
                    std::istringstream xy(pair);
                    double x = 0.0;
                    double y = 0.0;
                    xy >> x >> y;
                    vertices.emplace_back(x, y);
                }
                features.back().parts.push_back(vertices);
            }
        }
    }
    return features;
}

// The number of this process's open file descriptors that lead into folder.
inline int openFilesUnder(const std::string& folder)
{
    int count = 0;
    const std::filesystem::path fds("/proc/self/fd");
    for (const auto& entry : std::filesystem::directory_iterator(fds)) {
        std::error_code error;
        const auto target = std::filesystem::read_symlink(entry.path(), error);
        if (!error && target.string().rfind(folder, 0) == 0) {
            ++count;
        }
    }
    return count;
}

// A dBASE III attribute table written byte by byte, independent of shapelib and GDAL: fields of
// any type letter ('C' text, 'N' number, 'F' float, 'L' logical, 'D' date), rows given as the
// text of each cell.
struct DbfField
{
    std::string name;
    char type;
    int width;
    int decimals = 0;
};

inline void writeDbf(const std::string& path, const std::vector<DbfField>& fields,
                     const std::vector<std::vector<std::string>>& rows)
{
    auto le = [](std::string& out, unsigned value, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            out += static_cast<char>((value >> (8 * i)) & 0xff);
        }
    };
    int recordLength = 1;
    for (const DbfField& f : fields) {
        recordLength += f.width;
    }
    std::string bytes;
    bytes += '\x03';
    bytes += std::string("\x7c\x01\x02", 3); // last update 2024-01-02
    le(bytes, static_cast<unsigned>(rows.size()), 4);
    le(bytes, static_cast<unsigned>(32 + 32 * fields.size() + 1), 2);
    le(bytes, static_cast<unsigned>(recordLength), 2);
    bytes += std::string(20, '\0');
    for (const DbfField& f : fields) {
        std::string name = f.name;
        name.resize(11, '\0');
        bytes += name;
        bytes += f.type;
        bytes += std::string(4, '\0');
        bytes += static_cast<char>(f.width);
        bytes += static_cast<char>(f.decimals);
        bytes += std::string(14, '\0');
    }
    bytes += '\x0d';
    for (const auto& row : rows) {
        bytes += ' ';
        for (std::size_t c = 0; c < fields.size(); ++c) {
            std::string cell = c < row.size() ? row[c] : std::string();
            const std::size_t width = static_cast<std::size_t>(fields[c].width);
            cell.resize(std::min(cell.size(), width));
            const std::string pad(width - cell.size(), ' ');
            const bool numeric = fields[c].type == 'N' || fields[c].type == 'F';
            bytes += numeric ? pad + cell : cell + pad;
        }
    }
    bytes += '\x1a';
    writeText(path, bytes);
}

// Twice the signed area of a closed ring; negative when it runs clockwise.
inline double signedArea2(const std::vector<std::pair<double, double>>& ring)
{
    double sum = 0.0;
    for (std::size_t i = 0; i + 1 < ring.size(); ++i) {
        sum += ring[i].first * ring[i + 1].second - ring[i + 1].first * ring[i].second;
    }
    return sum;
}

} // namespace shptest
