// Draws the program's own pictures of the shell (logo, start-page marks and icon, mouse
// hints, the icons of the project window, its items and their actions, the cursors of the
// vertex editing) into
// movarin/resources/images. Not part of the build: run it by hand after a change and commit
// the PNG files.
//
//     cmake --build build --target movarin_make_pictures
//     QT_QPA_PLATFORM=offscreen build/bin/movarin_make_pictures movarin/resources/images
//
// The Japanese mouse hint needs a Japanese font (Debian: fonts-ipafont-gothic).
#include "PictureCanvas.h"

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>

#include <cstdio>
#include <vector>

namespace {

using pictures::canvas;
using pictures::save;

// A small terrain of triangles: a ridge of points triangulated by hand, shaded by height.
void drawMesh(QPainter& p, const QRectF& area, const QColor& edge)
{
    const int columns = 5;
    const int rows = 3;
    const double heights[rows + 1][columns + 1] = {
        {0.9, 0.7, 0.8, 0.6, 0.9, 1.0},
        {0.6, 0.4, 0.2, 0.3, 0.5, 0.7},
        {0.3, 0.1, 0.0, 0.1, 0.2, 0.4},
        {0.5, 0.3, 0.2, 0.3, 0.4, 0.6}};
    auto vertex = [&](int c, int r) {
        const double dx = (r % 2 == 0) ? 0.0 : 0.5;
        return QPointF(area.left() + (c + dx) * area.width() / (columns + 0.5),
                       area.top() + r * area.height() / rows);
    };
    auto shade = [](double h) {
        return QColor::fromRgbF(0.35 + 0.45 * h, 0.55 + 0.25 * h, 0.25 + 0.15 * h);
    };
    p.setPen(QPen(edge, 1.0));
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const bool shifted = (r % 2 == 1);
            QPolygonF a, b;
            double ha, hb;
            if (!shifted) {
                a << vertex(c, r) << vertex(c + 1, r) << vertex(c, r + 1);
                b << vertex(c + 1, r) << vertex(c + 1, r + 1) << vertex(c, r + 1);
                ha = (heights[r][c] + heights[r][c + 1] + heights[r + 1][c]) / 3;
                hb = (heights[r][c + 1] + heights[r + 1][c + 1] + heights[r + 1][c]) / 3;
            } else {
                a << vertex(c, r) << vertex(c + 1, r + 1) << vertex(c, r + 1);
                b << vertex(c, r) << vertex(c + 1, r) << vertex(c + 1, r + 1);
                ha = (heights[r][c] + heights[r + 1][c + 1] + heights[r + 1][c]) / 3;
                hb = (heights[r][c] + heights[r][c + 1] + heights[r + 1][c + 1]) / 3;
            }
            p.setBrush(shade(ha));
            p.drawPolygon(a);
            p.setBrush(shade(hb));
            p.drawPolygon(b);
        }
    }
}

QImage logo()
{
    QImage image = canvas(96, 96);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 96);
    sky.setColorAt(0, QColor(200, 225, 250));
    sky.setColorAt(1, QColor(120, 170, 220));
    p.setPen(QPen(QColor(40, 80, 140), 2));
    p.setBrush(sky);
    p.drawRoundedRect(QRectF(2, 2, 92, 92), 14, 14);
    drawMesh(p, QRectF(10, 34, 80, 50), QColor(60, 70, 50));
    // The river winding through the valley.
    QPainterPath river;
    river.moveTo(8, 52);
    river.cubicTo(30, 80, 55, 40, 88, 72);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(30, 90, 200), 6, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(river);
    p.setPen(QPen(QColor(170, 210, 255), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(river);
    // A sun, so that the picture reads as a landscape even when small.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 200, 60));
    p.drawEllipse(QPointF(72, 20), 9, 9);
    return image;
}

QImage headMark()
{
    QImage image = canvas(16, 16);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient ball(QPointF(6, 6), 9);
    ball.setColorAt(0, QColor(120, 180, 255));
    ball.setColorAt(1, QColor(20, 70, 170));
    p.setPen(Qt::NoPen);
    p.setBrush(ball);
    p.drawEllipse(QRectF(1, 1, 14, 14));
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF() << QPointF(6, 4) << QPointF(12, 8) << QPointF(6, 12));
    return image;
}

