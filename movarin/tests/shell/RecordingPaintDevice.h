#pragma once

#include <QBrush>
#include <QFont>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <QStringList>
#include <QTransform>

#include <memory>
#include <vector>

namespace varnel::test {

/// One drawing call as the paint engine received it: the primitive in the painter's
/// coordinates, with the painter's transform, pen, brush and font at that moment.
struct PaintRecord {
    enum Kind { Polygon, Polyline, Ellipse, Path, Text, Lines, Image };

    Kind kind = Polygon;
    QPolygonF points; ///< polygon or polyline vertices; two per line for Lines
    QRectF rect;      ///< ellipse bounds, image target
    QPainterPath path;
    QString text;
    QPointF position; ///< text base line start
    Qt::FillRule fillRule = Qt::OddEvenFill;
    QTransform transform;
    QPen pen;
    QBrush brush;
    QFont font;

    /// The points and the text position in device pixels.
    QPolygonF devicePoints() const { return transform.map(points); }
    QPointF devicePosition() const { return transform.map(position); }
};

/// A 200 by 200 paint device at 96 dpi whose engine draws nothing and logs every polygon,
/// polyline, ellipse, path, text, line and image it receives (the painter hands them over
/// untransformed: the engine claims every feature).
class RecordingPaintDevice : public QPaintDevice {
public:
    RecordingPaintDevice();
    ~RecordingPaintDevice() override;

    QPaintEngine* paintEngine() const override;
    const std::vector<PaintRecord>& records() const;
    std::vector<PaintRecord> recordsOf(PaintRecord::Kind kind) const;
    QStringList texts() const;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    class Engine;
    std::unique_ptr<Engine> m_engine;
};

} // namespace varnel::test
