// The molds library of an edit-mode project as the user meets it: the default molds of a new
// project, the library saved and reopened through the main window, and damaged or
// unwritable mold files. Archives are read and altered by a Python script of this folder.
#include "shell/MainWindowTestSupport.h"
#include "shell/ProjectTestSupport.h"

#include "movarin/shell/EditModeMainWindow.h"
#include "movarin/shell/EditModeMainWindowModel.h"
#include "movarin/shell/EditModeMainWindowModelRootItem.h"
#include "movarin/shell/ProjectFile.h"
#include "movarin/surfaces/GeoEditSurfaceGroupItem.h"
#include "movarin/surfaces/MoldGroupItem.h"
#include "movarin/surfaces/MoldItem.h"
#include "movarin/surfaces/MoldsContainer.h"

#include "support/QtPrinters.h"

#include <common/exception/RuntimeException.h>
#include <guimisc/UserDialogScript.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

namespace varnel::test {
namespace {

using mold::core::Mold;

/// A mold as the program holds it or as the second reader finds it in a file.
struct Shape {
    int type;
    QPointF base;
    std::vector<QPointF> points;
    bool operator==(const Shape& o) const
    {
        return type == o.type && base == o.base && points == o.points;
    }
};

std::ostream& operator<<(std::ostream& os, const Shape& s)
{
    os << "type " << s.type << " base (" << s.base.x() << ", " << s.base.y() << ")";
    for (const QPointF& p : s.points) {
        os << " (" << p.x() << ", " << p.y() << ")";
    }
    return os;
}

Shape shapeOf(const MoldItem& item)
{
    Shape s{static_cast<int>(item.editType()), QPointF(item.baseL(), item.baseH()), {}};
    for (std::size_t i = 0; i < item.size(); ++i) {
        s.points.push_back(item.point(i));
    }
    return s;
}

QStringList namesOf(const MoldGroupItem& group)
{
    QStringList names;
    for (const MoldItem* mold : group.molds()) {
        names << mold->name();
    }
    return names;
}

QString moldFile(const char* group, int i)
{
    return QStringLiteral("geoEditSurfaceGroupItem/moldsContainer/%1/mold%2.mld")
        .arg(QLatin1String(group))
        .arg(i);
}

/// Runs molds_archive.py; fails the test when the script does.
QStringList archiveScript(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral("python3"),
                  QStringList{QStringLiteral(MOVARIN_SOURCE_DIR "/movarin/tests/molds/molds_archive.py")}
                      + arguments);
    const bool finished = process.waitForFinished(30000);
    EXPECT_TRUE(finished && process.exitCode() == 0)
        << process.readAllStandardError().toStdString();
    return QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

/// The molds stored in the archive's files, as the second reader reads them.
std::vector<Shape> storedShapes(const QString& archive, const QStringList& members)
{
    std::vector<Shape> shapes;
    for (const QString& line : archiveScript(QStringList{"dump", archive} + members)) {
        const QJsonObject o = QJsonDocument::fromJson(line.toUtf8()).object();
        const QJsonArray base = o["base"].toArray();
        Shape s{o["type"].toInt(), QPointF(base[0].toDouble(), base[1].toDouble()), {}};
        for (const auto& p : o["points"].toArray()) {
            s.points.emplace_back(p.toArray()[0].toDouble(), p.toArray()[1].toDouble());
        }
        shapes.push_back(s);
    }
    return shapes;
}

class MoldsContainerTest : public MainWindowTest {
protected:
    MoldsContainer* container()
    {
        Project* project = window().project();
        auto edit = project ? qobject_cast<EditModeMainWindow*>(project->projectWindow()) : nullptr;
        return edit ? edit->moldsContainer() : nullptr;
    }
    MoldGroupItem& add() { return *container()->group(Mold::Add); }
    MoldGroupItem& sub() { return *container()->group(Mold::Subtract); }

