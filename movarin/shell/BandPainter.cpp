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

// Runs work(index) for every index below `count`, index 0 on the caller's thread, the others
// on threads of their own (or after it, on the caller's thread, when no thread can be
// started), and returns when all are done. The first failure is rethrown then.
void onThreads(int count, const std::function<void(int)>& work)
{
    std::vector<std::exception_ptr> failures(static_cast<std::size_t>(count));
    auto guarded = [&](int index) {
        try {
            work(index);
        } catch (...) {
            failures[static_cast<std::size_t>(index)] = std::current_exception();
        }
    };
    std::vector<std::thread> workers;
    int started = 1;
    try {
        for (; started < count; ++started) {
            workers.emplace_back(guarded, started);
        }
    } catch (const std::system_error&) {
        // Run what found no thread here.
    }
    guarded(0);
    for (int index = started; index < count; ++index) {
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

} // namespace

int BandPainter::bandsFor(std::size_t work, const QImage& image)
{
    if (work < MIN_WORK || image.devicePixelRatio() != 1.0) {
        return 1;
    }
    const int processors = static_cast<int>(std::thread::hardware_concurrency());
    return std::max(1, std::min({MAX_BANDS, processors, image.height() / MIN_BAND_ROWS}));
}

int BandPainter::threadsFor(std::size_t work)
{
    if (work < MIN_WORK) {
        return 1;
    }
    const int processors = static_cast<int>(std::thread::hardware_concurrency());
    return std::max(1, std::min(MAX_BANDS, processors));
}

int BandPainter::bandTop(int height, int bands, int index)
{
    return static_cast<int>(static_cast<long long>(height) * index / bands);
}

void BandPainter::forEachBand(int bands, const std::function<void(int)>& work)
{
    onThreads(std::max(bands, 1), work);
}

void BandPainter::paint(QImage* image, int bands, QPainter::RenderHints hints,
                        const std::function<void(QPainter*, int)>& paintBand)
{
    paint(image, bands, hints, nullptr, paintBand);
}

void BandPainter::paint(QImage* image, int bands, QPainter::RenderHints hints,
                        const std::function<void(int)>& prepare,
                        const std::function<void(QPainter*, int)>& paintBand)
{
    if (bands <= 1) {
        if (prepare) {
            prepare(0);
        }
        QPainter painter(image);
        painter.setRenderHints(hints);
        paintBand(&painter, 0);
        return;
    }
    if (prepare) {
        onThreads(bands, prepare);
    }
    uchar* const bits = image->bits();
    const int width = image->width();
    const int height = image->height();
    const int bytesPerLine = image->bytesPerLine();
    const QImage::Format format = image->format();
    onThreads(bands, [&](int index) {
        // A second image over the same pixels, so that every band has a painter of its own.
        QImage whole(bits, width, height, bytesPerLine, format);
        QPainter painter(&whole);
        painter.setRenderHints(hints);
        const int top = bandTop(height, bands, index);
        painter.setClipRect(QRect(0, top, width, bandTop(height, bands, index + 1) - top));
        paintBand(&painter, index);
    });
}

} // namespace varnel
