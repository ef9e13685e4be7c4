// The grid-model export as the user runs it (Export > Zindral Grid data, the dialog, the
// boxes): the three files of a plane TIN with reference lines and value polygons, checked by
// check_grid_csv.py against the saved project, and the refusals, which write nothing.
#include "ExportsTestSupport.h"

#include "geodata/GeoDataTestSupport.h"
#include "support/ModalAnswerer.h"
#include "support/QtPrinters.h"

#include "movarin/sections/CrossSectionItem.h"
#include "movarin/sections/GeoDataGroupItem.h"

#include <common/test/FileSizeLimit.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <vector>

namespace varnel::test {
namespace {

const QStringList FILES{QStringLiteral("ZND_kilometer-post.csv"),
                        QStringLiteral("ZND_longitudinal_section.csv"),
                        QStringLiteral("ZND_cross_section.csv")};

/// What the dialog is given.
struct GridInput {
    QString folder;
    QString river = QStringLiteral("鬼怒川");
    QString date = QStringLiteral("2023-05-01");
    int system = 0; ///< list position; -1 keeps what the dialog shows
    int zone = -1;  ///< list position; -1 keeps what the dialog shows
};

class ZindralGridExportTest : public ExportsTest {
protected:
    /// Export > Zindral Grid data, the dialog filled as `input` says, then OK.
    void exportGrid(const GridInput& input)
    {
        m_script.clearRecords();
        ModalAnswerer answerer([&](QWidget* dialog) {
            // A folder through the browse button; none by clearing the field.
            QWidget* folder = dialog->findChild<QWidget*>("folderWidget");
            if (input.folder.isEmpty()) {
                folder->findChild<QLineEdit*>()->clear();
            } else {
                m_script.answerDirectory(input.folder);
                QTest::mouseClick(folder->findChild<QPushButton*>(), Qt::LeftButton);
            }
            for (const auto& [name, text] : {std::pair{"riverNameEdit", input.river},
                                             std::pair{"surveyDateEdit", input.date}}) {
                // Committed as an input method commits Japanese text.
                auto edit = dialog->findChild<QLineEdit*>(QLatin1String(name));
                edit->clear();
                QInputMethodEvent typed;
                typed.setCommitString(text);
                QApplication::sendEvent(edit, &typed);
            }
            if (input.system >= 0) {
                dialog->findChild<QComboBox*>("coordinateSystemList")
                    ->setCurrentIndex(input.system);
            }
            if (input.zone >= 0) {
                dialog->findChild<QComboBox*>("systemNumberList")->setCurrentIndex(input.zone);
            }
            QTest::mouseClick(dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                              Qt::LeftButton);
        });
        exportAction(QStringLiteral("Zindral Grid data"))->trigger();
        EXPECT_TRUE(answerer.answered());
    }

    /// The one box of the last export: its title and text.
    std::pair<QString, QString> onlyBox() const
    {
        const auto boxes = m_script.messageBoxes();
        EXPECT_EQ(boxes.size(), 1u);
        return boxes.empty() ? std::pair<QString, QString>()
                             : std::pair{boxes[0].title, boxes[0].text};
    }

    /// Every name in the folder, hidden ones too, sorted.
    static QStringList entriesIn(const QString& folder)
    {
        return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                      QDir::Name);
    }

    QStringList lines(const QString& file) const
    {
        return QString::fromLatin1(fileBytes(QDir(m_dir.path()).filePath(file))).split('\n');
    }

