// The surface stack in the project: "project.xml" read by a stream reader (which keeps the
// attribute order), the archives numbered from the front, the added triangles rebound to the
// live ones when the project opens again (sets of triangle objects as the oracle, and the
// terrain itself once every surface is deleted), a hand-edited file, an archive that fits
// nothing, archives whose removed triangles were altered so that taking the surfaces back
// would not give the base TIN, and a save that fails part way.
#include "SurfacesTestSupport.h"

#include "movarin/shell/MainWindow.h"
#include "movarin/surfaces/GeoEditSurfaceArchive.h"

#include <common/test/FileSizeLimit.h>

#include <QDir>
#include <QStandardItem>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

namespace varnel::test {
namespace {

// The surface elements of a saved "project.xml", each as its name and its attribute names in
// document order, then the "name" attribute.
std::vector<QStringList> surfaceElements(const QString& projectXml)
{
    QFile file(projectXml);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader reader(&file);
    std::vector<QStringList> elements;
    bool inside = false;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && inside) {
            QStringList e{reader.name().toString()};
            for (const QXmlStreamAttribute& a : reader.attributes()) {
                e << a.name().toString();
            }
            elements.push_back(e << reader.attributes().value("name").toString());
            reader.skipCurrentElement();
        }
        if (reader.isStartElement() && reader.name() == QLatin1String("GeoEditSurfaces")) {
            inside = true;
        } else if (reader.isEndElement() && reader.name() == QLatin1String("GeoEditSurfaces")) {
            inside = false;
        }
    }
    return elements;
}

Identities minus(const Identities& a, const Identities& b)
{
    Identities result;
    std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::inserter(result, result.end()));
    return result;
}

using GeoEditSurfaceGroupItemTest = SurfacesTest;

TEST_F(GeoEditSurfaceGroupItemTest, StackIsSavedFromTheFrontAndRebindsToTheLiveTrianglesWhenReopened)
{
    ASSERT_TRUE(project().save());
    EXPECT_TRUE(surfaceElements(m_session.projectXmlPath()).empty());
    applyMold(QStringLiteral("Concave (Sub)"), {tin::core::Point(30, 50, 0), tin::core::Point(70, 50, 0)});
    GeoEditSurfaceByBrushItem* b = applyBrush(QStringLiteral("B"), raiseCell(edited(), 10, 10, 5.0));
    applyBrush(QStringLiteral("C"), raiseCell(edited(), 40, 5, -3.0));
    // A, the newest, splits one of B's triangles and puts another back on its own vertices; C
    // lies between them in the stack.
    std::vector<TrianglePtr> bAdded(b->addedTin().allTriangles().begin(), b->addedTin().allTriangles().end());
    TinChange a = splitTriangle(bAdded[0], 3.0);
    a.take(putBack(bAdded[1]));
    applyBrush(QStringLiteral("A"), a);
    const QString archive = saveArchive();

    const QStringList brush{"GeoEditSurfaceByBrush", "checkState", "isExpanded", "name"};
    EXPECT_EQ(surfaceElements(m_session.projectXmlPath()),
              (std::vector<QStringList>{QStringList(brush) << "A", QStringList(brush) << "C", QStringList(brush) << "B",
                                        {"GeoEditSurface", "checkState", "isExpanded", "name", "closed", "moldName",
                                         "valid", "Concave (Sub)"}}));
    const QStringList members = archiveMembers(archive);
    for (const char* name : {"geoedit1.geb", "geoedit2.geb", "geoedit3.geb", "geoedit4.ges"}) {
        EXPECT_TRUE(members.contains(QStringLiteral("geoEditSurfaceGroupItem/") + name)) << name;
    }

    ProjectSession second;
    EditModeMainWindowModelRootItem* root = reopen(second, archive);
    ASSERT_NE(root, nullptr);
    const tin::core::Tin& reopened = *root->tinItem()->tin();
    const std::vector<GeoEditSurfaceItemI*> surfaces = surfacesOf(*root->geoEditSurfaceGroupItem());
    ASSERT_EQ(surfaces.size(), 4u);
    EXPECT_EQ(surfaces[3]->filename(), "geoedit4.ges");
    auto mold = qobject_cast<GeoEditSurfaceItem*>(surfaces[3]);
    ASSERT_NE(mold, nullptr);
    EXPECT_EQ(mold->moldName(), "Concave (Sub)");
    EXPECT_TRUE(mold->isValid() && !mold->closed() && mold->path().size() == 2u);
    EXPECT_EQ(trianglesOf(*mold->extendedTin()), trianglesOf(*qobject_cast<GeoEditSurfaceItem*>(surfacesOf(*group())[3])->extendedTin()));

    // B's four triangles: two from the terrain, the split one and the put-back one from what A
    // took out; none of A's own (the put-back object lies over the same vertices).
    GeoEditSurfaceItemI* newA = surfaces[0];
    GeoEditSurfaceItemI* newB = surfaces[2];
    EXPECT_EQ(newB->caption(), "B");
    const Identities bLive = identities(newB->addedTin());
    ASSERT_EQ(bLive.size(), 4u);
    EXPECT_EQ(minus(bLive, identities(reopened)), identities(newA->removedTin()));
    EXPECT_EQ(minus(bLive, identities(newA->addedTin())), bLive);
    const std::uint64_t revision = newB->addedTin().revision();
    EXPECT_EQ(newB->addedTin().revision(), revision) << "rebound twice";

    // B may not go while A covers it; from the front every surface may, and what is left is
    // the terrain.
    guimisc::UserDialogScript script;
    root->model()->select(newB);
    root->model()->objectBrowserView()->deleteAction()->trigger();
    ASSERT_EQ(script.records().size(), 1u);
    EXPECT_EQ(script.records()[0].title, "Warning");
    EXPECT_EQ(script.records()[0].text, "B is overlapped with A.");
    for (GeoEditSurfaceItemI* surface : surfaces) {
        deleteThroughBrowser(surface, script);
    }
    EXPECT_TRUE(root->geoEditSurfaceGroupItem()->childItems().empty());
    EXPECT_EQ(trianglesOf(reopened), trianglesOf(*root->baseTinItem()->tin()));

    b->setFileIndex(12);
    EXPECT_EQ(b->filename(), "geoedit12.geb");
}

