// Draws the pictures of the main window (window icon, About logo, the icons of the File and
// Edit menus, the camera controls of the main tool bar, the bird's-eye and mouse-hint
// buttons) into movarin/resources/images. Not part of the build: run it by hand after a
// change and commit the PNG files.
//
//     cmake --build build --target movarin_make_main_window_pictures
//     QT_QPA_PLATFORM=offscreen build/bin/movarin_make_main_window_pictures movarin/resources/images
//
// Icons are 32 by 32 pixels (the tool bar shows them at 16 by 16); the logo is 64 by 64.
#include "PictureCanvas.h"

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QtMath>

#include <cstdio>
#include <functional>

namespace {

const QColor ink(40, 55, 80);
const QColor accent(40, 110, 200);
const QColor land(110, 160, 80);
const QColor paper(250, 250, 245);

QImage canvas(int size)
{
    return pictures::canvas(size, size);
}

using pictures::save;

// An icon drawn by `draw` on a 32 by 32 antialiased canvas.
QImage icon(const std::function<void(QPainter&)>& draw)
{
    QImage image = canvas(32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    draw(p);
    return image;
}

QPen pen(const QColor& colour, double width)
{
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A filled arrow head at `tip` pointing along `angleDegrees` (0 right, 90 up).
void arrowHead(QPainter& p, const QPointF& tip, double angleDegrees, double size,
               const QColor& colour)
{
    const double a = qDegreesToRadians(angleDegrees);
    const QPointF back(-std::cos(a) * size, std::sin(a) * size);
    const QPointF side(std::sin(a) * size * 0.6, std::cos(a) * size * 0.6);
    QPolygonF head;
    head << tip << tip + back + side << tip + back - side;
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(head);
}

// A straight arrow from `from` to `to` with a head at `to`.
void arrow(QPainter& p, const QPointF& from, const QPointF& to, const QColor& colour,
           double width = 3.0, double head = 8.0)
{
    const QPointF d = to - from;
    const double angle = qRadiansToDegrees(std::atan2(-d.y(), d.x()));
    const double length = std::hypot(d.x(), d.y());
    const QPointF shaftEnd = to - d * (head * 0.8 / length);
    p.setPen(pen(colour, width));
    p.drawLine(from, shaftEnd);
    arrowHead(p, to, angle, head, colour);
}

// A small triangulated terrain inside `area`, shaded by height.
void terrain(QPainter& p, const QRectF& area, const QColor& edge, double edgeWidth)
{
    const int columns = 4;
    const int rows = 3;
    const double heights[rows + 1][columns + 1] = {{0.9, 0.7, 0.8, 0.6, 1.0},
                                                   {0.6, 0.3, 0.2, 0.4, 0.7},
                                                   {0.4, 0.1, 0.0, 0.2, 0.5},
                                                   {0.6, 0.3, 0.2, 0.4, 0.8}};
    auto vertex = [&](int c, int r) {
        return QPointF(area.left() + c * area.width() / columns,
                       area.top() + r * area.height() / rows);
    };
    auto shade = [](double h) {
        return QColor::fromRgbF(0.30 + 0.50 * h, 0.55 + 0.30 * h, 0.30 + 0.15 * h);
    };
    p.setPen(pen(edge, edgeWidth));
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            QPolygonF a, b;
            a << vertex(c, r) << vertex(c + 1, r) << vertex(c, r + 1);
            b << vertex(c + 1, r) << vertex(c + 1, r + 1) << vertex(c, r + 1);
            p.setBrush(shade((heights[r][c] + heights[r][c + 1] + heights[r + 1][c]) / 3));
            p.drawPolygon(a);
            p.setBrush(shade((heights[r][c + 1] + heights[r + 1][c + 1] + heights[r + 1][c]) / 3));
            p.drawPolygon(b);
        }
    }
}

// A river winding across `area`.
void river(QPainter& p, const QRectF& area, double width)
{
    QPainterPath path(QPointF(area.left(), area.top() + area.height() * 0.25));
    path.cubicTo(QPointF(area.left() + area.width() * 0.4, area.top() + area.height() * 0.1),
                 QPointF(area.left() + area.width() * 0.5, area.bottom()),
                 QPointF(area.right(), area.top() + area.height() * 0.7));
    p.setBrush(Qt::NoBrush);
    p.setPen(pen(QColor(255, 255, 255, 200), width + 2));
    p.drawPath(path);
    p.setPen(pen(accent, width));
    p.drawPath(path);
}

QImage windowIcon()
{
    return icon([](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(230, 238, 250));
        p.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);
        terrain(p, QRectF(4, 6, 24, 20), QColor(60, 80, 50), 0.8);
        river(p, QRectF(4, 6, 24, 20), 2.5);
    });
}

