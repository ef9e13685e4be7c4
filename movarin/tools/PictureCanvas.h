#pragma once

// What the picture tools share: a transparent canvas and writing a PNG file (its folder made
// when missing).
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QString>

#include <cstdio>

namespace pictures {

inline QImage canvas(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

inline bool save(const QImage& image, const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "Cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace pictures