TEST_F(GeoEditSurfaceGroupItemTest, ChildElementsOnlyMakeSurfacesAndAnyOtherNameIsABrushSurface)
{
    const TinChange first = raiseCell(edited(), 2, 2, 4.0);
    const TinChange second = raiseCell(edited(), 5, 5, 4.0);
    applyBrush(QStringLiteral("first"), first);
    applyBrush(QStringLiteral("second"), second);
    const QString archive = saveArchive();

    ProjectSession other;
    Project& project = other.newEditProject();
    ASSERT_TRUE(project.unzipFrom(archive));
    QString xml = QString::fromUtf8(fileBytes(other.projectXmlPath()));
    const int at = xml.indexOf(QStringLiteral("<GeoEditSurfaceByBrush "));
    const int next = xml.indexOf(QStringLiteral("<GeoEditSurfaceByBrush "), at + 1);
    const int molds = xml.indexOf(QStringLiteral("<MoldsContainer"));
    ASSERT_TRUE(at > 0 && next > at && molds > next);
    xml.remove(molds, xml.indexOf(QStringLiteral("</GeoEditSurfaceGroup>")) - molds);
    xml.replace(next + 1, QStringLiteral("GeoEditSurfaceByBrush").size(), QStringLiteral("Stroke"));
    xml.insert(at, QStringLiteral("<!-- a note -->"));
    ASSERT_TRUE(writeFileBytes(other.projectXmlPath(), xml.toUtf8()));

    project.load();
    auto window = qobject_cast<EditModeMainWindow*>(project.projectWindow());
    ASSERT_NE(window, nullptr);
    const std::vector<GeoEditSurfaceItemI*> surfaces = surfacesOf(*window->model()->rootItem()->geoEditSurfaceGroupItem());
    ASSERT_EQ(surfaces.size(), 2u);
    EXPECT_EQ(surfaces[0]->filename(), "geoedit1.geb");
    EXPECT_EQ(trianglesOf(surfaces[0]->addedTin()), trianglesOf(second.added));
    EXPECT_NE(qobject_cast<GeoEditSurfaceByBrushItem*>(surfaces[1]), nullptr);
    EXPECT_EQ(surfaces[1]->caption(), "first");
    EXPECT_EQ(surfaces[1]->filename(), "geoedit2.geb");
    EXPECT_EQ(trianglesOf(surfaces[1]->addedTin()), trianglesOf(first.added));
}

TEST_F(GeoEditSurfaceGroupItemTest, ArchiveWhoseAddedTriangleFitsNothingFailsTheOpenNamingIt)
{
    applyBrush(QStringLiteral("applied"), raiseCell(edited(), 1, 1, 5.0));
    // Never applied: its triangles are in no TIN.
    const TinChange stray = raiseCell(edited(), 4, 4, 5.0);
    group()->attachChildAtBack(group()->createGeoEditSurfaceByBrushItem({}, stray.added, stray.removed));
    const QString archive = saveArchive();

    ProjectSession second;
    guimisc::UserDialogScript script;
    second.mainWindow().openProject(archive);
    ASSERT_EQ(script.records().size(), 1u);
    EXPECT_EQ(script.records()[0].title, "Error");
    EXPECT_EQ(script.records()[0].text, "Fatal error in buildAddedTin.: geoedit2.geb");
    EXPECT_EQ(second.mainWindow().project(), nullptr);
}

