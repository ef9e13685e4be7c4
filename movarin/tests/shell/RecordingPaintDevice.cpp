#include "shell/RecordingPaintDevice.h"

#include <QPixmap>
#include <QStringList>
#include <QTextItem>

namespace varnel::test {

class RecordingPaintDevice::Engine : public QPaintEngine {
public:
    Engine() : QPaintEngine(AllFeatures) {}

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return User; }

    void updateState(const QPaintEngineState& state) override
    {
        if (state.state() & DirtyPen) {
            m_pen = state.pen();
        }
        if (state.state() & DirtyBrush) {
            m_brush = state.brush();
        }
        if (state.state() & DirtyTransform) {
            m_transform = state.transform();
        }
        if (state.state() & DirtyFont) {
            m_font = state.font();
        }
    }

    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override
    {
        PaintRecord r = record(mode == PolylineMode ? PaintRecord::Polyline : PaintRecord::Polygon);
        for (int i = 0; i < count; ++i) {
            r.points << points[i];
        }
        r.fillRule = mode == WindingMode ? Qt::WindingFill : Qt::OddEvenFill;
        m_records.push_back(r);
    }
    void drawPolygon(const QPoint* points, int count, PolygonDrawMode mode) override
    {
        QPolygonF converted;
        for (int i = 0; i < count; ++i) {
            converted << QPointF(points[i]);
        }
        drawPolygon(converted.constData(), count, mode);
    }
    void drawEllipse(const QRectF& rect) override
    {
        PaintRecord r = record(PaintRecord::Ellipse);
        r.rect = rect;
        m_records.push_back(r);
    }
    void drawEllipse(const QRect& rect) override { drawEllipse(QRectF(rect)); }
    void drawPath(const QPainterPath& path) override
    {
        PaintRecord r = record(PaintRecord::Path);
        r.path = path;
        m_records.push_back(r);
    }
    void drawLines(const QLineF* lines, int count) override
    {
        PaintRecord r = record(PaintRecord::Lines);
        for (int i = 0; i < count; ++i) {
            r.points << lines[i].p1() << lines[i].p2();
        }
        m_records.push_back(r);
    }
    void drawLines(const QLine* lines, int count) override
    {
        for (int i = 0; i < count; ++i) {
            const QLineF line(lines[i]);
            drawLines(&line, 1);
        }
    }
    void drawTextItem(const QPointF& position, const QTextItem& item) override
    {
        PaintRecord r = record(PaintRecord::Text);
        r.text = item.text();
        r.position = position;
        r.font = item.font();
        m_records.push_back(r);
    }
    void drawPixmap(const QRectF& target, const QPixmap&, const QRectF&) override
    {
        PaintRecord r = record(PaintRecord::Image);
        r.rect = target;
        m_records.push_back(r);
    }
    void drawImage(const QRectF& target, const QImage&, const QRectF&,
                   Qt::ImageConversionFlags) override
    {
        PaintRecord r = record(PaintRecord::Image);
        r.rect = target;
        m_records.push_back(r);
    }

    std::vector<PaintRecord> m_records;

private:
    PaintRecord record(PaintRecord::Kind kind) const
    {
        PaintRecord r;
        r.kind = kind;
        r.transform = m_transform;
        r.pen = m_pen;
        r.brush = m_brush;
        r.font = m_font;
        return r;
    }

    QPen m_pen;
    QBrush m_brush;
    QTransform m_transform;
    QFont m_font;
};

RecordingPaintDevice::RecordingPaintDevice(const QSize& size)
    : m_size(size), m_engine(std::make_unique<Engine>())
{
}

RecordingPaintDevice::~RecordingPaintDevice() = default;

QPaintEngine* RecordingPaintDevice::paintEngine() const
{
    return m_engine.get();
}

const std::vector<PaintRecord>& RecordingPaintDevice::records() const
{
    return m_engine->m_records;
}

std::vector<PaintRecord> RecordingPaintDevice::recordsOf(PaintRecord::Kind kind) const
{
    std::vector<PaintRecord> result;
    for (const PaintRecord& r : records()) {
        if (r.kind == kind) {
            result.push_back(r);
        }
    }
    return result;
}

QStringList RecordingPaintDevice::texts() const
{
    QStringList result;
    for (const PaintRecord& r : recordsOf(PaintRecord::Text)) {
        result << r.text;
    }
    return result;
}

void RecordingPaintDevice::clear()
{
    m_engine->m_records.clear();
}

int RecordingPaintDevice::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmWidth:
        return m_size.width();
    case PdmHeight:
        return m_size.height();
    case PdmWidthMM:
        return m_size.width() * 254 / 960;
    case PdmHeightMM:
        return m_size.height() * 254 / 960;
    case PdmNumColors:
        return 0x7fffffff;
    case PdmDepth:
        return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
        return 96;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return static_cast<int>(devicePixelRatioFScale());
    }
    return 0;
}

} // namespace varnel::test