    /// A plane TIN over [0, 100]², reference lines 1, 2, C, 3, 4 running north at x about 11,
    /// 30, 50, 70 and 90 from y -5 to 105, five sections running east across them, overlapping
    /// roughness polygons and polygons in each other value group.
    void buildRiver()
    {
        const tin::core::Tin tin = planeTin(Plane{20.0, 0.01, -0.02});
        setTins(&tin, &tin);
        GeoDataGroupItem* reference = geoGroup("referenceinformation");
        attachPolyline(reference, QStringLiteral("1"), {{11.0, -5.0}, {12.0, 50.0}, {10.0, 105.0}});
        attachPolyline(reference, QStringLiteral("2"), {{30.0, -5.0}, {31.0, 105.0}});
        attachPolyline(reference, QStringLiteral("c"), {{50.0, -5.0}, {47.0, 40.0}, {52.0, 105.0}});
        attachPolyline(reference, QStringLiteral("3"), {{70.0, -5.0}, {71.5, 105.0}});
        attachPolyline(reference, QStringLiteral("4"), {{90.0, -5.0}, {91.0, 60.0}, {89.0, 105.0}});
        addSection(QStringLiteral("No.1"), QPointF(2.0, 20.0), QPointF(98.0, 25.0));
        addSection(QStringLiteral("No.2"), QPointF(-10.0, 52.0), QPointF(105.0, 47.0));
        addSection(QStringLiteral("No.3"), QPointF(5.0, 80.0), QPointF(95.0, 88.0));
        // Leaving the TIN before lines 3 and 4 (both clamped to its last row, where 4 wins),
        // and wholly beyond it (a block without rows).
        addSection(QStringLiteral("No.4"), QPointF(2.0, 95.0), QPointF(98.0, 104.0));
        addSection(QStringLiteral("No.5"), QPointF(2.0, 103.0), QPointF(98.0, 104.0));
        // The first child is the top polygon: it wins where the two overlap (x 40 to 60).
        attachPolygon(geoGroup("roughness"), QStringLiteral("top"),
                      {{40.0, 40.0}, {80.0, 40.0}, {80.0, 110.0}, {40.0, 110.0}}, 0.05);
        attachPolygon(geoGroup("roughness"), QStringLiteral("bottom"),
                      {{20.0, -10.0}, {60.0, -10.0}, {60.0, 110.0}, {20.0, 110.0}}, 0.035);
        attachPolygon(geoGroup("deadarea"), QStringLiteral("dead"),
                      {{61.0, -10.0}, {75.0, -10.0}, {75.0, 110.0}, {61.0, 110.0}}, 1);
        // Its west side follows line 1 with no TIN edge between on No.1: the row put in there
        // takes line 1's panel.
        attachPolygon(geoGroup("vegetationheight"), QStringLiteral("reeds"),
                      {{15.0, -10.0}, {35.0, -10.0}, {35.0, 60.0}, {15.0, 60.0}}, 2.5);
        attachPolygon(geoGroup("vegetationdensity"), QStringLiteral("sparse"),
                      {{80.0, 30.0}, {95.0, 30.0}, {95.0, 110.0}, {80.0, 110.0}}, 1);
        // Begins on No.1 inside the dead area, 1.5 m after it with no TIN edge between: the
        // row put in there ends a stretch of the dead area.
        attachPolygon(geoGroup("vegetationdensity"), QStringLiteral("patch"),
                      {{62.5, -10.0}, {66.0, -10.0}, {66.0, 40.0}, {62.5, 40.0}}, 1);
    }
};

TEST_F(ZindralGridExportTest, TheFilesOfARiverMatchItsSectionsLinesAndPolygons)
{
    buildRiver();
    exportGrid({m_dir.path()});
    EXPECT_EQ(onlyBox(), std::pair(QStringLiteral("Information"),
                                   QStringLiteral("Grid data is successfully exported to %1.")
                                       .arg(QDir::toNativeSeparators(m_dir.path()))));
    const QString project = saveProject();
    CheckerRun run = runChecker(QStringLiteral("check_grid_csv.py"), {m_dir.path(), project});
    EXPECT_EQ(run.exitCode, 0) << run.output.toStdString();
    EXPECT_TRUE(run.output.endsWith(QLatin1String("OK"))) << run.output.toStdString();
    EXPECT_EQ(lines(FILES[0]).value(3), "1,");

    // The row put in where the reeds begin, right after line 1's crossing on No.1.
    const QStringList rows = lines(FILES[2]);
    const int first = rows.indexOf(QStringLiteral("[start]"));
    int panelOne = 0;
    for (int i = first; i < rows.indexOf(QStringLiteral("[end]"), first); ++i) {
        panelOne += rows[i].section(QLatin1Char(','), 2, 2) == QLatin1String("1");
    }
    EXPECT_EQ(panelOne, 2);

    exportGrid({m_dir.path(), QStringLiteral("Kinu"), QStringLiteral("2024"), 4, 53});
    EXPECT_EQ(lines(FILES[0]).value(3), "5,54");
    run = runChecker(QStringLiteral("check_grid_csv.py"), {m_dir.path(), project});
    EXPECT_EQ(run.exitCode, 0) << run.output.toStdString();
}

// Each refusal shows its box, writes no file and no success box.
TEST_F(ZindralGridExportTest, ARefusalWritesNothing)
{
    const auto refused = [&](const GridInput& input, const QString& title, const QString& text) {
        exportGrid(input);
        EXPECT_EQ(onlyBox(), std::pair(title, text));
        EXPECT_TRUE(QDir(m_dir.path()).isEmpty()) << text.toStdString();
    };
    const QString warning = QStringLiteral("Warning");
    refused({m_dir.path()}, warning, QStringLiteral("Polylines 1, 2, 3, 4, C does not exists."));
    buildRiver();
    refused({QString()}, warning, QStringLiteral("Output folder is not specified."));
    const QString missing = scratch(QStringLiteral("missing"));
    refused({missing}, warning,
            QStringLiteral("The folder %1 does not exist.").arg(QDir::toNativeSeparators(missing)));
    refused({m_dir.path(), QStringLiteral("Kinu, upper")}, warning,
            QStringLiteral("The text \"Kinu, upper\" contains a comma or a line break."));
    refused(
        {m_dir.path(), QStringLiteral("Kinu"), QStringLiteral("2023\u2212") + QStringLiteral("05")},
        warning,
        QStringLiteral(
            "The text \"2023\u221205\" contains characters that Shift-JIS cannot encode."));

    // Control characters, in the dialog's texts and in a section's name; a line break keeps
    // its own message.
    refused({m_dir.path(), QStringLiteral("Kinu\u0001")}, warning,
            QStringLiteral("Kinu\u0001 holds a control character."));
    refused({m_dir.path(), QStringLiteral("Kinu"), QStringLiteral("2023\t05")}, warning,
            QStringLiteral("2023\t05 holds a control character."));
    refused({m_dir.path(), QStringLiteral("Kinu\u007f")}, warning,
            QStringLiteral("Kinu\u007f holds a control character."));
    refused({m_dir.path(), QStringLiteral("Kinu\nupper")}, warning,
            QStringLiteral("The text \"Kinu\nupper\" contains a comma or a line break."));
    CrossSectionItem* bell = addSection(QStringLiteral("No.6\u0007"), QPointF(2.0, 60.0),
                                        QPointF(98.0, 62.0));
    refused({m_dir.path()}, warning, QStringLiteral("No.6\u0007 holds a control character."));
    bell->setName(QStringLiteral("No.6"));

    // A section running along line C's bend, crossing it twice and missing the others, and
    // one of no length, which crosses none.
    addSection(QStringLiteral("hook"), QPointF(46.0, 0.0), QPointF(50.5, 90.0));
    addSection(QStringLiteral("point"), QPointF(50.0, 50.0), QPointF(50.0, 50.0));
    refused(
        {m_dir.path()}, warning,
        QStringLiteral("The following pairs of polylines and cross sections does not intersects: \n"
                       "hook, 1\nhook, 2\nhook, 3\nhook, 4\nhook, c\n"
                       "point, 1\npoint, 2\npoint, 3\npoint, 4\npoint, c"));

    // Lines 3 and 4 meeting at an end: that comes before the sections.
    GeoDataPolylineItem* line4 =
        geoGroup("referenceinformation")->polylineByCaption(QStringLiteral("4"));
    line4->setPolyline(new tin::core::Polyline(std::vector<tin::core::Point2D>{
        tin::core::Point2D(90.0, -5.0), tin::core::Point2D(71.5, 105.0)}));
    refused({m_dir.path()}, warning,
            QStringLiteral("The five polylines should not have cross sections."));
}

// The three are replaced as a set: when the last cannot be written, the first two are not
// either, whether they are new (a folder in the third's way) or there from an earlier export
// (a disk that fills while the third is written).
TEST_F(ZindralGridExportTest, AFileThatCannotBeWrittenLeavesAllThreeAsTheyWere)
{
    buildRiver();
    const QString blocked = scratch(FILES[2]);
    ASSERT_TRUE(QDir().mkdir(blocked));
    exportGrid({m_dir.path()});
    EXPECT_EQ(onlyBox(),
              std::pair(QStringLiteral("Error"),
                        QStringLiteral("Cannot write %1.").arg(QDir::toNativeSeparators(blocked))));
    EXPECT_TRUE(QFileInfo(blocked).isDir());
    EXPECT_EQ(entriesIn(m_dir.path()), QStringList{FILES[2]});
    ASSERT_TRUE(QDir().rmdir(blocked));

    exportGrid({m_dir.path()});
    ASSERT_EQ(onlyBox().first, QStringLiteral("Information"));
    std::vector<QByteArray> earlier;
    for (const QString& file : FILES) {
        earlier.push_back(fileBytes(scratch(file)));
    }
    // Room for either of the first two, not for the third.
    const int room = std::max(earlier[0].size(), earlier[1].size()) + 256;
    ASSERT_GT(earlier[2].size(), room + 256);
    {
        common::test::FileSizeLimit limit(static_cast<rlim_t>(room));
        ASSERT_TRUE(limit.active());
        exportGrid({m_dir.path(), QStringLiteral("Kinu"), QStringLiteral("2024")});
    }
    EXPECT_EQ(onlyBox(),
              std::pair(QStringLiteral("Error"),
                        QStringLiteral("Cannot write %1.").arg(QDir::toNativeSeparators(blocked))));
    for (int i = 0; i < FILES.size(); ++i) {
        EXPECT_EQ(fileBytes(scratch(FILES[i])), earlier[i]) << FILES[i].toStdString();
    }
    QStringList all = FILES;
    all.sort();
    EXPECT_EQ(entriesIn(m_dir.path()), all) << "no temporary file stays";
}

// Reference lines with coordinates of denormal size: two that cross are found to cross, as at
// any other size. The relate graph behind Geometry::intersects says that the first pair does
// not cross, and on the second pair (ordinary coordinates beside denormal ones) leaves
// edge-end bundles behind that LeakSanitizer reports.
TEST_F(ZindralGridExportTest, ReferenceLinesOfDenormalSizeThatCrossAreRefused)
{
    buildRiver();
    const double d = std::numeric_limits<double>::denorm_min() * 1000.0;
    const Vertices one{{10.0, -5.0}, {10.5, 5.0}};
    const Vertices two{{20.0, -5.0}, {20.5, 5.0}};
    const Vertices c{{30.0, -5.0}, {31.0, 0.0}, {30.0, 5.0}};
    const std::pair<Vertices, Vertices> crossings[] = {
        {{{30.0 * d, 0.0}, {60.0 * d, 100.0 * d}}, {{30.0 * d, 100.0 * d}, {60.0 * d, 0.0}}},
        {{{-0x1.f9d3c0a034bc3p-1, 0x0.0000000000288p-1022},
          {0x0.00000000001afp-1022, 0x1.264222183943p-1},
          {0x0p+0, -0x0.006260fc73e25p-1022}},
         {{0x0p+0, 0x1.547d4e90e3cp-10},
          {0x0.0000000000138p-1022, 0x0p+0},
          {0x0p+0, -0x0.00284abc5b25ap-1022},
          {0x0.00cc842858b51p-1022, 0x1.f95c4226fe3d2p-1},
          {0x0p+0, -0x0.000c75e8bbc5ep-1022},
          {-0x0.0003bca76c4fp-1022, 0x1.07c1f40f6854p-3},
          {0x0p+0, 0x0.0000000000339p-1022}}},
    };
    GeoDataGroupItem* reference = geoGroup("referenceinformation");
    for (const auto& [three, four] : crossings) {
        for (const auto& [caption, vertices] : {std::pair{"1", one}, std::pair{"2", two},
                                                std::pair{"c", c}, std::pair{"3", three},
                                                std::pair{"4", four}}) {
            std::vector<tin::core::Point2D> points;
            for (const auto& [x, y] : vertices) {
                points.emplace_back(x, y, -1);
            }
            reference->polylineByCaption(QLatin1String(caption))
                ->setPolyline(new tin::core::Polyline(points));
        }
        exportGrid({m_dir.path()});
        EXPECT_EQ(onlyBox(),
                  std::pair(QStringLiteral("Warning"),
                            QStringLiteral("The five polylines should not have cross sections.")));
        EXPECT_TRUE(QDir(m_dir.path()).isEmpty());
    }
}

} // namespace
} // namespace varnel::test