TEST_F(GeoEditSurfaceGroupItemTest, RemovedTrianglesThatDoNotFitTheStackFailTheOpenNamingTheArchive)
{
    // Two strokes, the later in front; a neighbour of the first one's cell stays untouched.
    const TinChange older = raiseCell(edited(), 3, 3, 5.0);
    const TinChange newer = raiseCell(edited(), 20, 20, -2.0);
    applyBrush(QStringLiteral("older"), older);
    applyBrush(QStringLiteral("newer"), newer);
    TrianglePtr untouched;
    for (const TrianglePtr& t : edited().allTriangles()) {
        if (t->point1()->x() >= 10 && t->point1()->x() <= 12 && t->point1()->y() >= 10
            && t->point1()->y() <= 12) {
            untouched = t;
        }
    }
    ASSERT_NE(untouched, nullptr);
    const QString archive = saveArchive();

    using Alter = std::function<void(tin::core::Tin&)>;
    const auto dropOne = [](tin::core::Tin& removed) { removed.removeTriangle(anyTriangle(removed)); };
    const auto moveOne = [](tin::core::Tin& removed) {
        const TrianglePtr t = anyTriangle(removed);
        removed.removeTriangle(t);
        auto moved = std::make_shared<tin::core::Point>(t->point1()->x() + 0.25, t->point1()->y(),
                                                        t->point1()->elevation());
        removed.addTriangle(moved, t->point2(), t->point3());
    };
    const auto doubleOne = [untouched](tin::core::Tin& removed) {
        removed.addTriangle(untouched->point1(), untouched->point2(), untouched->point3());
    };
    struct Case {
        const char* what;
        const char* file;
        Alter alter;
    };
    const Case cases[] = {
        {"a removed triangle of the older dropped", "geoedit2.geb", dropOne},
        {"a removed triangle of the newer dropped", "geoedit1.geb", dropOne},
        {"a removed triangle of the older moved", "geoedit2.geb", moveOne},
        {"a triangle still in the TIN among the older's removed", "geoedit2.geb", doubleOne},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QString altered;
        {
            ProjectSession other;
            // Loaded, so that the tree lists its files for the packing, then the file altered.
            Project& project = other.newEditProject();
            ASSERT_TRUE(project.unzipFrom(archive));
            project.load();
            const std::string geb =
                QDir(project.workFolder())
                    .filePath(QStringLiteral("geoEditSurfaceGroupItem/") + QLatin1String(c.file))
                    .toStdString();
            GeoEditSurfaceArchive::BrushSurface stroke = GeoEditSurfaceArchive::readBrushSurface(geb);
            c.alter(stroke.removedTin);
            GeoEditSurfaceArchive::writeBrushSurface(geb, stroke.addedTin, stroke.removedTin);
            altered = m_outside.filePath(QStringLiteral("altered.emvn"));
            QFile::remove(altered);
            ASSERT_TRUE(project.zipTo(altered));
        }
        ProjectSession second;
        guimisc::UserDialogScript script;
        second.mainWindow().openProject(altered);
        ASSERT_EQ(script.records().size(), 1u);
        EXPECT_EQ(script.records()[0].title, "Error");
        EXPECT_EQ(script.records()[0].text,
                  QString::fromLatin1(GeoEditSurfaceGroupItem::STACK_MISFIT) + ": " + c.file);
        EXPECT_EQ(second.mainWindow().project(), nullptr);
    }

    // Unaltered, the same stack opens.
    ProjectSession third;
    guimisc::UserDialogScript script;
    third.mainWindow().openProject(archive);
    ASSERT_NE(third.mainWindow().project(), nullptr);
    EXPECT_TRUE(script.records().empty());
}

TEST_F(GeoEditSurfaceGroupItemTest, FailedWriteOfASurfaceArchiveFailsTheSaveAndKeepsTheEarlierFiles)
{
    // An archive far larger than the rest of the project: every cell refined, then put back
    // as it was, so that the front surface took out twice the triangles the TIN holds.
    TinChange refine;
    for (int i = 0; i < 50; ++i) {
        for (int j = 0; j < 50; ++j) {
            refine.take(raiseCell(edited(), i, j, 1.0));
        }
    }
    applyBrush(QStringLiteral("refine"), refine);
    TinChange restore;
    restore.removed = refine.added;
    for (const TrianglePtr& t : refine.removed.allTriangles()) {
        restore.added.addTriangle(t->point1(), t->point2(), t->point3());
    }
    applyBrush(QStringLiteral("restore"), restore);
    const QString archive = saveArchive();
    const QByteArray saved = fileBytes(archive);

    ProjectSession second;
    second.mainWindow().openProject(archive);
    ASSERT_NE(second.mainWindow().project(), nullptr);
    const QString geb = QDir(second.mainWindow().project()->workFolder()).filePath("geoEditSurfaceGroupItem/geoedit1.geb");
    const QByteArray before = fileBytes(geb);
    guimisc::UserDialogScript script;
    {
        common::test::FileSizeLimit limit(static_cast<rlim_t>(before.size() / 2));
        ASSERT_TRUE(limit.active());
        EXPECT_FALSE(second.mainWindow().saveProject());
    }
    ASSERT_EQ(script.records().size(), 1u);
    EXPECT_EQ(script.records()[0].text, "Saving project failed.");
    EXPECT_EQ(fileBytes(geb), before);
    EXPECT_EQ(fileBytes(archive), saved);
}

} // namespace
} // namespace varnel::test