QImage newCreateProjectIcon()
{
    QImage image = canvas(24, 24);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPolygonF page;
    page << QPointF(3.5, 1.5) << QPointF(14.5, 1.5) << QPointF(19.5, 6.5) << QPointF(19.5, 22.5)
         << QPointF(3.5, 22.5);
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.setBrush(QColor(250, 250, 245));
    p.drawPolygon(page);
    p.drawPolyline(QPolygonF() << QPointF(14.5, 1.5) << QPointF(14.5, 6.5) << QPointF(19.5, 6.5));
    // Three triangles of a TIN on the page.
    p.setPen(QPen(QColor(40, 110, 40), 1));
    p.setBrush(QColor(150, 200, 120));
    p.drawPolygon(QPolygonF() << QPointF(5, 19) << QPointF(10, 10) << QPointF(12, 19));
    p.drawPolygon(QPolygonF() << QPointF(10, 10) << QPointF(17, 13) << QPointF(12, 19));
    p.setBrush(QColor(120, 180, 100));
    p.drawPolygon(QPolygonF() << QPointF(12, 19) << QPointF(17, 13) << QPointF(18, 20));
    // The plus of "new".
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 150, 60));
    p.drawEllipse(QRectF(13, 13, 11, 11));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(15.5, 17.5, 6, 2));
    p.drawRect(QRectF(17.5, 15.5, 2, 6));
    return image;
}

// The project window's icon: a small window frame over a TIN.
QImage mainWindowIcon()
{
    QImage image = canvas(16, 16);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 70, 120), 1));
    p.setBrush(QColor(245, 248, 252));
    p.drawRect(QRectF(0.5, 1.5, 15, 13));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 110, 190));
    p.drawRect(QRectF(1, 2, 14, 3));
    drawMesh(p, QRectF(2, 6, 12, 7.5), QColor(60, 70, 50));
    return image;
}

// Surveyed points: dots of a few elevations.
QImage pointsIcon()
{
    QImage image = canvas(16, 16);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF dots[] = {{3, 4}, {8, 2.5}, {13, 5}, {5, 9}, {10, 8.5}, {3, 13.5}, {8.5, 13},
                            {13.5, 12}};
    const QColor colours[] = {QColor(30, 80, 200), QColor(30, 160, 220), QColor(40, 170, 60),
                              QColor(200, 180, 30), QColor(220, 90, 30)};
    int i = 0;
    p.setPen(QPen(QColor(30, 30, 30), 0.8));
    for (const QPointF& dot : dots) {
        p.setBrush(colours[i++ % 5]);
        p.drawEllipse(dot, 1.9, 1.9);
    }
    return image;
}

// A TIN: a few triangles shaded by height.
QImage tinIcon()
{
    QImage image = canvas(16, 16);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    drawMesh(p, QRectF(0.5, 1.5, 15, 13), QColor(40, 60, 40));
    return image;
}

// Export: a sheet with an arrow leaving it to the right.
QImage exportIcon()
{
    QImage image = canvas(16, 16);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(70, 70, 70), 1.0));
    p.setBrush(QColor(245, 245, 240));
    p.drawRect(QRectF(1.5, 1.5, 9, 13));
    p.setPen(QPen(QColor(30, 120, 40), 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(5.5, 8), QPointF(13.5, 8));
    p.drawPolyline(QPolygonF({QPointF(10.5, 5), QPointF(13.5, 8), QPointF(10.5, 11)}));
    return image;
}

// Delete an item: a red cross.
QImage deleteItemIcon()
{
    QImage image = canvas(16, 16);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(200, 40, 30), 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
    p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
    return image;
}


// A background image: a framed photograph of a sky over green land with a river.
QImage imageIcon()
{
    QImage image = canvas(16, 16);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF frame(0.5, 2.5, 15, 11);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(150, 200, 240));
    p.drawRect(frame);
    QPainterPath land;
    land.moveTo(frame.left(), 9);
    land.cubicTo(5, 6.5, 10, 7.5, frame.right(), 6.5);
    land.lineTo(frame.bottomRight());
    land.lineTo(frame.bottomLeft());
    land.closeSubpath();
    p.setBrush(QColor(90, 160, 70));
    p.drawPath(land);
    QPainterPath river;
    river.moveTo(6, frame.bottom());
    river.cubicTo(8, 11, 7, 9.5, 10.5, 7.8);
    p.setPen(QPen(QColor(40, 90, 200), 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawPath(river);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 220, 80));
    p.drawEllipse(QPointF(4, 5.5), 1.6, 1.6);
    p.setPen(QPen(QColor(70, 70, 80), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(frame);
    return image;
}

// Import: an arrow coming down into an open tray.
QImage importIcon()
{
    QImage image = canvas(16, 16);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(70, 70, 70), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(2, 9.5), QPointF(2, 14), QPointF(14, 14), QPointF(14, 9.5)}));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 80, 170));
    p.drawRect(QRectF(6.5, 1, 3, 6));
    p.drawPolygon(QPolygonF({QPointF(3.5, 6.5), QPointF(12.5, 6.5), QPointF(8, 11.5)}));
    return image;
}

