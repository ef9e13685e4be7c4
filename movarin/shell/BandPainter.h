#pragma once

#include <QPainter>

#include <cstddef>
#include <functional>

class QImage;

namespace varnel {

/// Paints one image on several threads at once, each thread in its own horizontal band: the
/// one place where the application paints off the GUI thread (the TIN painting uses it for
/// pictures of many triangles, the point painting for layers of many markers). Each band gets a painter of its own on the whole image,
/// clipped to the band, so a shape is rasterised exactly as on the whole image and the
/// bands put together equal one painter drawing everything; the threads write disjoint
/// rows. The caller hands each band what it is to draw; band code must not touch widgets,
/// fonts or anything else that is not safe off the GUI thread. Keeps no global state;
/// threads are started per call and joined before it returns (a band whose thread cannot be
/// started is painted on the caller's thread).
class BandPainter {
public:
    static constexpr int MAX_BANDS = 4;

    /// How many bands suit `work` shapes on `image`: 1 (no threads) for little work, a
    /// small image or one with a device pixel ratio other than 1; else the processors, at
    /// most `MAX_BANDS`.
    static int bandsFor(std::size_t work, const QImage& image);
    /// How many threads suit `work` items of a list that need no image: 1 (no threads) for
    /// little work, else the processors, at most `MAX_BANDS`.
    static int threadsFor(std::size_t work);
    /// The first row of band `index` of `bands` on an image of `height` rows (`index` ==
    /// `bands` gives `height`).
    static int bandTop(int height, int bands, int index);
    /// Runs work(index) for every index below `bands`, index 0 on the caller's thread and the
    /// others on threads of their own, and returns when all are done; the first failure is
    /// rethrown then. For band work that needs no painter (markers written straight into an
    /// image's rows, say) and for slices of a list prepared before the bands draw.
    static void forEachBand(int bands, const std::function<void(int)>& work);
    /// Runs paintBand(painter, index) for every band, with the render hints `hints`, and
    /// returns when all are done. Band 0 runs on the caller's thread. An exception of a band
    /// is rethrown here once every band has ended.
    static void paint(QImage* image, int bands, QPainter::RenderHints hints,
                      const std::function<void(QPainter*, int)>& paintBand);
    /// The same after prepare(index) has run for every index below `bands`, on as many
    /// threads: the bands' shared input (the shapes converted to widget points, say) is made
    /// a slice per thread before any band paints. A failure of `prepare` is rethrown once
    /// every slice has ended, and nothing is painted then. A null `prepare` prepares nothing.
    static void paint(QImage* image, int bands, QPainter::RenderHints hints,
                      const std::function<void(int)>& prepare,
                      const std::function<void(QPainter*, int)>& paintBand);
};

} // namespace varnel
