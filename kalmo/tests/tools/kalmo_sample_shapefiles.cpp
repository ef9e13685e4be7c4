// Writes the shapes described in a JSON file as two shapefiles, so that a second reader can be
// asked what they hold.
//
//   kalmo_sample_shapefiles <shapes.json> <folder>
//
// shapes.json: {"polygons": [{"name": text, "value": integer, "points": [[x, y], ...]}, ...],
//               "polylines": [{"name": text, "value": number, "points": [[x, y], ...]}, ...]}
// The folder gets "polygons.shp" with "Name" (text) and "Value" (integer, width 10), and
// "polylines.shp" with "Name" and "Value" (floating point, width 40, 6 decimals), in UTF-8.

#include "kalmo/ShpPolygonWriter.h"
#include "kalmo/ShpPolylineWriter.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <exception>
#include <iostream>

namespace {

std::vector<tin::core::Point2D> pointsOf(const QJsonValue& shape)
{
    std::vector<tin::core::Point2D> points;
    for (const QJsonValue& p : shape.toObject().value("points").toArray()) {
        points.emplace_back(p.toArray().at(0).toDouble(), p.toArray().at(1).toDouble());
    }
    return points;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: kalmo_sample_shapefiles <shapes.json> <folder>\n";
        return 2;
    }
    QFile file(QFile::decodeName(argv[1]));
    if (!file.open(QIODevice::ReadOnly)) {
        std::cerr << "cannot read " << argv[1] << "\n";
        return 1;
    }
    const QJsonObject shapes = QJsonDocument::fromJson(file.readAll()).object();
    const std::string folder = argv[2];
    try {
        tinshp::ShpPolygonWriter polygons;
        polygons.setCodec("UTF-8");
        if (!polygons.open(folder + "/polygons.shp")) {
            std::cerr << "cannot create polygons.shp\n";
            return 1;
        }
        polygons.addStringAttribute("Name");
        polygons.addIntAttribute("Value", 10);
        int row = 0;
        for (const QJsonValue& shape : shapes.value("polygons").toArray()) {
            const tin::core::Polygon polygon(pointsOf(shape));
            polygons.writePolygon(row, &polygon);
            polygons.writeStringAttribute(row, 0, shape.toObject().value("name").toString());
            polygons.writeIntAttribute(row, 1, shape.toObject().value("value").toInt());
            ++row;
        }
        polygons.close();

        tinshp::ShpPolylineWriter polylines;
        polylines.setCodec("UTF-8");
        if (!polylines.open(folder + "/polylines.shp")) {
            std::cerr << "cannot create polylines.shp\n";
            return 1;
        }
        polylines.addStringAttribute("Name");
        polylines.addDoubleAttribute("Value", 40, 6);
        row = 0;
        for (const QJsonValue& shape : shapes.value("polylines").toArray()) {
            const tin::core::Polyline polyline(pointsOf(shape));
            polylines.writePolyline(row, &polyline);
            polylines.writeStringAttribute(row, 0, shape.toObject().value("name").toString());
            polylines.writeDoubleAttribute(row, 1, shape.toObject().value("value").toDouble());
            ++row;
        }
        polylines.close();
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
    return 0;
}
