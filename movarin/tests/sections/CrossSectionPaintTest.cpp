// A cross section as the main view paints it: a black line 3 pixels wide; while selected, a
// magenta dot at S, a green dot at E and the labels "L" and "R" outside the two ends.
#include "SectionsTestSupport.h"

#include "movarin/sections/CrossSectionGroupItem.h"
#include "movarin/sections/CrossSectionItem.h"
#include "movarin/shell/BandPainter.h"

#include "brask/core/ModelItemView.h"
#include "brask/core/View.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRect>

#include <cmath>
#include <functional>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace varnel::test {
namespace {

bool isMagenta(QRgb c)
{
    return qRed(c) > 200 && qGreen(c) < 80 && qBlue(c) > 200;
}

bool isGreen(QRgb c)
{
    return qGreen(c) > 200 && qRed(c) < 80 && qBlue(c) < 80;
}

bool isBlack(QRgb c)
{
    return qRed(c) < 40 && qGreen(c) < 40 && qBlue(c) < 40;
}

/// How many pixels of `area` (clipped to the image) satisfy `test`.
template <class Test>
int count(const QImage& image, const QRect& area, Test test)
{
    int n = 0;
    const QRect r = area & image.rect();
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            n += test(image.pixel(x, y)) ? 1 : 0;
        }
    }
    return n;
}

/// The square of `half` pixels about `p`.
QRect around(const QPoint& p, int half)
{
    return QRect(p - QPoint(half, half), p + QPoint(half, half));
}

class CrossSectionPaintTest : public SectionsTest {};

TEST_F(CrossSectionPaintTest, UnselectedSectionIsABlackLineOnly)
{
    addSection(QStringLiteral("K1"), {-50.0, 0.0}, {50.0, 0.0});
    const QImage image = grab();
    const QPoint s = pixel({-50.0, 0.0});
    const QPoint e = pixel({50.0, 0.0});
    for (int x = s.x() + 5; x <= e.x() - 5; x += 10) {
        EXPECT_TRUE(isBlack(image.pixel(x, s.y()))) << x;
        EXPECT_EQ(count(image, QRect(x, s.y() - 1, 1, 3), isBlack), 3) << "3 pixels wide at " << x;
        EXPECT_FALSE(isBlack(image.pixel(x, s.y() - 3))) << x;
        EXPECT_FALSE(isBlack(image.pixel(x, s.y() + 3))) << x;
    }
    EXPECT_EQ(count(image, image.rect(), isMagenta), 0);
    EXPECT_EQ(count(image, image.rect(), isGreen), 0);
}

TEST_F(CrossSectionPaintTest, SelectedSectionShowsItsEndsAndLabelsOutsideThem)
{
    struct Case {
        QPointF start;
        QPointF end;
        QPoint labelL; ///< direction from S to where "L" lies: x and y each -1 or +1
        QPoint labelR;
    };
    // Screen y grows downwards. E right of S on one row: "L" left of S, "R" right of E,
    // both above the line. E left of and below S: "L" right of S above it, "R" left of E
    // below it.
    const Case cases[] = {
        {{-50.0, 0.0}, {50.0, 0.0}, {-1, -1}, {1, -1}},
        {{50.0, 40.0}, {-50.0, -40.0}, {1, -1}, {-1, 1}},
    };
    CrossSectionItem* previous = nullptr;
    for (const Case& c : cases) {
        if (previous) {
            group()->deleteChild(previous);
        }
        CrossSectionItem* section = addSection(QStringLiteral("K1"), c.start, c.end);
        previous = section;
        select(section);
        const QImage image = grab();
        const QPoint s = pixel(c.start);
        const QPoint e = pixel(c.end);
        EXPECT_GT(count(image, around(s, 2), isMagenta), 0);
        EXPECT_GT(count(image, around(e, 2), isGreen), 0);
        EXPECT_EQ(count(image, image.rect(), isGreen), count(image, around(e, 5), isGreen))
            << "green only at E";

        // Magenta beyond the dot lies in the quadrant of the label only. The text may touch
        // the lines through the anchor (a glyph's side bearing, a descent below the base
        // line), so the other quadrants start a few pixels off them.
        const auto quadrant = [](const QPoint& anchor, const QPoint& direction, int margin) {
            const QPoint corner = anchor + margin * direction;
            return QRect(corner, anchor + 40 * direction).normalized();
        };
        for (const auto& [anchor, direction] :
             {std::pair<QPoint, QPoint>{s, c.labelL}, std::pair<QPoint, QPoint>{e, c.labelR}}) {
            EXPECT_GT(count(image, quadrant(anchor, direction, 0), isMagenta)
                          - count(image, quadrant(anchor, direction, 0) & around(anchor, 5),
                                  isMagenta),
                      10);
            for (const QPoint other : {QPoint(-direction.x(), direction.y()),
                                       QPoint(direction.x(), -direction.y()),
                                       QPoint(-direction.x(), -direction.y())}) {
                EXPECT_EQ(count(image, quadrant(anchor, other, 5), isMagenta), 0);
            }
        }
    }
}

// Many sections are drawn by the group's view in bands on several threads: the picture is
// the one of drawing each section's view in turn, last to first, with the selected one, an
// unchecked one and the painter's clip in between.
TEST_F(CrossSectionPaintTest, ManySectionsPaintAsTheirViewsOneByOne)
{
    const QPoint corner = pixel({0.0, 0.0});
    ASSERT_GT(corner.x(), -100000); // the view maps the world
    std::vector<CrossSectionItem*> sections;
    for (int i = 0; i < 6000; ++i) {
        const double a = 0.37 * i;
        const double r = 20.0 + (i % 97);
        sections.push_back(addSection(QStringLiteral("M%1").arg(i),
                                      {std::cos(a) * r, std::sin(a) * r * 0.7},
                                      {-std::cos(a * 1.3) * r * 0.9, std::sin(a * 0.6) * r}));
    }
    select(sections[10]); // drawn by its own view between a long run and a short one
    sections[4000]->setUnchecked();
    sections[7]->setUnchecked();
    const QSize size = view()->size();
    for (const bool clipped : {false, true}) {
        SCOPED_TRACE(clipped ? "clipped" : "whole");
        const auto picture = [&](const std::function<void(QPainter*)>& draw) {
            QImage image(size, QImage::Format_RGBX8888);
            image.fill(Qt::darkGray);
            QPainter painter(&image);
            if (clipped) {
                painter.setClipRect(QRect(size.width() / 5, size.height() / 3, size.width() / 2,
                                          size.height() / 4));
            }
            draw(&painter);
            painter.end();
            return image;
        };
        const QImage together = picture([&](QPainter* painter) {
            group()->view()->paintMainView(painter, QTransform(), QRectF());
        });
        const QImage oneByOne = picture([&](QPainter* painter) {
            for (auto it = sections.rbegin(); it != sections.rend(); ++it) {
                (*it)->view()->paintMainView(painter, QTransform(), QRectF());
            }
        });
        if (std::thread::hardware_concurrency() > 1) {
            EXPECT_GT(BandPainter::bandsFor(sections.size(), together), 1) << "drawn in bands";
        }
        EXPECT_GT(count(together, together.rect(), isBlack), 1000);
        EXPECT_GT(count(together, together.rect(), isMagenta), 0) << "the selected one's dot";
        EXPECT_TRUE(together == oneByOne);
    }
}

} // namespace
} // namespace varnel::test
