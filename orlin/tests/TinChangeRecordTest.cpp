// Where a TIN's triangles changed since a marked revision: the box must hold every triangle
// added or removed since (checked against the boxes of the triangles the test itself changed),
// and the TIN must refuse to answer whenever it cannot bound the change.
#include "orlin/core/Point.h"
#include "orlin/core/Rect.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"

#include "TinTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <vector>

using namespace tin::core;

namespace {

// The union of the triangles' boxes, computed from their corners; invalid for none.
Rect boxOf(const std::vector<std::shared_ptr<Triangle>>& triangles)
{
    if (triangles.empty()) {
        return Rect();
    }
    double x0 = 1e300, y0 = 1e300, x1 = -1e300, y1 = -1e300;
    for (const auto& t : triangles) {
        for (int i = 0; i < 3; ++i) {
            x0 = std::min(x0, t->point(i)->x());
            y0 = std::min(y0, t->point(i)->y());
            x1 = std::max(x1, t->point(i)->x());
            y1 = std::max(y1, t->point(i)->y());
        }
    }
    return Rect(x0, y0, x1, y1);
}

void expectSameBox(const Rect& found, const Rect& expected)
{
    ASSERT_EQ(found.isValid(), expected.isValid());
    if (expected.isValid()) {
        EXPECT_EQ(found.xMin(), expected.xMin());
        EXPECT_EQ(found.yMin(), expected.yMin());
        EXPECT_EQ(found.xMax(), expected.xMax());
        EXPECT_EQ(found.yMax(), expected.yMax());
    }
}

class TinChangeRecordTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const auto& c : tintest::gridTriangles(
                 40, 40, [](int, int) { return false; }, [](double x, double y) { return x - y; })) {
            m_triangles.push_back(m_tin.addTriangle(c.a, c.b, c.c));
        }
    }

    Tin m_tin;
    std::vector<std::shared_ptr<Triangle>> m_triangles;
};

TEST_F(TinChangeRecordTest, TheBoxIsThatOfEveryTriangleRemovedOrAddedSinceTheMark)
{
    std::mt19937 random(5);
    std::vector<std::shared_ptr<Triangle>> held = m_triangles;
    std::vector<std::shared_ptr<Triangle>> taken;
    std::vector<std::shared_ptr<Triangle>> changed;
    for (int round = 0; round < 20; ++round) {
        m_tin.markRevision();
        const std::uint64_t marked = m_tin.revision();
        Rect where;
        ASSERT_TRUE(m_tin.changedSince(marked, &where));
        EXPECT_FALSE(where.isValid()) << "nothing changed yet";
        changed.clear();
        // A few triangles out (one by one) and some of those taken earlier back (as a batch),
        // as an undo swaps them.
        for (int k = 0; k < 3; ++k) {
            std::uniform_int_distribution<std::size_t> pick(0, held.size() - 1);
            const std::size_t at = pick(random);
            m_tin.removeTriangle(held[at]);
            changed.push_back(held[at]);
            taken.push_back(held[at]);
            held.erase(held.begin() + static_cast<std::ptrdiff_t>(at));
        }
        if (round % 3 == 2) {
            std::vector<std::shared_ptr<Triangle>> back(taken.begin(), taken.begin() + 2);
            taken.erase(taken.begin(), taken.begin() + 2);
            m_tin.addTriangles(back.data(), back.size());
            changed.insert(changed.end(), back.begin(), back.end());
            held.insert(held.end(), back.begin(), back.end());
        }
        ASSERT_TRUE(m_tin.changedSince(marked, &where));
        expectSameBox(where, boxOf(changed));
    }
    ASSERT_EQ(m_tin.allTriangles().size(), held.size());
}

TEST_F(TinChangeRecordTest, AnEarlierMarkSeesEveryLaterChangeAndOnlyTheLastMarksAreKept)
{
    std::vector<std::uint64_t> marks;
    std::vector<std::shared_ptr<Triangle>> removed;
    for (int k = 0; k < 10; ++k) {
        m_tin.markRevision();
        m_tin.markRevision();  // a second mark of the same revision is the same mark
        marks.push_back(m_tin.revision());
        const auto& t = m_triangles[static_cast<std::size_t>(37 * k + 11)];
        m_tin.removeTriangle(t);
        removed.push_back(t);
    }
    Rect where;
    for (std::size_t k = 0; k < marks.size(); ++k) {
        if (k < 2) {
            EXPECT_FALSE(m_tin.changedSince(marks[k], &where)) << "mark " << k << " is gone";
            continue;
        }
        ASSERT_TRUE(m_tin.changedSince(marks[k], &where)) << "mark " << k;
        expectSameBox(where, boxOf({removed.begin() + static_cast<std::ptrdiff_t>(k), removed.end()}));
    }
    EXPECT_FALSE(m_tin.changedSince(m_tin.revision(), &where)) << "never marked";
}

TEST_F(TinChangeRecordTest, UnboundedChangesRefuseAndCopiesAndMovesCarryTheRecordOn)
{
    Rect where;
    m_tin.markRevision();
    std::uint64_t marked = m_tin.revision();
    m_tin.addTriangle(std::shared_ptr<Triangle>());
    EXPECT_FALSE(m_tin.changedSince(marked, &where)) << "a change of no triangle is not bounded";

    m_tin.markRevision();
    marked = m_tin.revision();
    m_tin.removeTriangle(m_triangles[0]);
    ASSERT_TRUE(m_tin.changedSince(marked, &where));
    m_tin.clear();
    EXPECT_FALSE(m_tin.changedSince(marked, &where)) << "a clear is not bounded";

    // A merge copies the TIN and edits the copy: the copy's record goes on from the
    // source's marks, apart from the source's own.
    Tin other;
    for (const auto& t : m_triangles) {
        other.addTriangle(t);
    }
    other.markRevision();
    const std::uint64_t before = other.revision();
    Tin copy(other);
    EXPECT_EQ(copy.lineage(), other.lineage());
    EXPECT_NE(Tin().lineage(), other.lineage());
    ASSERT_TRUE(copy.changedSince(before, &where)) << "the copy carries the source's marks";
    EXPECT_FALSE(where.isValid());
    copy.removeTriangle(m_triangles[5]);
    ASSERT_TRUE(copy.changedSince(before, &where));
    expectSameBox(where, boxOf({m_triangles[5]}));
    ASSERT_TRUE(other.changedSince(before, &where)) << "the source keeps its marks";
    EXPECT_FALSE(where.isValid()) << "the copy's change is not the source's";

    Tin moved(std::move(copy));
    EXPECT_EQ(moved.lineage(), other.lineage());
    moved.removeTriangle(m_triangles[900]);
    ASSERT_TRUE(moved.changedSince(before, &where));
    expectSameBox(where, boxOf({m_triangles[5], m_triangles[900]}));

    Tin assigned;
    assigned = moved;
    EXPECT_EQ(assigned.lineage(), other.lineage());
    ASSERT_TRUE(assigned.changedSince(before, &where));
    expectSameBox(where, boxOf({m_triangles[5], m_triangles[900]}));
}

} // namespace
