// The group's names, menus and shapefile exchange, with GDAL's ogrinfo as the reader of what
// is written and of the real files imported: fields and values, names refused, failed
// writes, imports with automatic names and a specified value, refused files, skipped and
// joined records, records whose coordinates the project could not hold, rings without their
// closing repeat, and each kind exported apart and imported again.
#include "GeoDataTestSupport.h"

#include "ShpTestSupport.h"

#include "movarin/sections/GeoDataTopForEditItem.h"
#include "movarin/sections/RealValueEditWidget.h"
#include "movarin/shell/MainWindow.h"
#include "movarin/shell/ProjectFile.h"

#include "brask/core/ModelItemController.h"
#include "kalmo/ShpPolygonWriter.h"
#include "kalmo/ShpPolylineWriter.h"
#include "movarin/sections/GeoDataShapeItemController.h"
#include "movarin/shell/EditModeMainWindow.h"
#include "movarin/shell/EditModeMainWindowModel.h"
#include "movarin/shell/EditModeMainWindowModelRootItem.h"

#include <guimisc/widget/RealNumberEditWidget.h>

#include <QAbstractButton>
#include <QFile>
#include <QMenu>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QUndoStack>
#include <QWizard>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

namespace varnel::test {
namespace {

const std::string NETWORK = shptest::realShapefile("a001_network.shp");
const std::string ATTRIBUTES = shptest::realShapefile("attributes.shp");

/// The field definitions as ogrinfo prints them: name to "Type (width.precision)".
std::map<std::string, std::string> fieldTypes(const QString& shp)
{
    std::map<std::string, std::string> types;
    const QRegularExpression definition(QStringLiteral("^(\\w+): (\\w+ \\([0-9.]+\\))$"));
    const QString summary = QString::fromStdString(
        shptest::run(QStringLiteral("ogrinfo"), {"-ro", "-al", "-so", shp}));
    for (const QString& line : summary.split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch m = definition.match(line);
        if (m.hasMatch()) {
            types[m.captured(1).toStdString()] = m.captured(2).toStdString();
        }
    }
    return types;
}

/// Whether two rings are the same closed line, whatever their start and direction; a closing
/// vertex repeating the first is ignored in either.
bool sameRing(Vertices a, Vertices b, double tolerance)
{
    for (Vertices* ring : {&a, &b}) {
        if (ring->size() > 1 && ring->front() == ring->back()) {
            ring->pop_back();
        }
    }
    if (a.size() != b.size()) {
        return false;
    }
    auto near = [&](const std::pair<double, double>& p, const std::pair<double, double>& q) {
        return std::abs(p.first - q.first) <= tolerance
               && std::abs(p.second - q.second) <= tolerance;
    };
    const std::size_t n = a.size();
    for (int direction : {1, -1}) {
        for (std::size_t start = 0; start < n; ++start) {
            bool all = true;
            for (std::size_t i = 0; i < n && all; ++i) {
                const std::size_t j = direction > 0 ? (start + i) % n : (start + n - i) % n;
                all = near(a[i], b[j]);
            }
            if (all) {
                return true;
            }
        }
    }
    return false;
}

bool sameLine(const Vertices& a, const Vertices& b, double tolerance)
{
    return a.size() == b.size()
           && std::equal(a.begin(), a.end(), b.begin(), [&](const auto& p, const auto& q) {
                  return std::abs(p.first - q.first) <= tolerance
                         && std::abs(p.second - q.second) <= tolerance;
              });
}

/// Chooses "Polyline" in the export-type dialog and accepts it.
void choosePolylines(QWidget* dialog)
{
    dialog->findChild<QRadioButton*>(QStringLiteral("polylineRadioButton"))->setChecked(true);
    static_cast<QDialog*>(dialog)->accept();
}

/// A wizard answer: the given choices on the pages, then Next and Finish.
std::function<void(QWidget*)> wizardAnswer(std::function<void(QWizard*)> choose = {})
{
    return [choose](QWidget* widget) {
        auto wizard = static_cast<QWizard*>(widget);
        if (choose) {
            choose(wizard);
        }
        wizard->next();
        wizard->button(QWizard::FinishButton)->click();
    };
}

void check(QWizard* wizard, const char* button)
{
    wizard->findChild<QRadioButton*>(QLatin1String(button))->setChecked(true);
}

class GeoDataShapefileTest : public GeoDataTest {
protected:
    QString scratchFile(const QString& name) const { return m_dir.filePath(name); }

