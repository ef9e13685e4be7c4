#include "shell/RecordingPaintDevice.h"

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
        m_state.pen = state.state() & DirtyPen ? state.pen() : m_state.pen;
        m_state.brush = state.state() & DirtyBrush ? state.brush() : m_state.brush;
        m_state.transform = state.state() & DirtyTransform ? state.transform() : m_state.transform;
        m_state.font = state.state() & DirtyFont ? state.font() : m_state.font;
    }

    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override
    {
        PaintRecord& r = add(mode == PolylineMode ? PaintRecord::Polyline : PaintRecord::Polygon);
        r.points = QPolygonF(QVector<QPointF>(points, points + count));
        r.fillRule = mode == WindingMode ? Qt::WindingFill : Qt::OddEvenFill;
    }
    void drawEllipse(const QRectF& rect) override { add(PaintRecord::Ellipse).rect = rect; }
    void drawPath(const QPainterPath& path) override { add(PaintRecord::Path).path = path; }
    void drawLines(const QLineF* lines, int count) override
    {
        PaintRecord& r = add(PaintRecord::Lines);
        for (int i = 0; i < count; ++i) {
            r.points << lines[i].p1() << lines[i].p2();
        }
    }
    void drawTextItem(const QPointF& position, const QTextItem& item) override
    {
        PaintRecord& r = add(PaintRecord::Text);
        r.text = item.text();
        r.position = position;
        r.font = item.font();
    }
    void drawPixmap(const QRectF& target, const QPixmap&, const QRectF&) override
    {
        add(PaintRecord::Image).rect = target;
    }

    std::vector<PaintRecord> m_records;

private:
    PaintRecord& add(PaintRecord::Kind kind)
    {
        m_records.push_back(m_state);
        m_records.back().kind = kind;
        return m_records.back();
    }

    PaintRecord m_state;
};

RecordingPaintDevice::RecordingPaintDevice() : m_engine(std::make_unique<Engine>())
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

int RecordingPaintDevice::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmWidth:
    case PdmHeight:
        return 200;
    case PdmWidthMM:
    case PdmHeightMM:
        return 53;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
        return 96;
    case PdmDepth:
        return 32;
    case PdmNumColors:
        return 0x7fffffff;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return static_cast<int>(devicePixelRatioFScale());
    }
    return 0;
}

} // namespace varnel::test
