// The molds library of an edit-mode project as the user meets it: the default molds of a new
// project, the library saved and reopened through the main window, and damaged or
// unwritable mold files. Archives are read and altered by a Python script of this folder,
// and the mold files there read by it too.
#include "shell/MainWindowTestSupport.h"

#include "movarin/shell/EditModeMainWindow.h"
#include "movarin/shell/ProjectFile.h"
#include "movarin/surfaces/MoldGroupItem.h"
#include "movarin/surfaces/MoldItem.h"
#include "movarin/surfaces/MoldsContainer.h"

#include "support/QtPrinters.h"

#include <common/exception/RuntimeException.h>
#include <guimisc/UserDialogScript.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace varnel::test {
namespace {

using mold::core::Mold;

/// A mold as molds_archive.py prints one: "type|baseL,baseH|l h;l h;...".
QString shapeOf(const MoldItem& item)
{
    QStringList points;
    for (std::size_t i = 0; i < item.size(); ++i) {
        points << QString::number(item.lAt(i)) + ' ' + QString::number(item.hAt(i));
    }
    return QStringLiteral("%1|%2,%3|%4")
        .arg(int(item.editType()))
        .arg(item.baseL())
        .arg(item.baseH())
        .arg(points.join(';'));
}

QStringList shapesOf(const MoldGroupItem& group)
{
    QStringList shapes;
    for (const MoldItem* mold : group.molds()) {
        shapes << shapeOf(*mold);
    }
    return shapes;
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
    const QString script =
        QStringLiteral(MOVARIN_SOURCE_DIR "/movarin/tests/molds/molds_archive.py");
    process.start(QStringLiteral("python3"), QStringList{script} + arguments);
    const bool finished = process.waitForFinished(30000);
    EXPECT_TRUE(finished && process.exitCode() == 0)
        << process.readAllStandardError().toStdString();
    return QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
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
    QStringList addShapes = shapesOf(add());
    EXPECT_EQ(addShapes.replaceInStrings(QRegularExpression("^0\\|"), "1|"), shapesOf(sub()))
        << "the same shapes in both groups, edit types 0 and 1";
    EXPECT_EQ(add().molds()[4]->relativeFilename(), moldFile("Add", 5).toStdString());
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
    const QStringList addShapes = shapesOf(add());
    const QStringList subShapes = shapesOf(sub());

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
    EXPECT_EQ(archiveScript(QStringList{"dump", archive} + addFiles), addShapes);
    EXPECT_EQ(archiveScript(QStringList{"dump", archive} + subFiles), subShapes);

    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        reopen(archive);
        EXPECT_EQ(namesOf(add()), addNames);
        EXPECT_EQ(namesOf(sub()), subNames);
        EXPECT_EQ(shapesOf(add()), addShapes);
        EXPECT_EQ(shapesOf(sub()), subShapes);
        EXPECT_EQ(add().molds()[0]->editTypeText(), "Add");
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
    ASSERT_TRUE(archiveScript({"dump", archive, moldFile("Sub", 1)}).value(0).startsWith("0|"));
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
