// The surface stack in the project file: order, element names, attribute order (read by a
// stream reader, which keeps it) and archive names from the front; what a hand-edited file
// (a comment, a foreign element name, no molds) loads as.
#include "SurfacesTestSupport.h"

#include "movarin/shell/MainWindow.h"
#include "movarin/surfaces/GeoEditSurfaceArchive.h"

#include <common/test/FileSizeLimit.h>
#include <guimisc/UserDialogScript.h>

#include <QDir>
#include <QFile>
#include <QStandardItem>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

namespace varnel::test {
namespace {

// The group's element of the saved "project.xml".
XmlElement savedGroup(const ProjectSession& session)
{
    return readXmlFile(session.projectXmlPath())
        .child("Windows")
        .child("Window")
        .child("DataModel")
        .child("GeoEditSurfaceGroup");
}

// The attribute names, in document order, of each element named `name`.
std::vector<QStringList> attributeOrder(const QString& path, const QString& name)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader reader(&file);
    std::vector<QStringList> orders;
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == name) {
            QStringList names;
            for (const QXmlStreamAttribute& a : reader.attributes()) {
                names << a.name().toString();
            }
            orders.push_back(names);
        }
    }
    return orders;
}

QString archiveIn(Project& project, int index)
{
    return QDir(project.workFolder()).filePath(QStringLiteral("geoEditSurfaceGroupItem/geoedit%1.geb").arg(index));
}

using GeoEditSurfaceGroupItemTest = SurfacesTest;