QImage logo()
{
    QImage image = canvas(64);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 64);
    sky.setColorAt(0, QColor(200, 225, 250));
    sky.setColorAt(1, QColor(240, 245, 250));
    p.setPen(pen(ink, 1.5));
    p.setBrush(sky);
    p.drawRoundedRect(QRectF(1.5, 1.5, 61, 61), 10, 10);
    terrain(p, QRectF(8, 14, 48, 40), QColor(60, 80, 50), 1.0);
    river(p, QRectF(8, 14, 48, 40), 4.0);
    p.setPen(pen(ink, 1.2));
    p.setBrush(QColor(250, 250, 250));
    p.drawEllipse(QPointF(50, 10), 4, 4);
    return image;
}

// A sheet of paper with a folded corner.
void sheet(QPainter& p, const QRectF& r)
{
    QPolygonF outline;
    outline << r.topLeft() << QPointF(r.right() - 7, r.top()) << QPointF(r.right(), r.top() + 7)
            << r.bottomRight() << r.bottomLeft();
    p.setPen(pen(ink, 1.5));
    p.setBrush(paper);
    p.drawPolygon(outline);
    QPolygonF fold;
    fold << QPointF(r.right() - 7, r.top()) << QPointF(r.right() - 7, r.top() + 7)
         << QPointF(r.right(), r.top() + 7);
    p.setBrush(QColor(215, 215, 205));
    p.drawPolygon(fold);
}

QImage newIcon()
{
    return icon([](QPainter& p) {
        sheet(p, QRectF(5, 2, 20, 27));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(245, 190, 40));
        QPolygonF star;
        const QPointF c(23, 23);
        for (int i = 0; i < 10; ++i) {
            const double a = qDegreesToRadians(-90.0 + 36.0 * i);
            const double radius = (i % 2 == 0) ? 8.0 : 3.5;
            star << c + QPointF(std::cos(a) * radius, std::sin(a) * radius);
        }
        p.setPen(pen(QColor(170, 110, 10), 1.0));
        p.drawPolygon(star);
    });
}

QImage openIcon()
{
    return icon([](QPainter& p) {
        p.setPen(pen(QColor(140, 95, 20), 1.5));
        p.setBrush(QColor(235, 190, 90));
        QPolygonF back;
        back << QPointF(2, 8) << QPointF(11, 8) << QPointF(14, 11) << QPointF(26, 11)
             << QPointF(26, 27) << QPointF(2, 27);
        p.drawPolygon(back);
        p.setBrush(QColor(250, 215, 120));
        QPolygonF front;
        front << QPointF(2, 27) << QPointF(7, 15) << QPointF(31, 15) << QPointF(26, 27);
        p.drawPolygon(front);
        arrow(p, QPointF(19, 12), QPointF(19, 1), accent, 2.5, 6);
    });
}

QImage saveIcon()
{
    return icon([](QPainter& p) {
        p.setPen(pen(QColor(20, 40, 90), 1.5));
        p.setBrush(QColor(60, 100, 180));
        QPolygonF body;
        body << QPointF(3, 3) << QPointF(25, 3) << QPointF(29, 7) << QPointF(29, 29)
             << QPointF(3, 29);
        p.drawPolygon(body);
        p.setBrush(QColor(235, 240, 250));
        p.drawRect(QRectF(8, 3, 15, 10));
        p.setBrush(QColor(20, 40, 90));
        p.drawRect(QRectF(18, 5, 3, 6));
        p.setBrush(paper);
        p.drawRect(QRectF(7, 17, 18, 12));
        p.setPen(pen(QColor(150, 150, 150), 1.0));
        p.drawLine(QPointF(10, 21), QPointF(22, 21));
        p.drawLine(QPointF(10, 25), QPointF(22, 25));
    });
}

// A curved arrow turning left (undo) or right (redo).
QImage turnIcon(bool left)
{
    return icon([left](QPainter& p) {
        if (!left) {
            p.translate(32, 0);
            p.scale(-1, 1);
        }
        QPainterPath path(QPointF(26, 26));
        path.cubicTo(QPointF(28, 14), QPointF(20, 9), QPointF(11, 11));
        p.setBrush(Qt::NoBrush);
        p.setPen(pen(QColor(30, 120, 60), 4.0));
        p.drawPath(path);
        QPolygonF head;
        head << QPointF(2, 12) << QPointF(13, 3) << QPointF(14, 20);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 120, 60));
        p.drawPolygon(head);
    });
}

