#pragma once

#include "movarin/shell/SettingsKeys.h"

#include <guimisc/restorer/QPainterFontChanger.h>

#include <QBrush>
#include <QPen>
#include <QPointF>
#include <QSettings>
#include <QString>

#include <cmath>
#include <memory>
#include <vector>

namespace varnel {

/// The slope figure of a borrowed segment p1 = segment[0], p2 = segment[1] on a profile-like
/// view (offset across, height up): the right triangle p1, (x2, y1), p2, p1, whose
/// horizontal leg lies at the height of p1 and whose vertical leg at the station of p2,
/// labelled with the run |dx| under or over the horizontal leg, the rise |dy| beside the
/// vertical leg and the ratio "1 : |dx / dy|" (run per unit of rise; empty when dx or dy is
/// 0) at the middle of the hypotenuse, each with 2 decimals and placed outside the
/// triangle. Two points within 1e-12 of each other in both coordinates draw nothing.
///
/// `Base` is the helper base of the view type `View`; `PolylineHelper` (built with points,
/// view and pen) and `TextHelper` (position, text, view and pen, with `setAlignment`) are
/// the view's polyline and text helpers. The figure is drawn by four owned children
/// (triangle, run, rise, ratio) with the given pen and the default brush, in the painter's
/// font at the point size of the setting "font/global_fontsize", read when the helper is
/// built (a missing key reads as 0: the painter's font stays). The children point at the
/// helper's own anchors and texts, which every paint rewrites. The segment is read at
/// every paint and must outlive the helper.
template <class Base, class View, class PolylineHelper, class TextHelper>
class SlopeViewHelperT : public Base {
public:
    SlopeViewHelperT(const QPointF* segment, View* view, const QPen& pen, const QBrush& brush)
        : Base(view, pen, brush), m_segment(segment),
          m_fontSize(QSettings().value(settings::fontGlobalSize).toInt())
    {
        m_children.push_back(std::make_unique<PolylineHelper>(&m_trianglePoints, view, pen));
        m_run = addText(&m_runAnchor, &m_runText, view, pen);
        m_rise = addText(&m_riseAnchor, &m_riseText, view, pen);
        m_ratio = addText(&m_ratioAnchor, &m_ratioText, view, pen);
        m_run->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    }

    void paintView(QPainter* painter, const QTransform& transform, const QRectF& rect) override
    {
        if (!m_segment) {
            return;
        }
        const QPointF p1 = m_segment[0];
        const QPointF p2 = m_segment[1];
        if (std::fabs(p1.x() - p2.x()) <= 1e-12 && std::fabs(p1.y() - p2.y()) <= 1e-12) {
            return;
        }
        layOut(p1, p2);
        guimisc::restorer::QPainterFontChanger font(painter, m_fontSize);
        for (const auto& child : m_children) {
            child->paintView(painter, transform, rect);
        }
    }

private:
    TextHelper* addText(const QPointF* anchor, const QString* text, View* view, const QPen& pen)
    {
        auto helper = std::make_unique<TextHelper>(anchor, text, view, pen);
        TextHelper* kept = helper.get();
        m_children.push_back(std::move(helper));
        return kept;
    }

    static QString twoDecimals(double value)
    {
        QString text;
        text.setNum(value, 'f', 2);
        return text;
    }

    // The triangle, the label anchors, texts and alignments for the segment p1, p2.
    void layOut(const QPointF& p1, const QPointF& p2)
    {
        const double x1 = p1.x();
        const double y1 = p1.y();
        const double x2 = p2.x();
        const double y2 = p2.y();
        m_trianglePoints = {p1, QPointF(x2, y1), p2, p1};
        const double dx = x2 - x1;
        const double dy = y2 - y1;
        m_runAnchor = QPointF((x1 + x2) / 2.0, y1);
        m_runText = twoDecimals(std::fabs(dx));
        m_riseAnchor = QPointF(x2, (y1 + y2) / 2.0);
        m_riseText = twoDecimals(std::fabs(dy));
        m_ratioAnchor = QPointF((x1 + x2) / 2.0, (y1 + y2) / 2.0);
        m_ratioText = dx != 0.0 && dy != 0.0
                          ? QStringLiteral("1 : ") + twoDecimals(std::fabs(dx / dy))
                          : QString();
        m_run->setAlignment(Qt::AlignHCenter | (dy > 0.0 ? Qt::AlignTop : Qt::AlignBottom));
        m_rise->setAlignment((dx > 0.0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
        m_ratio->setAlignment((dx > 0.0 ? Qt::AlignRight : Qt::AlignLeft) |
                              (dy > 0.0 ? Qt::AlignBottom : Qt::AlignTop));
    }

    std::vector<std::unique_ptr<Base>> m_children;
    const QPointF* m_segment;
    TextHelper* m_run = nullptr;
    TextHelper* m_rise = nullptr;
    TextHelper* m_ratio = nullptr;
    std::vector<QPointF> m_trianglePoints;
    QPointF m_runAnchor;
    QPointF m_riseAnchor;
    QPointF m_ratioAnchor;
    QString m_runText;
    QString m_riseText;
    QString m_ratioText;
    int m_fontSize;
};

} // namespace varnel
