// STL export of a TIN item: through the file dialog of the message seam to paths with other
// characters and over existing files, read back by a Python check of its own and by orlin's
// STL reader; failures shown in the "Error" box with the earlier file intact.
#include "SurveyTestSupport.h"

#include "movarin/survey/ReadOnlyTinItem.h"
#include "movarin/survey/ReadOnlyTinItemController.h"
#include "movarin/survey/TinExporter.h"
#include "orlin/io/StlTinImporter.h"

#include "support/QtPrinters.h"

#include <guimisc/LastIODirectory.h>
#include <guimisc/UserDialogScript.h>
#include <guimisc/exception/QStringRuntimeError.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace varnel::test {
namespace {

using guimisc::UserDialogs;
using guimisc::UserDialogScript;

class TinExporterTest : public SurveyProjectTest {
protected:
    ReadOnlyTinItem* tinItem() const { return root()->tinItem(); }

    /// A TIN near the origin: a grid, a triangle listed clockwise and a degenerate one
    /// (three points on a line), whose normal has no direction.
    static tin::core::Tin awkwardTin()
    {
        tin::core::Tin tin = gridTin(3, -1.5, -1.5, 2.0);
        using tin::core::Point;
        auto p = [](double x, double y, double z) { return std::make_shared<Point>(x, y, z); };
        tin.addTriangle(p(5.0, 0.0, 1.0), p(6.0, 1.0, 1.5), p(7.0, 0.0, 3.0));
        tin.addTriangle(p(5.0, 5.0, 1.0), p(6.0, 6.0, 2.0), p(7.0, 7.0, 3.0));
        return tin;
    }