QImage vis3DIcon()
{
    return icon([](QPainter& p) {
        // A block of terrain in perspective: top surface, front and side faces.
        QPolygonF top;
        top << QPointF(3, 12) << QPointF(17, 5) << QPointF(29, 11) << QPointF(15, 18);
        QPolygonF front;
        front << QPointF(3, 12) << QPointF(15, 18) << QPointF(15, 29) << QPointF(3, 23);
        QPolygonF side;
        side << QPointF(15, 18) << QPointF(29, 11) << QPointF(29, 22) << QPointF(15, 29);
        p.setPen(pen(QColor(60, 50, 30), 1.2));
        p.setBrush(QColor(170, 130, 80));
        p.drawPolygon(front);
        p.setBrush(QColor(140, 100, 60));
        p.drawPolygon(side);
        p.setBrush(land);
        p.drawPolygon(top);
        p.setPen(pen(QColor(60, 90, 40), 1.0));
        p.drawLine(QPointF(10, 8.5), QPointF(22, 14.5));
        p.drawLine(QPointF(9, 15), QPointF(23, 8));
        p.setPen(pen(accent, 2.0));
        p.drawLine(QPointF(6, 13.5), QPointF(26, 10));
        // Strata on the faces.
        p.setPen(pen(QColor(110, 75, 40), 1.0));
        p.drawLine(QPointF(3, 17.5), QPointF(15, 23.5));
        p.drawLine(QPointF(15, 23.5), QPointF(29, 16.5));
    });
}

QImage mouseHelpIcon()
{
    return icon([](QPainter& p) {
        p.setPen(pen(ink, 1.5));
        p.setBrush(QColor(235, 235, 240));
        p.drawRoundedRect(QRectF(4, 6, 16, 24), 8, 8);
        p.drawLine(QPointF(12, 6), QPointF(12, 15));
        p.drawLine(QPointF(4, 15), QPointF(20, 15));
        p.setBrush(accent);
        p.drawRoundedRect(QRectF(10.5, 8, 3, 5), 1.5, 1.5);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(230, 120, 30));
        p.drawEllipse(QPointF(24, 9), 7.5, 7.5);
        p.setPen(Qt::white);
        p.setFont(QFont(QStringLiteral("DejaVu Sans"), 10, QFont::Bold));
        p.drawText(QRectF(16.5, 1.5, 15, 15), Qt::AlignCenter, QStringLiteral("?"));
    });
}

// A grey view frame that the camera icons draw on.
void frame(QPainter& p)
{
    p.setPen(pen(QColor(150, 155, 165), 1.0));
    p.setBrush(QColor(245, 247, 250));
    p.drawRect(QRectF(1.5, 1.5, 29, 29));
}

QImage fitIcon()
{
    return icon([](QPainter& p) {
        frame(p);
        p.setPen(pen(ink, 1.2));
        p.setBrush(land);
        p.drawRect(QRectF(10, 10, 12, 12));
        arrow(p, QPointF(9, 9), QPointF(3, 3), accent, 2.0, 5);
        arrow(p, QPointF(23, 9), QPointF(29, 3), accent, 2.0, 5);
        arrow(p, QPointF(9, 23), QPointF(3, 29), accent, 2.0, 5);
        arrow(p, QPointF(23, 23), QPointF(29, 29), accent, 2.0, 5);
    });
}

// A circular arrow around the centre with a label inside.
QImage rotateIcon(double sweep, const QString& label)
{
    return icon([sweep, label](QPainter& p) {
        const QRectF circle(4, 4, 24, 24);
        p.setBrush(Qt::NoBrush);
        p.setPen(pen(QColor(150, 60, 160), 3.0));
        p.drawArc(circle, 90 * 16, static_cast<int>(sweep * 16));
        const double end = qDegreesToRadians(90.0 + sweep);
        const QPointF tip(16 + 12 * std::cos(end), 16 - 12 * std::sin(end));
        arrowHead(p, tip, 90.0 + sweep + 90.0, 8, QColor(150, 60, 160));
        p.setPen(ink);
        p.setFont(QFont(QStringLiteral("DejaVu Sans"), label.size() > 1 ? 8 : 10, QFont::Bold));
        p.drawText(QRectF(6, 9, 20, 14), Qt::AlignCenter, label);
    });
}

