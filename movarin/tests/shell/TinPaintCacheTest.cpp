// The kept TIN pictures following noted changes: a picture follows its TIN from the revision
// it was drawn at to the revision the change left, through the clearing every undoable edit
// makes, and is handed out only for drawing its changed part again; a picture of any other
// state is dropped.
#include "movarin/shell/TinPaintCache.h"

#include <gtest/gtest.h>

#include <QObject>

namespace varnel {
namespace {

class TinPaintCacheTest : public ::testing::Test {
protected:
    TinPaintCache::Key keyAt(std::uint64_t revision) const
    {
        TinPaintCache::Key key;
        key.revision = revision;
        key.pixels = QSize(8, 6);
        key.rect = QRectF(0, 0, 80, 60);
        return key;
    }
    QImage picture(QRgb colour) const
    {
        QImage image(8, 6, QImage::Format_ARGB32_Premultiplied);
        image.fill(colour);
        return image;
    }

    QObject m_view;
    // Two TINs by address only: the cache never reads them.
    int m_tin = 0;
    int m_replacement = 0;
};

TEST_F(TinPaintCacheTest, ANotedChangeKeepsThePictureThroughClearingForItsChangedPartOnly)
{
    TinPaintCache* cache = TinPaintCache::of(&m_view);
    cache->store(&m_tin, keyAt(7), picture(0xff112233));
    cache->noteChange(&m_tin, 7, &m_tin, 9, QRectF(10, 20, 5, 5));
    cache->noteChange(&m_tin, 9, &m_replacement, 12, QRectF(30, 10, -4, 2));  // any orientation
    cache->clear();
    cache->clear();
    EXPECT_EQ(cache->size(), 1u);
    EXPECT_EQ(cache->find(&m_replacement, keyAt(12)), nullptr) << "handed out before its change was drawn";
    QRectF area;
    EXPECT_TRUE(cache->takeDamaged(&m_tin, keyAt(12), &area).isNull()) << "the replaced TIN's picture";
    EXPECT_TRUE(cache->takeDamaged(&m_replacement, keyAt(9), &area).isNull()) << "another revision";
    const QImage followed = cache->takeDamaged(&m_replacement, keyAt(12), &area);
    EXPECT_EQ(followed, picture(0xff112233));
    EXPECT_EQ(area, QRectF(QPointF(10, 10), QPointF(30, 25)));
    EXPECT_EQ(cache->size(), 0u);
    // Stored again, it is an ordinary picture: shown as it is, and cleared.
    cache->store(&m_replacement, keyAt(12), followed);
    EXPECT_NE(cache->find(&m_replacement, keyAt(12)), nullptr);
    cache->clear();
    EXPECT_EQ(cache->size(), 0u);
}

TEST_F(TinPaintCacheTest, APictureOfAnotherStateThanTheNotedChangeStartsFromIsDropped)
{
    TinPaintCache* cache = TinPaintCache::of(&m_view);
    cache->store(&m_tin, keyAt(7), picture(0xff112233));
    cache->store(&m_replacement, keyAt(3), picture(0xff445566));
    // The TIN changed unnoted (revision 8) before this change from 8 to 9.
    cache->noteChange(&m_tin, 8, &m_tin, 9, QRectF(0, 0, 1, 1));
    EXPECT_EQ(cache->size(), 1u);
    QRectF area;
    EXPECT_TRUE(cache->takeDamaged(&m_tin, keyAt(9), &area).isNull());
    // A picture the new TIN had is of another state of it.
    cache->store(&m_tin, keyAt(9), picture(0xff112233));
    cache->noteChange(&m_tin, 9, &m_replacement, 10, QRectF(0, 0, 1, 1));
    EXPECT_EQ(cache->size(), 1u);
    EXPECT_FALSE(cache->takeDamaged(&m_replacement, keyAt(10), &area).isNull());
}

TEST_F(TinPaintCacheTest, OverlayPicturesFollowNoChange)
{
    TinPaintCache* cache = TinPaintCache::of(&m_view, TinPaintCache::Shelf::Overlay);
    cache->store(&m_tin, keyAt(7), picture(0xff112233));
    cache->noteChange(&m_tin, 7, &m_tin, 9, QRectF(0, 0, 1, 1));
    cache->clear();
    EXPECT_EQ(cache->size(), 0u);
}

} // namespace
} // namespace varnel