    /// Closes the project and opens the archive again; no message may come.
    void reopen(const QString& archive)
    {
        ASSERT_TRUE(window().closeProject());
        guimisc::UserDialogScript script;
        window().openProject(archive);
        ASSERT_TRUE(script.messageBoxes().empty()) << script.messageBoxes()[0].text.toStdString();
        ASSERT_NE(container(), nullptr);
    }
};

TEST_F(MoldsContainerTest, NewProjectHoldsFiveDefaultMoldsPerGroup)
{
    window().newEditProject();
    ASSERT_NE(container(), nullptr);
    EXPECT_EQ(namesOf(add()), QStringList({"Slope 1 (Add)", "Convex (Add)", "Slope 2(Add)",
                                           "Concave (Add)", "Level plane (Add)"}));
    EXPECT_EQ(namesOf(sub()), QStringList({"Slope 1 (Sub)", "Convex (Sub)", "Slope 2(Sub)",
                                           "Concave (Sub)", "Level plane (Sub)"}));
    for (std::size_t i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        Shape a = shapeOf(*add().molds()[i]);
        Shape s = shapeOf(*sub().molds()[i]);
        EXPECT_EQ(a.type, Mold::Add);
        EXPECT_EQ(s.type, Mold::Subtract);
        EXPECT_EQ(a.base, QPointF(0, 0));
        s.type = a.type;
        EXPECT_EQ(a, s) << "the same shapes in both groups";
        EXPECT_EQ(add().molds()[i]->parent(), &add());
        EXPECT_EQ(add().molds()[i]->relativeFilename(), moldFile("Add", int(i) + 1).toStdString());
    }
    EXPECT_EQ(add().molds()[3]->h(), (std::vector<double>{11.0, -2.0, -2.0, 11.0}));
    EXPECT_EQ(add().molds()[4]->l(), (std::vector<double>{-2.0, 0.0}));

    EXPECT_EQ(add().mainWindow(), window().project()->projectWindow());
    try {
        container()->group(static_cast<Mold::EditType>(2));
        ADD_FAILURE() << "a third group";
    } catch (const common::exception::RuntimeException& e) {
        EXPECT_STREQ(e.what(), "Unknown not handled.");
    }
}

TEST_F(MoldsContainerTest, ReorderedExtendedLibraryIsSavedRenumberedAndReopened)
{
    window().newEditProject();
    // Add: "Level plane" to the front, a terrace third. Sub: "Convex" out, a ditch last.
    MoldItem* level = add().molds().back();
    add().remove(level);
    add().insertAtFront(level);
    auto terrace = new MoldItem(QString::fromUtf8("Terrasse \"Süd\" <1>"), Mold::Add,
                                {-6.0, -2.0, 0.0, 2.0, 6.25}, {0.5, 0.5, 1.0, 1.5, 1.5}, 1.0,
                                -2.0, &add());
    add().insertAt(terrace, 2);
    MoldItem* convex = sub().molds()[1];
    sub().remove(convex);
    delete convex;
    auto ditch = new MoldItem("Ditch", Mold::Subtract, {-1.0, 0.0, 1.0}, {0.0, -0.75, 0.0},
                              0.0, -0.75, &sub());
    sub().insertAt(ditch, 4);
    const QStringList addNames = namesOf(add());
    const QStringList subNames = namesOf(sub());
    std::vector<Shape> addShapes;
    std::vector<Shape> subShapes;
    for (const MoldItem* m : add().molds()) {
        addShapes.push_back(shapeOf(*m));
    }
    for (const MoldItem* m : sub().molds()) {
        subShapes.push_back(shapeOf(*m));
    }

    const QString archive = saveAs("library");
    QStringList addFiles;
    QStringList subFiles;
    for (int i = 1; i <= 6; ++i) {
        addFiles << moldFile("Add", i);
    }
    for (int i = 1; i <= 5; ++i) {
        subFiles << moldFile("Sub", i);
    }
    EXPECT_EQ(unzipListing(archive), QStringList({"project.xml"}) + subFiles + addFiles);
    EXPECT_EQ(storedShapes(archive, addFiles), addShapes);
    EXPECT_EQ(storedShapes(archive, subFiles), subShapes);

    const QString xml = file("project.xml");
    {
        QProcess unzip;
        unzip.setStandardOutputFile(xml);
        unzip.start("unzip", {"-p", archive, "project.xml"});
        ASSERT_TRUE(unzip.waitForFinished(10000));
    }
    const XmlElement project = readXmlFile(xml);
    const XmlElement& molds = project.child("Windows")
                                  .child("Window")
                                  .child("DataModel")
                                  .child("GeoEditSurfaceGroup")
                                  .child("MoldsContainer");
    ASSERT_EQ(molds.childNames(), QStringList({"MoldsForAdd", "MoldsForSub"}));
    QStringList storedNames;
    for (const XmlElement& m : molds.child("MoldsForAdd").children) {
        EXPECT_EQ(m.name, "Mold");
        storedNames << m.attributes.value("name");
    }
    EXPECT_EQ(storedNames, addNames);

    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        reopen(archive);
        EXPECT_EQ(namesOf(add()), addNames);
        EXPECT_EQ(namesOf(sub()), subNames);
        for (std::size_t i = 0; i < addShapes.size(); ++i) {
            EXPECT_EQ(shapeOf(*add().molds()[i]), addShapes[i]) << i;
            EXPECT_EQ(add().molds()[i]->editTypeText(), "Add");
        }
        for (std::size_t i = 0; i < subShapes.size(); ++i) {
            EXPECT_EQ(shapeOf(*sub().molds()[i]), subShapes[i]) << i;
        }
        // Saving again names the files alike.
        guimisc::UserDialogScript script;
        window().project()->projectFile()->setModified(true);
        EXPECT_TRUE(window().saveProject());
        EXPECT_TRUE(script.messageBoxes().empty());
        EXPECT_EQ(unzipListing(archive), QStringList({"project.xml"}) + subFiles + addFiles);
    }
}

TEST_F(MoldsContainerTest, GroupsAreReadByPositionAndTakeTheirOwnEditType)
{
    window().newEditProject();
    add().molds()[0]->setName("Renamed");
    const QString archive = saveAs("positions");

    // Add's Concave (edit type 0 in its file) stands in for Sub's first mold; comments are
    // no groups and no molds.
    archiveScript({"copy", archive, moldFile("Add", 4), moldFile("Sub", 1)});
    archiveScript({"comment", archive, "MoldsContainer"});
    archiveScript({"comment", archive, "MoldsForSub"});
    ASSERT_EQ(storedShapes(archive, {moldFile("Sub", 1)})[0].type, Mold::Add);
    reopen(archive);
    ASSERT_EQ(namesOf(sub()).size(), 5);
    EXPECT_EQ(sub().molds()[0]->name(), "Slope 1 (Sub)");
    EXPECT_EQ(sub().molds()[0]->h(), (std::vector<double>{11.0, -2.0, -2.0, 11.0}));
    EXPECT_EQ(sub().molds()[0]->editType(), Mold::Subtract);
    EXPECT_EQ(namesOf(add()).value(0), "Renamed");

    // Without its element the library is the new project's.
    archiveScript({"drop", archive, "MoldsContainer"});
    reopen(archive);
    EXPECT_EQ(namesOf(add()).value(0), "Slope 1 (Add)");
    EXPECT_EQ(namesOf(add()).size(), 5);
    EXPECT_EQ(sub().molds()[0]->h(), (std::vector<double>{-1.0, 1.0, 1.0}));
}

TEST_F(MoldsContainerTest, TruncatedMoldFileFailsTheOpenAndNamesTheFile)
{
    window().newEditProject();
    const QString archive = saveAs("truncated");
    ASSERT_TRUE(window().closeProject());
    archiveScript({"truncate", archive, moldFile("Add", 3), "90"});

    guimisc::UserDialogScript script;
    window().openProject(archive);
    const auto boxes = script.messageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "Error");
    EXPECT_TRUE(boxes[0].text.contains("mold3.mld")) << boxes[0].text.toStdString();
    EXPECT_EQ(window().project(), nullptr);
}

TEST_F(MoldsContainerTest, UnwritableMoldFileFailsTheSaveAndKeepsTheArchive)
{
    window().newEditProject();
    const QString archive = saveAs("kept");
    QFile saved(archive);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray before = saved.readAll();
    saved.close();

    // A folder where the second Sub mold's file goes cannot be replaced by a file.
    const QString blocked =
        QDir(window().project()->workFolder()).absoluteFilePath(moldFile("Sub", 2));
    ASSERT_TRUE(QFile::remove(blocked));
    ASSERT_TRUE(QDir().mkpath(blocked + "/inside"));
    sub().molds()[1]->setName("Changed");
    window().project()->projectFile()->setModified(true);

    guimisc::UserDialogScript script;
    EXPECT_FALSE(window().saveProject());
    const auto boxes = script.messageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "Error");
    EXPECT_EQ(boxes[0].text, "Saving project failed.");
    EXPECT_TRUE(window().project()->projectFile()->isModified());
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), before);
}

} // namespace
} // namespace varnel::test
