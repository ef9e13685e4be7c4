#include "movarin/shell/BandPainter.h"

#include <QImage>
#include <QRect>

#include <algorithm>
#include <exception>
#include <system_error>
#include <thread>
#include <vector>

namespace varnel {

namespace {

// Below this many shapes the threads cost more than they save.
constexpr std::size_t MIN_WORK = 4096;
constexpr int MIN_BAND_ROWS = 32;

} // namespace

int BandPainter::bandsFor(std::size_t work, const QImage& image)
{
    if (work < MIN_WORK || image.devicePixelRatio() != 1.0) {
        return 1;
    }
    const int processors = static_cast<int>(std::thread::hardware_concurrency());
    return std::max(1, std::min({MAX_BANDS, processors, image.height() / MIN_BAND_ROWS}));
}

int BandPainter::bandTop(int height, int bands, int index)
{
    return static_cast<int>(static_cast<long long>(height) * index / bands);
}

void BandPainter::paint(QImage* image, int bands, QPainter::RenderHints hints,
                        const std::function<void(QPainter*, int)>& paintBand)
{
    if (bands <= 1) {
        QPainter painter(image);
        painter.setRenderHints(hints);
        paintBand(&painter, 0);
        return;
    }
    uchar* const bits = image->bits();
    const int width = image->width();
    const int height = image->height();
    const int bytesPerLine = image->bytesPerLine();
    const QImage::Format format = image->format();
    auto run = [&](int index) {
        // A second image over the same pixels, so that every band has a painter of its own.
        QImage whole(bits, width, height, bytesPerLine, format);
        QPainter painter(&whole);
        painter.setRenderHints(hints);
        const int top = bandTop(height, bands, index);
        painter.setClipRect(QRect(0, top, width, bandTop(height, bands, index + 1) - top));
        paintBand(&painter, index);
    };
    // A band that fails hands its exception to the caller once every band is done.
    std::vector<std::exception_ptr> failures(static_cast<std::size_t>(bands));
    auto guarded = [&](int index) {
        try {
            run(index);
        } catch (...) {
            failures[static_cast<std::size_t>(index)] = std::current_exception();
        }
    };
    std::vector<std::thread> workers;
    int started = 1;
    try {
        for (; started < bands; ++started) {
            workers.emplace_back(guarded, started);
        }
    } catch (const std::system_error&) {
        // Paint what found no thread here.
    }
    guarded(0);
    for (int index = started; index < bands; ++index) {
        guarded(index);
    }
    for (std::thread& worker : workers) {
        worker.join();
    }
    for (const std::exception_ptr& failure : failures) {
        if (failure) {
            std::rethrow_exception(failure);
        }
    }
}

} // namespace varnel