// A polygon of the geographic data: a filled green area with a dark outline and its vertices.
QPolygonF polygonShape()
{
    return QPolygonF({QPointF(2, 5), QPointF(8, 1.5), QPointF(14, 4.5), QPointF(12.5, 13.5),
                      QPointF(4, 14)});
}

void drawVertexMarks(QPainter& p, const QPolygonF& vertices, const QColor& colour)
{
    p.setPen(QPen(colour, 1));
    p.setBrush(Qt::white);
    for (const QPointF& v : vertices) {
        p.drawRect(QRectF(v.x() - 1.5, v.y() - 1.5, 3, 3));
    }
}

QImage polygonIcon()
{
    QImage image = canvas(16, 16);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(30, 90, 40), 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(120, 190, 100, 200));
    p.drawPolygon(polygonShape());
    drawVertexMarks(p, polygonShape(), QColor(30, 90, 40));
    return image;
}

// A polyline of the geographic data: a blue line of four segments with its vertices.
QImage polylineIcon()
{
    QImage image = canvas(16, 16);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPolygonF line({QPointF(1.5, 13), QPointF(5, 5), QPointF(10, 10.5), QPointF(14.5, 2.5)});
    p.setPen(QPen(QColor(30, 80, 190), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(line);
    drawVertexMarks(p, line, QColor(30, 80, 190));
    return image;
}

// A green plus or a red minus on a white-rimmed disc of `radius` about `centre`.
void drawBadge(QPainter& p, bool plus, const QPointF& centre, double radius)
{
    const QColor colour = plus ? QColor(20, 140, 40) : QColor(200, 40, 30);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(centre, radius + 0.8, radius + 0.8);
    p.setBrush(colour);
    p.drawEllipse(centre, radius, radius);
    const double arm = 0.58 * radius;
    p.setPen(QPen(Qt::white, radius * 0.42, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(centre - QPointF(arm, 0), centre + QPointF(arm, 0));
    if (plus) {
        p.drawLine(centre - QPointF(0, arm), centre + QPointF(0, arm));
    }
}

// Add or remove a vertex: an outline with its vertices and a plus or minus badge.
QImage polygonVertexIcon(bool add)
{
    QImage image = canvas(16, 16);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPolygonF outline({QPointF(1.5, 7), QPointF(6.5, 1.5), QPointF(12.5, 3.5),
                             QPointF(7.5, 13.5)});
    p.setPen(QPen(QColor(60, 60, 70), 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(outline);
    drawVertexMarks(p, outline, QColor(60, 60, 70));
    drawBadge(p, add, QPointF(11.5, 11.5), 3.8);
    return image;
}

// The arrow of a mouse cursor with its tip at (0, 0), outlined so that it shows on any colour.
void drawArrow(QPainter& p)
{
    const QPolygonF arrow({QPointF(0.5, 0.5), QPointF(0.5, 15), QPointF(4.2, 11.4),
                           QPointF(7, 17.5), QPointF(9.4, 16.4), QPointF(6.6, 10.5),
                           QPointF(11.5, 10.5)});
    p.setPen(QPen(Qt::black, 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::white);
    p.drawPolygon(arrow);
}

// The arrow cursor with a plus or a minus beside its tip (hot spot at the tip).
QImage editCursor(bool add)
{
    QImage image = canvas(32, 32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    drawArrow(p);
    drawBadge(p, add, QPointF(19, 19), 5);
    return image;
}

// An open hand over a vertex mark: the hot spot is the centre, where the vertex goes.
QImage openHandPointCursor()
{
    QImage image = canvas(32, 32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Four fingers and a thumb, spread, drawn as rounded strokes with a dark rim.
    const std::vector<std::pair<QPointF, QPointF>> fingers = {
        {QPointF(10, 14), QPointF(9, 5)},   {QPointF(13.5, 13), QPointF(13.5, 3)},
        {QPointF(17, 13), QPointF(18, 3.5)}, {QPointF(20.5, 14), QPointF(22, 6)},
        {QPointF(9, 19), QPointF(4.5, 14)}};
    QPainterPath palm;
    palm.addRoundedRect(QRectF(8, 11, 15, 12), 5, 5);
    for (const QColor& colour : {QColor(40, 40, 40), QColor(255, 255, 255)}) {
        const double width = colour == Qt::white ? 3.2 : 5.2;
        p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
        for (const auto& finger : fingers) {
            p.drawLine(finger.first, finger.second);
        }
        p.setPen(colour == Qt::white ? QPen(Qt::NoPen) : QPen(colour, 2));
        p.setBrush(colour);
        p.drawPath(palm);
    }
    // The vertex under the hand.
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(230, 60, 40));
    p.drawRect(QRectF(13.5, 13.5, 5, 5));
    return image;
}

// The words of one mouse hint picture.
struct HintTexts {
    QString title;
    QString leftClick;
    QString leftDrag;
    QString wheel;
    QString middleDrag;
    QString rightClick;
    QString note;
    QString fontFamily;
};

QImage mouseHint(const HintTexts& t)
{
    const int width = 640;
    const int height = 360;
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    QFont titleFont(t.fontFamily, 15, QFont::Bold);
    QFont textFont(t.fontFamily, 11);
    p.setFont(titleFont);
    p.setPen(QColor(30, 30, 30));
    p.drawText(QRectF(0, 8, width, 30), Qt::AlignCenter, t.title);

    // The mouse: a rounded body, two buttons and the wheel between them.
    const QRectF body(250, 90, 140, 220);
    QPainterPath shell;
    shell.addRoundedRect(body, 60, 70);
    p.setPen(QPen(QColor(60, 60, 60), 2));
    QLinearGradient grey(body.topLeft(), body.bottomRight());
    grey.setColorAt(0, QColor(245, 245, 245));
    grey.setColorAt(1, QColor(190, 190, 195));
    p.setBrush(grey);
    p.drawPath(shell);
    const double split = body.top() + 95;
    QPainterPath buttons;
    buttons.moveTo(body.left() + 2, split);
    buttons.lineTo(body.right() - 2, split);
    buttons.moveTo(body.center().x(), body.top());
    buttons.lineTo(body.center().x(), split);
    p.setBrush(Qt::NoBrush);
    p.drawPath(buttons);
    // Left button in blue, right in orange, wheel dark: the leader lines take their colours.
    const QColor leftColour(40, 100, 210);
    const QColor rightColour(220, 120, 30);
    const QColor wheelColour(70, 70, 70);
    QPainterPath leftButton;
    leftButton.addRect(QRectF(body.left() + 12, body.top() + 14, 48, 70));
    QPainterPath rightButton;
    rightButton.addRect(QRectF(body.center().x() + 10, body.top() + 14, 48, 70));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(leftColour.red(), leftColour.green(), leftColour.blue(), 70));
    p.drawPath(leftButton.intersected(shell));
    p.setBrush(QColor(rightColour.red(), rightColour.green(), rightColour.blue(), 70));
    p.drawPath(rightButton.intersected(shell));
    const QRectF wheel(body.center().x() - 8, body.top() + 30, 16, 40);
    p.setPen(QPen(QColor(30, 30, 30), 1.5));
    p.setBrush(wheelColour);
    p.drawRoundedRect(wheel, 7, 7);
    p.setPen(QPen(QColor(150, 150, 150), 1));
    for (int i = 1; i < 5; ++i) {
        const double y = wheel.top() + i * wheel.height() / 5;
        p.drawLine(QPointF(wheel.left() + 3, y), QPointF(wheel.right() - 3, y));
    }
    // The Ctrl key beside the mouse.
    const QRectF ctrl(438, 250, 64, 44);
    p.setPen(QPen(QColor(60, 60, 60), 2));
    p.setBrush(QColor(235, 235, 240));
    p.drawRoundedRect(ctrl, 6, 6);
    p.setFont(QFont(t.fontFamily, 13, QFont::Bold));
    p.drawText(ctrl, Qt::AlignCenter, QStringLiteral("Ctrl"));

    // Labels with leader lines to their button.
    struct Label {
        QRectF box;
        QPointF anchor;
        QPointF target;
        QColor colour;
        QString text;
        Qt::Alignment align;
    };
    const double leftX = body.left() + 36;
    const double rightX = body.right() - 36;
    const std::vector<Label> labels = {
        {QRectF(10, 60, 220, 24), QPointF(232, 72), QPointF(leftX, body.top() + 40), leftColour,
         t.leftClick, Qt::AlignRight | Qt::AlignVCenter},
        {QRectF(10, 120, 220, 44), QPointF(232, 142), QPointF(leftX - 6, body.top() + 70),
         leftColour, t.leftDrag, Qt::AlignRight | Qt::AlignVCenter},
        {QRectF(10, 200, 220, 44), QPointF(232, 222), QPointF(wheel.left(), wheel.bottom() - 4),
         wheelColour, t.middleDrag, Qt::AlignRight | Qt::AlignVCenter},
        {QRectF(410, 60, 220, 24), QPointF(408, 72), QPointF(wheel.right(), wheel.top() + 6),
         wheelColour, t.wheel, Qt::AlignLeft | Qt::AlignVCenter},
        {QRectF(410, 120, 220, 44), QPointF(408, 142), QPointF(rightX, body.top() + 60),
         rightColour, t.rightClick, Qt::AlignLeft | Qt::AlignVCenter},
    };
    for (const Label& label : labels) {
        p.setPen(QPen(label.colour, 1.5));
        p.drawLine(label.anchor, label.target);
        p.setBrush(label.colour);
        p.drawEllipse(label.target, 3, 3);
        p.setFont(textFont);
        p.setPen(QColor(20, 20, 20));
        p.drawText(label.box, label.align | Qt::TextWordWrap, label.text);
    }
    p.setFont(QFont(t.fontFamily, 10));
    p.setPen(QColor(90, 90, 90));
    p.drawText(QRectF(10, height - 34, width - 20, 24), Qt::AlignCenter, t.note);
    return image;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <images folder>\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);

    const HintTexts english{
        QStringLiteral("Mouse operations in the 2-D view"),
        QStringLiteral("Left click: select"),
        QStringLiteral("Ctrl + Left drag: pan (move the view)"),
        QStringLiteral("Wheel: zoom in / out"),
        QStringLiteral("Ctrl + Middle drag up / down: zoom in / out"),
        QStringLiteral("Right click: menu of the selected item"),
        QStringLiteral("Other clicks and drags depend on the selected item and tool."),
        QStringLiteral("DejaVu Sans")};
    const HintTexts japanese{
        QString::fromUtf8("2次元ビューのマウス操作"),
        QString::fromUtf8("左クリック: 選択"),
        QString::fromUtf8("Ctrl + 左ドラッグ: 表示の移動"),
        QString::fromUtf8("ホイール: 拡大 / 縮小"),
        QString::fromUtf8("Ctrl + 中ボタンを上下にドラッグ: 拡大 / 縮小"),
        QString::fromUtf8("右クリック: 選択中の項目の\nメニュー"),
        QString::fromUtf8("その他のクリックとドラッグは、選択中の項目とツールによります。"),
        QStringLiteral("IPAPGothic")};

    bool ok = save(logo(), folder + "/imgVarnelLogo.png");
    ok = save(headMark(), folder + "/headMark.png") && ok;
    ok = save(newCreateProjectIcon(), folder + "/iconNewCreateProj.png") && ok;
    ok = save(mainWindowIcon(), folder + "/iconMainWindow.png") && ok;
    ok = save(pointsIcon(), folder + "/iconPoints.png") && ok;
    ok = save(tinIcon(), folder + "/iconTin.png") && ok;
    ok = save(exportIcon(), folder + "/iconExport.png") && ok;
    ok = save(deleteItemIcon(), folder + "/iconDeleteItem.png") && ok;
    ok = save(importIcon(), folder + "/iconImport.png") && ok;
    ok = save(imageIcon(), folder + "/iconImage.png") && ok;
    ok = save(polygonIcon(), folder + "/iconPolygon.png") && ok;
    ok = save(polylineIcon(), folder + "/iconPolyline.png") && ok;
    ok = save(polygonVertexIcon(true), folder + "/iconAddPolygonVertex.png") && ok;
    ok = save(polygonVertexIcon(false), folder + "/iconRemovePolygonVertex.png") && ok;
    ok = save(editCursor(true), folder + "/cursorAdd.png") && ok;
    ok = save(editCursor(false), folder + "/cursorRemove.png") && ok;
    ok = save(openHandPointCursor(), folder + "/cursorOpenHandPoint.png") && ok;
    ok = save(mouseHint(english), folder + "/imgMouseHelp.png") && ok;
    ok = save(mouseHint(japanese), folder + "/ja_JP/imgMouseHelp.png") && ok;
    return ok ? 0 : 1;
}