TEST_F(GeoEditSurfaceGroupItemTest, SurfacesKeepTheirOrderAndArchivesAreNumberedFromTheFront)
{
    ASSERT_TRUE(project().save());
    XmlElement saved = savedGroup(m_session);
    EXPECT_EQ(saved.childNames(), QStringList({"GeoEditSurfaces", "MoldsContainer"}));
    EXPECT_TRUE(saved.child("GeoEditSurfaces").children.empty());

    const TinChange changes[] = {raiseCell(edited(), 1, 1, 3.0), raiseCell(edited(), 4, 4, 3.0),
                                 raiseCell(edited(), 6, 2, 3.0)};
    for (const QString& name : {QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three")}) {
        applyBrush(name, changes[group()->childItems().size()]);
    }
    const std::vector<GeoEditSurfaceItemI*> stack = surfacesOf(*group());
    stack[1]->browserItem()->setCheckState(Qt::Unchecked);
    const QString archive = saveArchive();

    saved = savedGroup(m_session);
    const XmlElement& surfaces = saved.child("GeoEditSurfaces");
    ASSERT_EQ(surfaces.childNames(), QStringList({"GeoEditSurfaceByBrush", "GeoEditSurfaceByBrush", "GeoEditSurfaceByBrush"}));
    EXPECT_EQ(surfaces.children[0].attributes.value("name"), "three");
    EXPECT_EQ(surfaces.children[1].attributes.value("name"), "two");
    EXPECT_EQ(surfaces.children[1].attributes.value("checkState"), "0");
    EXPECT_EQ(surfaces.children[2].attributes.value("name"), "one");
    EXPECT_EQ(attributeOrder(m_session.projectXmlPath(), "GeoEditSurfaceByBrush"),
              std::vector<QStringList>(3, QStringList({"checkState", "isExpanded", "name"})));
    for (int i = 0; i < 3; ++i) {
        const auto read = GeoEditSurfaceArchive::readBrushSurface(archiveIn(project(), i + 1).toStdString());
        EXPECT_EQ(trianglesOf(read.addedTin), trianglesOf(changes[2 - i].added)) << i;
        EXPECT_EQ(trianglesOf(read.removedTin), trianglesOf(changes[2 - i].removed)) << i;
    }
    EXPECT_EQ(stack[0]->relativeFilename(), "geoEditSurfaceGroupItem/geoedit1.geb");
    const QStringList members = archiveMembers(archive);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_TRUE(members.contains(QStringLiteral("geoEditSurfaceGroupItem/geoedit%1.geb").arg(i)))
            << members.join(' ').toStdString();
    }

    ProjectSession second;
    EditModeMainWindowModelRootItem* root = reopen(second, archive);
    ASSERT_NE(root, nullptr);
    const std::vector<GeoEditSurfaceItemI*> reopened = surfacesOf(*root->geoEditSurfaceGroupItem());
    ASSERT_EQ(reopened.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        ASSERT_NE(qobject_cast<GeoEditSurfaceByBrushItem*>(reopened[static_cast<std::size_t>(i)]), nullptr);
        EXPECT_EQ(reopened[static_cast<std::size_t>(i)]->filename(),
                  QStringLiteral("geoedit%1.geb").arg(i + 1).toStdString());
        EXPECT_EQ(reopened[static_cast<std::size_t>(i)]->caption(), stack[static_cast<std::size_t>(i)]->caption());
        EXPECT_EQ(trianglesOf(reopened[static_cast<std::size_t>(i)]->addedTin()),
                  trianglesOf(changes[2 - i].added));
    }
    EXPECT_FALSE(reopened[1]->isChecked());
    ASSERT_TRUE(second.project()->save());
    EXPECT_EQ(firstDifference(saved, savedGroup(second)), "");

    reopened[0]->setFileIndex(12);
    EXPECT_EQ(reopened[0]->filename(), "geoedit12.geb");
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
    QFile xml(other.projectXmlPath());
    ASSERT_TRUE(xml.open(QIODevice::ReadOnly));
    QString text = QString::fromUtf8(xml.readAll());
    xml.close();
    const int at = text.indexOf(QStringLiteral("<GeoEditSurfaceByBrush "));
    ASSERT_GE(at, 0);
    text.insert(at, QStringLiteral("<!-- first comes a note -->"));
    const int secondAt = text.indexOf(QStringLiteral("<GeoEditSurfaceByBrush "), at + 40);
    ASSERT_GE(secondAt, 0);
    text.replace(secondAt + 1, QStringLiteral("GeoEditSurfaceByBrush").size(), QStringLiteral("Stroke"));
    const int molds = text.indexOf(QStringLiteral("<MoldsContainer"));
    ASSERT_GE(molds, 0);
    text.remove(molds, text.indexOf(QStringLiteral("</GeoEditSurfaceGroup>")) - molds);
    ASSERT_TRUE(xml.open(QIODevice::WriteOnly | QIODevice::Truncate));
    xml.write(text.toUtf8());
    xml.close();

    project.load();
    EditModeMainWindowModelRootItem* root = editRootOf(project);
    ASSERT_NE(root, nullptr);
    const std::vector<GeoEditSurfaceItemI*> surfaces = surfacesOf(*root->geoEditSurfaceGroupItem());
    ASSERT_EQ(surfaces.size(), 2u);
    EXPECT_EQ(surfaces[0]->caption(), "second");
    EXPECT_EQ(surfaces[0]->filename(), "geoedit1.geb");
    EXPECT_EQ(trianglesOf(surfaces[0]->addedTin()), trianglesOf(second.added));
    EXPECT_NE(qobject_cast<GeoEditSurfaceByBrushItem*>(surfaces[1]), nullptr);
    EXPECT_EQ(surfaces[1]->caption(), "first");
    EXPECT_EQ(surfaces[1]->filename(), "geoedit2.geb");
    EXPECT_EQ(trianglesOf(surfaces[1]->addedTin()), trianglesOf(first.added));
}

TEST_F(GeoEditSurfaceGroupItemTest, FailedWriteOfASurfaceArchiveFailsTheSaveAndKeepsTheEarlierFiles)
{
    // A surface whose archive is far larger than the rest of the project: it took out
    // triangles that lie outside the terrain.
    TinChange cut;
    cut.removed = gridTin(60, 100.0);
    applyBrush(QStringLiteral("cut"), cut);
    const QString archive = saveArchive();
    const QByteArray saved = fileBytes(archive);

    ProjectSession second;
    second.mainWindow().openProject(archive);
    Project* opened = second.mainWindow().project();
    ASSERT_NE(opened, nullptr);
    const QString geb = archiveIn(*opened, 1);
    const QByteArray before = fileBytes(geb);
    ASSERT_GT(before.size(), 128 * 1024);
    guimisc::UserDialogScript script;
    {
        common::test::FileSizeLimit limit(64 * 1024);
        ASSERT_TRUE(limit.active());
        EXPECT_FALSE(second.mainWindow().saveProject());
    }
    ASSERT_EQ(script.records().size(), 1u);
    EXPECT_EQ(script.records()[0].title, "Error");
    EXPECT_EQ(script.records()[0].text, "Saving project failed.");
    EXPECT_EQ(fileBytes(geb), before);
    EXPECT_EQ(fileBytes(archive), saved);
}

} // namespace
} // namespace varnel::test
