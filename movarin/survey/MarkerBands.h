#pragma once

#include "movarin/shell/BandPainter.h"
#include "movarin/survey/PointMarkerStamp.h"

#include <QImage>
#include <QPointF>
#include <QRgb>

#include <algorithm>
#include <cstddef>
#include <vector>

namespace varnel {

/// Stamps the markers of a list of points into one layer, in order, in horizontal bands on
/// several threads (`BandPainter::forEachBand`): the same pixels as stamping marker 0, 1, 2 ...
/// one after another on one thread, overlaps included, since every band writes only its own
/// rows and stamps, in list order, exactly the markers that reach them.
///
/// Two passes. First every thread takes a slice of the list and notes, a byte per marker,
/// which bands the marker's rows meet (none for a marker off the layer); then every thread
/// takes a band and stamps, in list order, the markers noted for it, clipped to its rows. A
/// marker's centre is asked for in both passes, its colour only in the second.
///
/// `centreOf(k)` and `colourOf(k)` (widget centre and premultiplied colour of marker k) are
/// called from several threads at once: they must only read what stays unchanged during the
/// call (for orlin points: read through a raw pointer, never copy a shared pointer), and must
/// give the same answer every time. One band (everything on the caller's thread) when
/// `bands` is 1. Costs a byte per marker besides the layer.
class MarkerBands {
public:
    template <class CentreOf, class ColourOf>
    static void stamp(QImage& layer, const PointMarkerStamp& marker, std::size_t count,
                      int bands, const CentreOf& centreOf, const ColourOf& colourOf)
    {
        if (bands <= 1 || layer.isNull()) {
            for (std::size_t k = 0; k < count; ++k) {
                marker.stamp(layer, centreOf(k), colourOf(k));
            }
            return;
        }
        bands = std::min(bands, BandPainter::MAX_BANDS);
        const Bands rows(layer.height(), bands);
        std::vector<unsigned char> bandsOf(count);
        BandPainter::forEachBand(bands, [&](int slice) {
            const std::size_t from = count * static_cast<std::size_t>(slice) / bands;
            const std::size_t to = count * static_cast<std::size_t>(slice + 1) / bands;
            for (std::size_t k = from; k < to; ++k) {
                int first = 0;
                int last = 0;
                bandsOf[k] = marker.rowsOf(layer, centreOf(k), first, last)
                                 ? rows.bandsMeeting(first, last)
                                 : 0;
            }
        });
        uchar* const bits = layer.bits();
        const int width = layer.width();
        const int height = layer.height();
        const int bytesPerLine = layer.bytesPerLine();
        const QImage::Format format = layer.format();
        BandPainter::forEachBand(bands, [&](int band) {
            // An image of its own over the same pixels: QImage's own bookkeeping is not
            // shared between threads.
            QImage own(bits, width, height, bytesPerLine, format);
            const unsigned char bit = static_cast<unsigned char>(1u << band);
            const int top = rows.top(band);
            const int bottom = rows.top(band + 1);
            for (std::size_t k = 0; k < count; ++k) {
                if (bandsOf[k] & bit) {
                    marker.stamp(own, centreOf(k), colourOf(k), top, bottom);
                }
            }
        });
    }

private:
    /// Where each band of a layer begins (`BandPainter::bandTop`).
    class Bands {
    public:
        Bands(int height, int count) : m_count(count)
        {
            for (int b = 0; b <= count; ++b) {
                m_tops[b] = BandPainter::bandTop(height, count, b);
            }
        }
        int top(int band) const { return m_tops[band]; }
        /// The bands that rows `first` to `last` meet, bit b for band b.
        unsigned char bandsMeeting(int first, int last) const
        {
            unsigned mask = 0;
            for (int b = 0; b < m_count; ++b) {
                if (last >= m_tops[b] && first < m_tops[b + 1]) {
                    mask |= 1u << b;
                }
            }
            return static_cast<unsigned char>(mask);
        }

    private:
        int m_count;
        int m_tops[BandPainter::MAX_BANDS + 1] = {};
    };
};

} // namespace varnel