    void exportTo(GeoDataGroupItem* group, const QString& path)
    {
        m_script.answerFile(path);
        triggerMenuEntry(group, QStringLiteral("&Export..."));
    }
    /// Imports `path` into the group; the wizard gets `answer`. Whether the wizard opened.
    bool importFrom(GeoDataGroupItem* group, const std::string& path,
                    const std::function<void(QWidget*)>& answer = wizardAnswer())
    {
        m_script.answerFile(QString::fromStdString(path));
        ModalAnswerer wizard(answer);
        triggerMenuEntry(group, QStringLiteral("&Import..."));
        return wizard.answered();
    }
    QString statusText() { return m_session.mainWindow().statusBar()->currentMessage(); }
    std::vector<QString> captionsOf(const GeoDataGroupItem* group) const
    {
        std::vector<QString> captions;
        for (const mvc::core::ModelItem* child : group->childItems()) {
            captions.push_back(child->caption());
        }
        return captions;
    }
    template <class Item>
    Item* childAt(const GeoDataGroupItem* group, std::size_t row) const
    {
        return qobject_cast<Item*>(group->childItems().at(row));
    }

    QTemporaryDir m_dir;
};

TEST_F(GeoDataShapefileTest, NamesFillTheFirstGapAndOnlyValuelessGroupsTakePolylines)
{
    GeoDataGroupItem* reference = group("referenceinformation");
    attachPolygon(reference, "Polygon1", {{0, 0}, {1, 0}, {0, 1}}, 0);
    attachPolyline(reference, "Polygon3", {{0, 0}, {1, 1}});
    EXPECT_EQ(addPolygon(reference)->caption(), "Polygon2");
    EXPECT_EQ(addPolyline(reference)->caption(), "Polyline1");
    EXPECT_EQ(doneTexts().back(), "Add new polyline");

    QStringList entries;
    for (QAction* action : reference->controller()->rightClickMenu()->actions()) {
        entries << (action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    EXPECT_EQ(entries, QStringList({"&Import...", "-", "Add &Polygon", "Add &Polyline", "-",
                                    "&Export...", "-", "&Delete all..."}));
    for (const char* valued : {"roughness", "deadarea", "vegetationheight", "vegetationdensity"}) {
        EXPECT_EQ(menuAction(group(valued)->controller()->rightClickMenu()->actions(),
                             QStringLiteral("Add &Polyline")),
                  nullptr)
            << valued;
    }
}

TEST_F(GeoDataShapefileTest, ExportWritesNamesAndValuesAsGdalReadsThem)
{
    const Vertices square{{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    const Vertices triangle{{20, 0}, {30, 5}, {20, 10}};
    attachPolygon(group("roughness"), "bed", square, 0.015);
    attachPolygon(group("roughness"), "unfinished", {{1, 1}, {2, 2}}, 0.5);
    attachPolygon(group("roughness"), "bank", triangle, QVariant(QStringLiteral("0.25")));
    attachPolygon(group("deadarea"), "pond", triangle, QVariant(QStringLiteral("1")));

    const QString rough = scratchFile(QStringLiteral("rough.shp"));
    exportTo(group("roughness"), rough);
    ASSERT_EQ(m_script.messageBoxes().size(), 1u);
    EXPECT_EQ(m_script.messageBoxes()[0].title, "Warning");
    EXPECT_EQ(m_script.messageBoxes()[0].text,
              "1 polygons with fewer than 3 points were not exported.");
    EXPECT_EQ(statusText(), "Data successfully exported to " + rough);
    const auto types = fieldTypes(rough);
    EXPECT_EQ(types.at("Name"), "String (255.0)");
    EXPECT_EQ(types.at("Value"), "Real (40.6)");
    const auto features = shptest::ogrFeatures(rough.toStdString());
    ASSERT_EQ(features.size(), 2u);
    EXPECT_EQ(features[0].fields.at("Name"), "bed");
    EXPECT_EQ(features[0].fields.at("Value"), "0.015000");
    EXPECT_EQ(features[1].fields.at("Value"), "0.250000");
    EXPECT_TRUE(sameRing(features[0].vertices(), square, 0));
    EXPECT_TRUE(sameRing(features[1].vertices(), triangle, 0));

    const QString dead = scratchFile(QStringLiteral("dead.shp"));
    exportTo(group("deadarea"), dead);
    EXPECT_EQ(fieldTypes(dead).at("Value"), "Integer64 (10.0)");
    EXPECT_EQ(shptest::ogrFeatures(dead.toStdString()).at(0).fields.at("Value"), "1");

    // Reference information has no value field.
    attachPolygon(group("referenceinformation"), "field", square, 0);
    const QString reference = scratchFile(QStringLiteral("reference.shp"));
    exportTo(group("referenceinformation"), reference);
    EXPECT_EQ(fieldTypes(reference).count("Value"), 0u);
}

TEST_F(GeoDataShapefileTest, ANonAsciiNameIsAskedAgainAndAFailedWriteKeepsTheEarlierFiles)
{
    GeoDataGroupItem* rough = group("roughness");
    GeoDataPolygonItem* polygon = attachPolygon(rough, "bed", {{0, 0}, {10, 0}, {0, 10}}, 0.03);
    const QString good = scratchFile(QStringLiteral("rough.shp"));
    m_script.answerFile(scratchFile(QString::fromUtf8("fl\xc3\xbcsse.shp")))
        .answer(QMessageBox::Ok)
        .answerFile(good);
    triggerMenuEntry(rough, QStringLiteral("&Export..."));
    const auto& records = m_script.records();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].kind, guimisc::UserDialogs::Kind::SaveFileName);
    EXPECT_EQ(records[0].title, "Select file name to export");
    EXPECT_EQ(records[0].filter, "Shape file(*.shp)");
    EXPECT_EQ(records[1].text, "Please specify file name only with ASCII characters.");
    EXPECT_EQ(records[2].kind, guimisc::UserDialogs::Kind::SaveFileName);
    EXPECT_TRUE(QFile::exists(good));
    EXPECT_FALSE(QFile::exists(scratchFile(QString::fromUtf8("fl\xc3\xbcsse.shp"))));

    auto bytes = [&](const char* suffix) {
        QFile file(scratchFile(QStringLiteral("rough") + QLatin1String(suffix)));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const QByteArray shp = bytes(".shp");
    const QByteArray dbf = bytes(".dbf");
    // A value wider than its field makes the write fail half way.
    polygon->setValue(1e60);
    m_script.clearRecords();
    m_session.mainWindow().statusBar()->clearMessage();
    exportTo(rough, good);
    ASSERT_EQ(m_script.messageBoxes().size(), 1u);
    EXPECT_EQ(m_script.messageBoxes()[0].title, "Error");
    EXPECT_EQ(m_script.messageBoxes()[0].text, "File open error");
    EXPECT_EQ(statusText(), "");
    EXPECT_EQ(bytes(".shp"), shp);
    EXPECT_EQ(bytes(".dbf"), dbf);
    // So does a folder that is not there.
    m_script.clearRecords();
    exportTo(rough, scratchFile(QStringLiteral("missing/rough.shp")));
    ASSERT_EQ(m_script.messageBoxes().size(), 1u);
    EXPECT_EQ(m_script.messageBoxes()[0].text, "File open error");
}

TEST_F(GeoDataShapefileTest, RealNetworkImportsWithAutomaticNamesLastRecordFirst)
{
    GeoDataGroupItem* reference = group("referenceinformation");
    definePolygon(reference, {{0, 0}, {10, 0}, {0, 10}});
    ASSERT_GT(undoStack()->count(), 0);
    QSignalSpy announced(top(), &GeoDataTopItem::geoDataPolylineChanged);
    ASSERT_TRUE(importFrom(reference, NETWORK,
                           wizardAnswer([](QWizard* w) { check(w, "nameAutomaticButton"); })));

    const auto features = shptest::ogrFeatures(NETWORK);
    ASSERT_EQ(features.size(), 12u);
    ASSERT_EQ(reference->childItems().size(), 13u);
    for (std::size_t row = 0; row < 12; ++row) {
        SCOPED_TRACE(row);
        auto polyline = childAt<GeoDataPolylineItem>(reference, row);
        ASSERT_NE(polyline, nullptr);
        EXPECT_EQ(polyline->caption(), QStringLiteral("Polyline%1").arg(12 - row));
        EXPECT_TRUE(
            sameLine(verticesOf(*polyline->polyline()), features[11 - row].vertices(), 1e-6));
    }
    EXPECT_EQ(reference->childItems().back()->caption(), "Polygon1");
    EXPECT_EQ(undoStack()->count(), 0);
    EXPECT_TRUE(m_session.project()->projectFile()->isModified());
    EXPECT_FALSE(announced.isEmpty());
    EXPECT_EQ(statusText(), "Data successfully imported from " + QString::fromStdString(NETWORK));
    // The definition's information, and no warning: nothing was skipped or joined.
    EXPECT_EQ(m_script.messageBoxes().size(), 1u);
}

TEST_F(GeoDataShapefileTest, RealPolygonsTakeASpecifiedValueOrZero)
{
    ASSERT_TRUE(importFrom(group("roughness"), ATTRIBUTES, wizardAnswer([](QWizard* w) {
        check(w, "valueSpecifiedButton");
        w->findChild<RealValueEditWidget*>()
            ->findChild<guimisc::widget::RealNumberEditWidget*>()
            ->setText(QStringLiteral("0.035"));
    })));
    const auto features = shptest::ogrFeatures(ATTRIBUTES);
    ASSERT_EQ(features.size(), 5u);
    GeoDataGroupItem* rough = group("roughness");
    ASSERT_EQ(rough->childItems().size(), 5u);
    for (std::size_t row = 0; row < 5; ++row) {
        SCOPED_TRACE(row);
        auto polygon = childAt<GeoDataPolygonItem>(rough, row);
        EXPECT_EQ(polygon->value(), QVariant(0.035));
        // Names from the first column, "id".
        EXPECT_EQ(polygon->caption().toStdString(), features[4 - row].fields.at("id"));
        EXPECT_TRUE(sameRing(verticesOf(*polygon->polygon()), features[4 - row].vertices(), 1e-9));
    }

    // In a group without values the value is 0, whatever the wizard says.
    GeoDataGroupItem* reference = group("referenceinformation");
    ASSERT_TRUE(importFrom(reference, ATTRIBUTES, wizardAnswer([](QWizard* w) {
        check(w, "valueSpecifiedButton");
    })));
    ASSERT_EQ(reference->childItems().size(), 5u);
    EXPECT_EQ(childAt<GeoDataPolygonItem>(reference, 0)->value(), QVariant(0));
}

TEST_F(GeoDataShapefileTest, FilesThatCannotGoIntoTheGroupAreRefusedBeforeTheWizard)
{
    const std::string points = scratchFile(QStringLiteral("points.shp")).toStdString();
    shptest::ogr2ogr(points, shptest::feature("{\"type\":\"Point\",\"coordinates\":[1,2]}"));
    struct Case {
        const char* group;
        std::string file;
        const char* title;
        const char* text;
    };
    const Case cases[] = {
        {"roughness", NETWORK, "Warning", "Polylines can not be imported to this group."},
        {"referenceinformation", points, "Warning",
         "Only polygons or polylines can be imported from shape file."},
        {"referenceinformation", scratchFile(QStringLiteral("missing.shp")).toStdString(),
         "Error", "File open error"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        m_script.clearRecords();
        EXPECT_FALSE(importFrom(group(c.group), c.file, [](QWidget* w) {
            static_cast<QDialog*>(w)->reject();
        }));
        ASSERT_EQ(m_script.messageBoxes().size(), 1u);
        EXPECT_EQ(m_script.messageBoxes()[0].title, c.title);
        EXPECT_EQ(m_script.messageBoxes()[0].text, c.text);
        EXPECT_TRUE(group(c.group)->childItems().empty());
    }
}

TEST_F(GeoDataShapefileTest, RecordsWithTooFewPointsAreSkippedAndPartsJoined)
{
    const std::string shp = scratchFile(QStringLiteral("mixed.shp")).toStdString();
    shptest::ogr2ogr(
        shp,
        shptest::feature("{\"type\":\"Polygon\",\"coordinates\":[[[0,0],[4,0],[0,4],[0,0]]]}",
                         "{\"n\":\"good\"}")
            + "," +
            shptest::feature("{\"type\":\"Polygon\",\"coordinates\":[[[0,0],[4,4],[0,0],[0,0]]]}",
                             "{\"n\":\"flat\"}")
            + "," +
            shptest::feature("{\"type\":\"MultiPolygon\",\"coordinates\":[[[[0,0],[1,0],[0,1],"
                             "[0,0]]],[[[5,5],[6,5],[5,6],[5,5]]]]}",
                             "{\"n\":\"two\"}"),
        {"-nlt", "MULTIPOLYGON"});
    GeoDataGroupItem* reference = group("referenceinformation");
    ASSERT_TRUE(importFrom(reference, shp));
    EXPECT_EQ(captionsOf(reference), (std::vector<QString>{"two", "good"}));
    EXPECT_EQ(childAt<GeoDataPolygonItem>(reference, 0)->polygon()->pointsCount(), 8);
    ASSERT_EQ(m_script.messageBoxes().size(), 1u);
    EXPECT_EQ(m_script.messageBoxes()[0].text,
              "1 records with too few distinct points were skipped; 1 records of several parts "
              "were joined into one.");
}

TEST_F(GeoDataShapefileTest, RecordsWithCoordinatesTheProjectCannotHoldAreSkippedWithOneWarning)
{
    // Written with the library's own writers, which take any number: a NaN, an infinity and a
    // coordinate of 1e10 (beyond any plane coordinate system) beside records that fit, one of
    // them just inside the limit.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    using Points = std::vector<tin::core::Point2D>;
    const std::vector<std::pair<QString, Points>> records{
        {"good", {{0, 0, -1}, {10, 0, -1}, {0, 10, -1}}},
        {"nan", {{0, 0, -1}, {nan, 0, -1}, {0, 10, -1}}},
        {"far", {{1e9, 1e9, -1}, {1e9 - 10, 1e9, -1}, {1e9, 1e9 - 10, -1}}},
        {"inf", {{0, 0, -1}, {10, 0, -1}, {0, inf, -1}}},
        {"huge", {{0, 0, -1}, {1e10, 0, -1}, {0, 10, -1}}},
    };
    const std::string areas = scratchFile(QStringLiteral("areas.shp")).toStdString();
    const std::string lines = scratchFile(QStringLiteral("lines.shp")).toStdString();
    {
        tinshp::ShpPolygonWriter polygons;
        tinshp::ShpPolylineWriter polylines;
        ASSERT_TRUE(polygons.open(areas));
        ASSERT_TRUE(polylines.open(lines));
        polygons.addStringAttribute("Name");
        polylines.addStringAttribute("Name");
        for (std::size_t i = 0; i < records.size(); ++i) {
            tin::core::Polygon polygon(records[i].second);
            tin::core::Polyline polyline(records[i].second);
            polygons.writePolygon(static_cast<int>(i), &polygon);
            polygons.writeStringAttribute(static_cast<int>(i), 0, records[i].first);
            polylines.writePolyline(static_cast<int>(i), &polyline);
            polylines.writeStringAttribute(static_cast<int>(i), 0, records[i].first);
        }
        polygons.close();
        polylines.close();
    }

    GeoDataGroupItem* reference = group("referenceinformation");
    for (const std::string& file : {areas, lines}) {
        SCOPED_TRACE(file);
        m_script.clearRecords();
        ASSERT_TRUE(importFrom(reference, file));
        ASSERT_EQ(m_script.messageBoxes().size(), 1u);
        EXPECT_EQ(m_script.messageBoxes()[0].title, "Warning");
        EXPECT_EQ(m_script.messageBoxes()[0].text,
                  "3 records were skipped: a coordinate is not a finite number.");
    }
    EXPECT_EQ(captionsOf(reference), (std::vector<QString>{"far", "good", "far", "good"}));

    // What was taken saves, and the project opens again with it.
    EditModeMainWindowModelRootItem* reopened = saveAndReopen(scratchFile("held.emvn"));
    ASSERT_NE(reopened, nullptr);
    GeoDataGroupItem* back = reopened->geoDataTopItem()->groupItem("referenceinformation");
    EXPECT_EQ(captionsOf(back), captionsOf(reference));
    EXPECT_EQ(verticesOf(*childAt<GeoDataPolylineItem>(back, 0)->polyline()),
              (Vertices{{1e9, 1e9}, {1e9 - 10, 1e9}, {1e9, 1e9 - 10}}));
}

TEST_F(GeoDataShapefileTest, AnImportedRingHasNoClosingRepeatAndIsExportedClosedOnce)
{
    const std::string triangle = scratchFile(QStringLiteral("triangle.shp")).toStdString();
    shptest::ogr2ogr(
        triangle,
        shptest::feature("{\"type\":\"Polygon\",\"coordinates\":[[[0,0],[0,40],[40,0],[0,0]]]}",
                         "{\"n\":\"tri\"}"));
    GeoDataGroupItem* reference = group("referenceinformation");
    ASSERT_TRUE(importFrom(reference, triangle));
    auto polygon = childAt<GeoDataPolygonItem>(reference, 0);
    ASSERT_NE(polygon, nullptr);
    const Vertices read = verticesOf(*polygon->polygon());
    ASSERT_EQ(read.size(), 3u);
    EXPECT_TRUE(sameRing(read, {{0, 0}, {0, 40}, {40, 0}}, 0));
    // A triangle is at its minimum: no vertex can go.
    window()->model()->select(polygon);
    EXPECT_FALSE(controllerOf(polygon)->removeVertexAction()->isEnabled());

    // Dragging the first corner moves the corner, and the ring stays a triangle.
    dragFromTo(QPointF(read[0].first, read[0].second), QPointF(-20, -20));
    EXPECT_EQ(polygon->polygon()->pointsCount(), 3);
    EXPECT_EQ(verticesOf(*polygon->polygon())[0], std::make_pair(-20.0, -20.0));

    // The real polygons each lose exactly the repeat GDAL shows.
    GeoDataGroupItem* rough = group("roughness");
    ASSERT_TRUE(importFrom(rough, ATTRIBUTES));
    const auto features = shptest::ogrFeatures(ATTRIBUTES);
    ASSERT_EQ(rough->childItems().size(), features.size());
    for (std::size_t row = 0; row < features.size(); ++row) {
        SCOPED_TRACE(row);
        const Vertices ring = features[features.size() - 1 - row].vertices();
        ASSERT_EQ(ring.front(), ring.back());
        const Vertices imported = verticesOf(*childAt<GeoDataPolygonItem>(rough, row)->polygon());
        EXPECT_EQ(imported.size() + 1, ring.size());
        EXPECT_NE(imported.front(), imported.back());
    }

    // Written back, each ring closes once: ogrinfo sees no zero-length segment.
    const QString out = scratchFile(QStringLiteral("out.shp"));
    exportTo(rough, out);
    const auto written = shptest::ogrFeatures(out.toStdString());
    ASSERT_EQ(written.size(), features.size());
    for (const auto& feature : written) {
        const Vertices ring = feature.vertices();
        ASSERT_GE(ring.size(), 4u);
        EXPECT_EQ(ring.front(), ring.back());
        for (std::size_t i = 1; i < ring.size(); ++i) {
            EXPECT_NE(ring[i - 1], ring[i]) << "segment " << i << " has no length";
        }
    }
}

TEST_F(GeoDataShapefileTest, EachKindExportedApartImportsAsTheSameShapes)
{
    // An empty group writes nothing and asks nothing.
    GeoDataGroupItem* reference = group("referenceinformation");
    triggerMenuEntry(reference, QStringLiteral("&Export..."));
    EXPECT_TRUE(m_script.records().empty());

    const Vertices line1{{123456.789012345, 987654.321098765}, {123460.5, 987650.25},
                         {123470.125, 987655}};
    const Vertices line2{{-1.5, 2.25}, {3, -4}};
    const Vertices ccw{{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    const Vertices cw{{20, 0}, {20, 10}, {30, 10}, {35, 5}, {30, 0}};
    attachPolyline(reference, "1", line1);
    attachPolygon(reference, "left", ccw, 0);
    attachPolyline(reference, "C", line2);
    attachPolygon(reference, "right", cw, 0);
    // Both kinds: the dialog asks which, and Cancel writes nothing.
    ModalAnswerer cancel([](QWidget* dialog) { static_cast<QDialog*>(dialog)->reject(); });
    triggerMenuEntry(reference, QStringLiteral("&Export..."));
    EXPECT_EQ(cancel.answeredClassName(),
              "varnel::GeoDataGroupItemControllerExportTypeSelectDialog");
    EXPECT_TRUE(m_script.records().empty());
    for (bool polylines : {true, false}) {
        ModalAnswerer kind([polylines](QWidget* dialog) {
            if (polylines) {
                choosePolylines(dialog);
            } else {
                static_cast<QDialog*>(dialog)->accept();
            }
        });
        exportTo(reference, scratchFile(polylines ? "lines.shp" : "areas.shp"));
    }
    m_script.answer(QMessageBox::Yes);
    triggerMenuEntry(reference, QStringLiteral("&Delete all..."));
    ASSERT_TRUE(reference->childItems().empty());

    ASSERT_TRUE(importFrom(reference, scratchFile(QStringLiteral("lines.shp")).toStdString()));
    ASSERT_TRUE(importFrom(reference, scratchFile(QStringLiteral("areas.shp")).toStdString()));
    EXPECT_EQ(captionsOf(reference), (std::vector<QString>{"right", "left", "C", "1"}));
    EXPECT_TRUE(sameLine(verticesOf(*childAt<GeoDataPolylineItem>(reference, 3)->polyline()),
                         line1, 1e-9));
    EXPECT_TRUE(sameLine(verticesOf(*childAt<GeoDataPolylineItem>(reference, 2)->polyline()),
                         line2, 1e-9));
    EXPECT_TRUE(
        sameRing(verticesOf(*childAt<GeoDataPolygonItem>(reference, 1)->polygon()), ccw, 1e-9));
    EXPECT_TRUE(
        sameRing(verticesOf(*childAt<GeoDataPolygonItem>(reference, 0)->polygon()), cw, 1e-9));
}

} // namespace
} // namespace varnel::test