    static void writeFile(const QString& path, const QByteArray& content)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    static QByteArray readFile(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    /// Runs the "Export" action with the file dialog answered by `target`.
    void exportThroughDialog(UserDialogScript& script, const QString& target)
    {
        script.answerFile(target, TinExporter::filters().first());
        tinItem()->controller()->exportAction()->trigger();
    }
};

/// Triangles that orlin's STL reader finds in `path` (copied to an ASCII name first, since
/// the reader takes 8-bit names).
std::size_t facetsReadBack(const QString& path, const QTemporaryDir& scratch)
{
    const QString ascii = scratch.filePath(QStringLiteral("readback.stl"));
    QFile::remove(ascii);
    if (!QFile::copy(path, ascii)) {
        ADD_FAILURE() << "cannot copy " << path.toStdString();
        return 0;
    }
    return tin::io::StlTinImporter().importTin(QFile::encodeName(ascii).constData())
        .allTriangles()
        .size();
}

TEST_F(TinExporterTest, ExportToOtherCharactersAndOverAnExistingFile)
{
    const tin::core::Tin tin = awkwardTin();
    const std::size_t n = tin.allTriangles().size();
    tinItem()->controller()->pushSetTinCommand(tin, QStringLiteral("Create TIN"));

    QTemporaryDir outside;
    QTemporaryDir scratch;
    ASSERT_TRUE(QDir(outside.path()).mkdir(QString::fromUtf8("河川 データ")));
    const QString folder = outside.filePath(QString::fromUtf8("河川 データ"));
    const QString target = folder + QString::fromUtf8("/地形 ß.stl");
    const QString existing = outside.filePath(QStringLiteral("surface.stl"));
    writeFile(existing, QByteArray("an earlier, longer file that the export replaces whole\n")
                            .repeated(100));

    UserDialogScript script;
    exportThroughDialog(script, target);
    exportThroughDialog(script, existing);
    ASSERT_EQ(script.records().size(), 2u); // two file dialogs, no message box
    const UserDialogScript::Record& dialog = script.records()[0];
    EXPECT_EQ(dialog.kind, UserDialogs::Kind::SaveFileName);
    EXPECT_EQ(dialog.title, "Select file name to export");
    EXPECT_EQ(dialog.filter, "STL file (*.stl)");
    EXPECT_EQ(guimisc::LastIODirectory::get(), outside.path());

    for (const QString& path : {target, existing}) {
        SCOPED_TRACE(path.toStdString());
        const ScriptResult check = runSurveyScript(QStringLiteral("check_stl.py"), {path});
        EXPECT_EQ(check.exitCode, 0) << check.output.toStdString();
        EXPECT_EQ(check.output, QStringLiteral("facets %1").arg(n));
        EXPECT_EQ(QFileInfo(path).size(), 84 + 50 * static_cast<qint64>(n));
        EXPECT_EQ(facetsReadBack(path, scratch), n);
    }
    // Nothing is left behind in the work folder or beside the targets.
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList({QString::fromUtf8("地形 ß.stl")}));
    EXPECT_EQ(QDir(outside.path()).entryList(QDir::Files), QStringList({"surface.stl"}));
    EXPECT_EQ(QDir(project().workFolder()).entryList({QStringLiteral("*.stl")}, QDir::Files),
              QStringList());
}

TEST_F(TinExporterTest, FailedExportShowsTheErrorAndKeepsTheEarlierFile)
{
    tinItem()->controller()->pushSetTinCommand(gridTin(2), QStringLiteral("Create TIN"));
    QTemporaryDir outside;
    const QString before = guimisc::LastIODirectory::get();

    // A folder in the target's place, and a target in a folder that does not exist.
    const QString folder = outside.filePath(QStringLiteral("taken.stl"));
    ASSERT_TRUE(QDir(outside.path()).mkdir(QStringLiteral("taken.stl")));
    const QString nowhere = outside.filePath(QStringLiteral("missing/surface.stl"));
    UserDialogScript script;
    for (const QString& target : {folder, nowhere}) {
        script.clearRecords();
        exportThroughDialog(script, target);
        const std::vector<UserDialogScript::Record> boxes = script.messageBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].kind, UserDialogs::Kind::Critical);
        EXPECT_EQ(boxes[0].title, "Error");
        EXPECT_TRUE(boxes[0].text.contains(QDir::toNativeSeparators(target)))
            << boxes[0].text.toStdString();
        EXPECT_TRUE(boxes[0].text.contains('\n'));
    }
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_FALSE(QFileInfo(nowhere).exists());
    EXPECT_EQ(guimisc::LastIODirectory::get(), before);
    EXPECT_EQ(QDir(project().workFolder()).entryList({QStringLiteral("*.stl")}, QDir::Files),
              QStringList());

    // Called directly, the export throws and leaves an existing file as it was.
    const QString kept = outside.filePath(QStringLiteral("kept.stl"));
    writeFile(kept, "keep me");
    TinExporter exporter(&project());
    EXPECT_THROW(exporter.exportTin(folder, *tinItem()->tin()),
                 guimisc::exception::QStringRuntimeError);
    EXPECT_EQ(readFile(kept), "keep me");
}

TEST_F(TinExporterTest, NothingHappensWithoutTinOrWhenCancelled)
{
    UserDialogScript script;
    tinItem()->controller()->exportTin();
    EXPECT_TRUE(script.records().empty()); // no TIN: not even the dialog

    tinItem()->controller()->pushSetTinCommand(gridTin(1), QStringLiteral("Create TIN"));
    const QString before = guimisc::LastIODirectory::get();
    script.answerCancel();
    tinItem()->controller()->exportTin();
    ASSERT_EQ(script.records().size(), 1u);
    EXPECT_FALSE(script.records()[0].isMessageBox());
    EXPECT_EQ(guimisc::LastIODirectory::get(), before);

    // The action stands in the context menu and on the tool bar, each time before a separator.
    QMenu menu;
    tinItem()->controller()->addCustomMenuItems(&menu);
    ASSERT_EQ(menu.actions().size(), 2);
    EXPECT_EQ(menu.actions()[0]->text(), "Export");
    EXPECT_FALSE(menu.actions()[0]->icon().isNull());
    EXPECT_TRUE(menu.actions()[1]->isSeparator());
}

} // namespace
} // namespace varnel::test
