// The points for the TIN and their breaklines through the project archive: breakline files
// name the records of the point file written in the same save, whatever renumbered the
// points before (removals, a TIN); equal points load; the lines a breakline file may hold;
// the view setting.
#include "SurveyTestSupport.h"

#include "support/QtPrinters.h"

#include "movarin/survey/BreaklineItem.h"
#include "movarin/survey/CoordinatePointsForTinItem.h"
#include "movarin/survey/CoordinatePointsForTinItemController.h"
#include "movarin/survey/CoordinatePointsForTinItemView.h"
#include "movarin/survey/ReadOnlyTinItem.h"
#include "movarin/survey/ReadOnlyTinItemController.h"
#include "orlin/core/PointFactory.h"
#include "orlin/core/PointSet.h"
#include "orlin/io/TpoPointSetImporter.h"
#include "orlin/util/PointSetToTin.h"

#include <common/exception/RuntimeException.h>

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace varnel::test {
namespace {

using PointPtr = std::shared_ptr<tin::core::Point>;
using Points = std::vector<PointPtr>;

const char BREAKLINE_FILE[] = "coordinatePointsForTin/breakline1.bln";

std::vector<Corner> cornersOf(const Points& points)
{
    std::vector<Corner> corners;
    for (const PointPtr& p : points) {
        corners.push_back({p->x(), p->y(), p->elevation()});
    }
    return corners;
}

std::set<Corner> cornersOf(const tin::core::PointSet& set)
{
    std::set<Corner> corners;
    for (const PointPtr& p : set.allPoints()) {
        corners.insert({p->x(), p->y(), p->elevation()});
    }
    return corners;
}

/// The breaklines of `item`, in child order, as their corner lists.
std::vector<std::vector<Corner>> breaklineCorners(const CoordinatePointsForTinItem& item)
{
    std::vector<std::vector<Corner>> lines;
    for (const BreaklineItem* breakline : item.breaklineItems()) {
        lines.push_back(cornersOf(breakline->points()));
    }
    return lines;
}

class BreaklineStorageTest : public SurveyProjectTest {
protected:
    CoordinatePointsForTinItem* item() const { return root()->coordinatePointsForTinItem(); }
    CoordinatePointsForTinItemController* controller() const { return item()->controller(); }
    tin::core::PointSet* set() const { return item()->pointSet(); }

    /// An n by n grid of points one metre apart, elevations all different.
    Points addGrid(int n)
    {
        Points points;
        for (int j = 0; j < n; ++j) {
            for (int i = 0; i < n; ++i) {
                points.push_back(set()->addPoint(tin::core::Point(i, j, 0.5 * i + 0.25 * j)));
            }
        }
        return points;
    }

    /// Saves into a fresh archive, opens it in `m_reopened` and returns its points item.
    CoordinatePointsForTinItem* saveAndReopen()
    {
        const QString archive = m_outside.filePath(QStringLiteral("river.cmvn"));
        saveTo(archive);
        CreateModeMainWindowModelRootItem* reopened = openCreateProject(m_reopened, archive);
        return reopened ? reopened->coordinatePointsForTinItem() : nullptr;
    }

    QTemporaryDir m_outside;
    ProjectSession m_reopened;
};

TEST_F(BreaklineStorageTest, SaveAfterRemovingPointsKeepsTheBreaklines)
{
    const Points p = addGrid(4);
    controller()->addBreakline({p[1], p[5], p[9]});
    controller()->addBreakline({p[15], p[3]});
    // Removing points moves others into their places: the order and numbers change.
    controller()->removePoints({p[0], p[2], p[4], p[6], p[7]});
    item()->view()->setViewSetting(CoordinatePointsBaseItemViewSetting(Qt::red, 4, false));
    const auto before = breaklineCorners(*item());
    const std::set<Corner> points = cornersOf(*set());

    CoordinatePointsForTinItem* reopened = saveAndReopen();
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(breaklineCorners(*reopened), before);
    EXPECT_EQ(cornersOf(*reopened->pointSet()), points);
    for (const BreaklineItem* breakline : reopened->breaklineItems()) {
        for (const PointPtr& point : breakline->points()) {
            EXPECT_TRUE(reopened->pointSet()->hasPoint(point));
        }
    }
    EXPECT_EQ(reopened->view()->viewSetting(),
              CoordinatePointsBaseItemViewSetting(Qt::red, 4, false));
}

TEST_F(BreaklineStorageTest, SavesAfterATinRenumberedTheSharedPoints)
{
    // Ground points of a real survey, taken over as the same objects.
    const tin::core::PointSet surveyed = tin::io::TpoPointSetImporter().importPointSet(
        MOVARIN_SHARED_DATA_DIR "/real/points/warsaw_small-ground.tpo");
    const Points p = surveyed.allPoints();
    ASSERT_GT(p.size(), 500u);
    for (const PointPtr& point : p) {
        set()->addPoint(point);
    }
    controller()->addBreakline({p[10], p[200], p[300], p[450]});
    controller()->addBreakline({p[20], p[120]});
    const tin::core::Tin tin = tin::util::PointSetToTin::convertCleanPointSet(*set(), false, false);
    ASSERT_FALSE(tin.empty());
    root()->tinItem()->controller()->pushSetTinCommand(tin, QStringLiteral("Create TIN"));
    const auto before = breaklineCorners(*item());

    // The TIN archive renumbers the points it shares with the set after the breaklines are
    // written; the next save writes them again from its own numbering.
    ASSERT_TRUE(project().save());
    CoordinatePointsForTinItem* reopened = saveAndReopen();
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(breaklineCorners(*reopened), before);
    EXPECT_EQ(cornersOf(*reopened->pointSet()), cornersOf(*set()));
    const ReadOnlyTinItem* reopenedTin = createRootOf(m_reopened)->tinItem();
    ASSERT_NE(reopenedTin->tin(), nullptr);
    EXPECT_EQ(trianglesOf(*reopenedTin->tin()), trianglesOf(tin));
}

TEST_F(BreaklineStorageTest, PointsMadeEqualByAnElevationEditSaveAndReopen)
{
    // Two points at one place with different elevations are two points of the set.
    const PointPtr p = set()->addPoint(tin::core::Point(1.0, 1.0, 3.0));
    const PointPtr q = set()->addPoint(tin::core::Point(1.0, 1.0, 4.0));
    const PointPtr r = set()->addPoint(tin::core::Point(5.0, 1.0, 0.0));
    const PointPtr s = set()->addPoint(tin::core::Point(1.0, 5.0, 0.0));
    ASSERT_NE(p, q);
    controller()->addBreakline({p, r});
    controller()->addBreakline({s, q});
    controller()->editPointsElevation({p, q}, 5.0);
    const auto before = breaklineCorners(*item());

    CoordinatePointsForTinItem* reopened = saveAndReopen();
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(breaklineCorners(*reopened), before);
    const std::vector<BreaklineItem*> lines = reopened->breaklineItems();
    ASSERT_EQ(lines.size(), 2u);
    // Equal records are read as one point, which both breaklines now share.
    EXPECT_EQ(lines[0]->points()[1], lines[1]->points()[0]);
    EXPECT_EQ(reopened->pointSet()->allPoints().size(), 3u);
}

TEST_F(BreaklineStorageTest, BreaklineFileLines)
{
    const Points p = addGrid(4);
    controller()->addBreakline({p[0], p[1]});
    const QString archive = m_outside.filePath(QStringLiteral("river.cmvn"));
    saveTo(archive);
    // Saving numbered the points as the records of the point file.
    auto record = [&p](int id) {
        for (const PointPtr& point : p) {
            if (point->id() == id) {
                return Corner{point->x(), point->y(), point->elevation()};
            }
        }
        ADD_FAILURE() << "no record " << id;
        return Corner{};
    };

    const auto openWith = [&](ProjectSession& session, const QByteArray& content) {
        Project* unpacked = unpackCreateProject(session, archive);
        QFile file(unpacked->absoluteFileName(QString::fromLatin1(BREAKLINE_FILE)));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
        file.close();
        unpacked->load();
        return createRootOf(session)->coordinatePointsForTinItem();
    };
    {
        SCOPED_TRACE("further tokens, empty lines, tabs, blanks and CRLF");
        ProjectSession session;
        CoordinatePointsForTinItem* loaded = openWith(session, "12, 7\n\n \t\n3\t9\r\n 5 \r\n");
        ASSERT_EQ(loaded->breaklineItems().size(), 1u);
        EXPECT_EQ(cornersOf(loaded->breaklineItems()[0]->points()),
                  std::vector<Corner>({record(12), record(3), record(5)}));
    }
    for (const QByteArray& content :
         {QByteArray("4\n16\n"), QByteArray("4\nx7\n"), QByteArray("4\n7.5\n")}) {
        SCOPED_TRACE(content.toStdString());
        ProjectSession session;
        try {
            openWith(session, content);
            ADD_FAILURE() << "the load did not fail";
        } catch (const common::exception::RuntimeException& e) {
            EXPECT_STREQ(e.what(), "Unexpected error in importing breakline.");
        }
    }
}

TEST_F(BreaklineStorageTest, PointsTheSetNoLongerHoldsAreNotWritten)
{
    const Points p = addGrid(2);
    const PointPtr stranger = std::make_shared<tin::core::Point>(9.0, 9.0, 9.0);
    BreaklineItem* breakline = item()->newBreakline(QStringLiteral("odd"), {p[0], stranger, p[3]});
    item()->attachChildAtFront(breakline);
    CoordinatePointsForTinItem* reopened = saveAndReopen();
    ASSERT_NE(reopened, nullptr);
    ASSERT_EQ(reopened->breaklineItems().size(), 1u);
    EXPECT_EQ(cornersOf(reopened->breaklineItems()[0]->points()), cornersOf(Points({p[0], p[3]})));
    EXPECT_EQ(reopened->breaklineItems()[0]->caption(), "odd");
}

} // namespace
} // namespace varnel::test