// Two axes from the lower left, labelled.
QImage planeIcon(const QString& horizontal, const QString& vertical, const QColor& colour)
{
    return icon([=](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(colour.red(), colour.green(), colour.blue(), 60));
        p.drawRect(QRectF(5, 9, 18, 18));
        arrow(p, QPointF(5, 27), QPointF(29, 27), colour, 2.5, 6);
        arrow(p, QPointF(5, 27), QPointF(5, 3), colour, 2.5, 6);
        p.setPen(ink);
        p.setFont(QFont(QStringLiteral("DejaVu Sans"), 8, QFont::Bold));
        p.drawText(QRectF(18, 13, 13, 11), Qt::AlignCenter, horizontal);
        p.drawText(QRectF(8, 1, 13, 11), Qt::AlignCenter, vertical);
    });
}

QImage moveIcon(double angleDegrees)
{
    return icon([angleDegrees](QPainter& p) {
        frame(p);
        const double a = qDegreesToRadians(angleDegrees);
        const QPointF direction(std::cos(a), -std::sin(a));
        const QPointF centre(16, 16);
        arrow(p, centre - direction * 10, centre + direction * 12, QColor(30, 120, 60), 4.0, 11);
    });
}

// A magnifying glass with "+" or "-", and an optional double arrow along x or y.
QImage zoomIcon(bool in, char axis)
{
    return icon([in, axis](QPainter& p) {
        const QPointF lens = axis == 0 ? QPointF(13, 13) : QPointF(12, 12);
        const double radius = axis == 0 ? 9.0 : 7.5;
        p.setPen(pen(QColor(90, 60, 30), 4.5));
        p.drawLine(lens + QPointF(radius * 0.7, radius * 0.7), lens + QPointF(radius + 7, radius + 7));
        p.setPen(pen(ink, 2.0));
        p.setBrush(QColor(225, 240, 255));
        p.drawEllipse(lens, radius, radius);
        p.setPen(pen(in ? QColor(30, 130, 50) : QColor(200, 50, 40), 2.5));
        const double s = radius * 0.55;
        p.drawLine(lens - QPointF(s, 0), lens + QPointF(s, 0));
        if (in) {
            p.drawLine(lens - QPointF(0, s), lens + QPointF(0, s));
        }
        // A double arrow along the axis, from its middle outwards.
        const QColor along(150, 60, 160);
        if (axis != 0) {
            const bool x = axis == 'x';
            const QPointF middle = x ? QPointF(21, 28) : QPointF(28, 20);
            const QPointF half = x ? QPointF(10, 0) : QPointF(0, 11);
            const QPointF start = x ? QPointF(1, 0) : QPointF(0, 1);
            arrow(p, middle - start, middle + half, along, 2.0, 5);
            arrow(p, middle + start, middle - half, along, 2.0, 5);
        }
    });
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <images folder>\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]) + QLatin1Char('/');
    const struct {
        const char* name;
        QImage image;
    } pictures[] = {
        {"iconVarnel.png", windowIcon()},
        {"imgLogo.png", logo()},
        {"iconNew.png", newIcon()},
        {"iconOpen.png", openIcon()},
        {"iconSave.png", saveIcon()},
        {"iconUndo.png", turnIcon(true)},
        {"iconRedo.png", turnIcon(false)},
        {"iconVis3D.png", vis3DIcon()},
        {"iconMouseHelp.png", mouseHelpIcon()},
        {"iconViewFit.png", fitIcon()},
        {"iconViewRotateReset.png", rotateIcon(300, QStringLiteral("0"))},
        {"iconViewRotate90.png", rotateIcon(-90, QStringLiteral("90"))},
        {"iconViewXY.png", planeIcon(QStringLiteral("X"), QStringLiteral("Y"), QColor(40, 110, 200))},
        {"iconViewYZ.png", planeIcon(QStringLiteral("Y"), QStringLiteral("Z"), QColor(30, 140, 60))},
        {"iconViewXZ.png", planeIcon(QStringLiteral("X"), QStringLiteral("Z"), QColor(200, 80, 40))},
        {"iconViewMoveLeft.png", moveIcon(180)},
        {"iconViewMoveRight.png", moveIcon(0)},
        {"iconViewMoveUp.png", moveIcon(90)},
        {"iconViewMoveDown.png", moveIcon(270)},
        {"iconViewZoomIn.png", zoomIcon(true, 0)},
        {"iconViewZoomOut.png", zoomIcon(false, 0)},
        {"iconViewZoomInX.png", zoomIcon(true, 'x')},
        {"iconViewZoomOutX.png", zoomIcon(false, 'x')},
        {"iconViewZoomInY.png", zoomIcon(true, 'y')},
        {"iconViewZoomOutY.png", zoomIcon(false, 'y')},
    };
    bool ok = true;
    for (const auto& picture : pictures) {
        ok = save(picture.image, folder + QLatin1String(picture.name)) && ok;
    }
    return ok ? 0 : 1;
}
