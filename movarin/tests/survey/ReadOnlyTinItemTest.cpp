// TIN items: the undoable replacement of their TIN, TIN archives through the project archive
// (also for the edited TIN's "tin.tin"), painting with and without edges, and the STL export
// read back by a Python check of its own and by orlin's STL reader.
#include "SurveyTestSupport.h"

#include "movarin/shell/SettingsKeys.h"
#include "movarin/survey/ReadOnlyTinItem.h"
#include "movarin/survey/ReadOnlyTinItemController.h"
#include "movarin/survey/TinExporter.h"
#include "movarin/survey/TinItem.h"
#include "movarin/survey/TinReadAhead.h"
#include "orlin/io/StlTinImporter.h"
#include "orlin/io/TinTinExporter.h"
#include "orlin/io/TinTinImporter.h"

#include "support/QtPrinters.h"

#include <guimisc/LastIODirectory.h>
#include <guimisc/UserDialogScript.h>

#include <QAction>
#include <QBuffer>
#include <QDir>
#include <QDomDocument>
#include <QSettings>
#include <QStandardItem>
#include <QTemporaryDir>
#include <QXmlStreamWriter>

#include <gtest/gtest.h>

#include <utility>

#include <unistd.h>

namespace varnel::test {
namespace {

using guimisc::UserDialogScript;

class ReadOnlyTinItemTest : public SurveyProjectTest {
protected:
    ReadOnlyTinItem* tinItem() const { return root()->tinItem(); }
    void setTin(const tin::core::Tin& tin)
    {
        tinItem()->controller()->pushSetTinCommand(tin, QStringLiteral("Create TIN"));
    }
};

/// Opens `archive` in `session`, without the file `removeBeforeLoading` when one is named;
/// its TIN item.
ReadOnlyTinItem* openTinItem(ProjectSession& session, const QString& archive,
                             const QString& removeBeforeLoading = QString())
{
    Project* loaded = unpackCreateProject(session, archive);
    if (!loaded) {
        return nullptr;
    }
    if (!removeBeforeLoading.isEmpty()) {
        EXPECT_TRUE(QFile::remove(loaded->absoluteFileName(removeBeforeLoading)));
    }
    loaded->load();
    CreateModeMainWindowModelRootItem* root = createRootOf(session);
    return root ? root->tinItem() : nullptr;
}

void expectNoTin(const ReadOnlyTinItem* item)
{
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->tin(), nullptr);
    EXPECT_EQ(item->browserItem()->text(), "TIN (no data)");
}

TEST_F(ReadOnlyTinItemTest, SetTinCommandUndoesToNoDataAndRedoesTheTin)
{
    tin::core::Tin created = gridTin(3);
    const std::set<TriangleKey> first = trianglesOf(created);
    setTin(created);
    created.clear(); // the command and the item hold copies of their own
    EXPECT_EQ(trianglesOf(*tinItem()->tin()), first);
    EXPECT_EQ(tinItem()->browserItem()->text(), "TIN");
    EXPECT_EQ(tinItem()->myBoundingBox(), QRectF(0.0, 0.0, 3.0, 3.0));

    undoStack()->undo();
    ASSERT_NE(tinItem()->tin(), nullptr);
    EXPECT_TRUE(window()->isTinEmpty());
    EXPECT_EQ(tinItem()->browserItem()->text(), "TIN (no data)");
    undoStack()->redo();
    EXPECT_EQ(trianglesOf(*tinItem()->tin()), first);

    // Over a TIN: undo gives it back, redo the new one again.
    const tin::core::Tin second = gridTin(2, 10.0, 10.0, 5.0);
    setTin(second);
    undoStack()->undo();
    EXPECT_EQ(trianglesOf(*tinItem()->tin()), first);
    undoStack()->redo();
    EXPECT_EQ(trianglesOf(*tinItem()->tin()), trianglesOf(second));
}

TEST_F(ReadOnlyTinItemTest, TinGoesThroughTheArchiveOnlyWhenThereIsOne)
{
    QTemporaryDir outside;
    const QString empty = outside.filePath(QStringLiteral("empty.cmvn"));
    saveTo(empty);
    EXPECT_FALSE(archiveMembers(empty).contains(QStringLiteral("readOnlyTin.tin")));
    {
        ProjectSession reopened;
        expectNoTin(openTinItem(reopened, empty));
    }

    const tin::core::Tin surveyed = tin::io::StlTinImporter().importTin(
        MOVARIN_SHARED_DATA_DIR "/real/stl/hmstl_scene-thick_binary.stl");
    setTin(surveyed);
    const QString archive = outside.filePath(QStringLiteral("river.cmvn"));
    saveTo(archive);
    {
        ProjectSession reopened;
        ReadOnlyTinItem* loaded = openTinItem(reopened, archive);
        ASSERT_NE(loaded, nullptr);
        ASSERT_NE(loaded->tin(), nullptr);
        EXPECT_EQ(trianglesOf(*loaded->tin()), trianglesOf(surveyed));
        EXPECT_EQ(loaded->myBoundingBox(), tinItem()->myBoundingBox());
    }
    {
        SCOPED_TRACE("the archive without its TIN file");
        ProjectSession reopened;
        expectNoTin(openTinItem(reopened, archive, QStringLiteral("readOnlyTin.tin")));
    }

    // A save without a TIN removes the file of the earlier save from the work folder.
    tinItem()->setTin(nullptr);
    ASSERT_TRUE(project().save());
    EXPECT_FALSE(QFileInfo(project().absoluteFileName(QStringLiteral("readOnlyTin.tin"))).exists());
}

// The TIN is read while the rest of the archive unpacks; the load takes it only while the
// file is the one that was read, and otherwise reads the file as it stands.
TEST_F(ReadOnlyTinItemTest, TheTinReadAheadIsTheFileAsItStandsAtTheLoad)
{
    const tin::core::Tin surveyed = tin::io::StlTinImporter().importTin(
        MOVARIN_SHARED_DATA_DIR "/real/stl/hmstl_scene-thick_binary.stl");
    setTin(surveyed);
    QTemporaryDir outside;
    const QString archive = outside.filePath(QStringLiteral("river.cmvn"));
    saveTo(archive);
    const QString member = QString::fromLatin1(ReadOnlyTinItem::FILENAME);
    {
        SCOPED_TRACE("read ahead, as the file reads");
        ProjectSession reopened;
        Project* loaded = unpackCreateProject(reopened, archive);
        ASSERT_NE(loaded, nullptr);
        auto* readAhead = dynamic_cast<TinReadAhead*>(loaded->memberReadAhead());
        ASSERT_NE(readAhead, nullptr);
        const std::string path = loaded->absoluteFileName(member).toStdString();
        std::unique_ptr<tin::core::Tin> early = readAhead->take(path);
        ASSERT_NE(early, nullptr);
        EXPECT_EQ(trianglesOf(*early), trianglesOf(tin::io::TinTinImporter().importTin(path.c_str())));
        EXPECT_EQ(trianglesOf(*early), trianglesOf(surveyed));
        EXPECT_EQ(readAhead->take(path), nullptr); // taken once
    }
    {
        SCOPED_TRACE("loaded");
        ProjectSession reopened;
        ReadOnlyTinItem* item = openTinItem(reopened, archive);
        ASSERT_NE(item, nullptr);
        ASSERT_NE(item->tin(), nullptr);
        EXPECT_EQ(trianglesOf(*item->tin()), trianglesOf(surveyed));
    }
    {
        SCOPED_TRACE("the file replaced after the unpacking");
        ProjectSession reopened;
        Project* loaded = unpackCreateProject(reopened, archive);
        ASSERT_NE(loaded, nullptr);
        const tin::core::Tin other = gridTin(3, 5.0, 5.0, 2.0);
        tin::io::TinTinExporter().exportTin(loaded->absoluteFileName(member).toStdString().c_str(),
                                            other);
        loaded->load();
        ReadOnlyTinItem* item = createRootOf(reopened)->tinItem();
        ASSERT_NE(item->tin(), nullptr);
        EXPECT_EQ(trianglesOf(*item->tin()), trianglesOf(other));
    }
    {
        SCOPED_TRACE("a link, a damaged file and a discard keep nothing");
        const QString file = outside.filePath(QStringLiteral("plain.tin"));
        const QString link = outside.filePath(QStringLiteral("link.tin"));
        const QString damaged = outside.filePath(QStringLiteral("damaged.tin"));
        tin::io::TinTinExporter().exportTin(file.toStdString().c_str(), gridTin(3));
        ASSERT_EQ(::symlink(QFile::encodeName(file).constData(), QFile::encodeName(link).constData()), 0);
        QByteArray bytes = fileBytes(file);
        bytes.truncate(bytes.size() / 2);
        ASSERT_TRUE(writeFileBytes(damaged, bytes));
        TinReadAhead readAhead({QStringLiteral("plain.tin")});
        EXPECT_EQ(readAhead.members(), QStringList{QStringLiteral("plain.tin")});
        for (const QString& path : {link, damaged, file}) {
            readAhead.read(path);
        }
        EXPECT_EQ(readAhead.take(link.toStdString()), nullptr);
        EXPECT_EQ(readAhead.take(damaged.toStdString()), nullptr);
        readAhead.discard();
        EXPECT_EQ(readAhead.take(file.toStdString()), nullptr);
        readAhead.read(file);
        EXPECT_NE(readAhead.take(file.toStdString()), nullptr);
    }
}

TEST_F(ReadOnlyTinItemTest, EditedTinItemStoresTinTinTheSameWay)
{
    // The edited TIN of an edit-mode project, tried here under the create-mode root.
    auto* edited = new TinItem(nullptr);
    edited->setParent(root());
    const tin::core::Tin surveyed = gridTin(4, -2.0, -2.0, 1.5);
    edited->setTin(new tin::core::Tin(surveyed));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QXmlStreamWriter writer(&buffer);
        writer.writeStartElement(QStringLiteral("Tin"));
        edited->saveToProjectMainFile(&writer);
        writer.writeEndElement();
    }
    EXPECT_TRUE(QFileInfo(project().absoluteFileName(QStringLiteral("tin.tin"))).isFile());

    QDomDocument document;
    ASSERT_TRUE(document.setContent(buffer.data()));
    auto* reloaded = new TinItem(nullptr);
    reloaded->setParent(root());
    reloaded->loadFromProjectMainFile(document.documentElement());
    ASSERT_NE(reloaded->tin(), nullptr);
    EXPECT_EQ(trianglesOf(*reloaded->tin()), trianglesOf(surveyed));
    EXPECT_EQ(reloaded->browserItem()->text(), "TIN");
}

// Black pixels, and pixels neither black nor background, of the view within world `area`.
std::pair<int, int> blackAndColoured(mvc::core::View& view, const QRectF& area)
{
    const QImage picture = view.grab().toImage();
    const QColor background = picture.pixelColor(0, 0);
    const QRect pixels =
        QRectF(view.conv(area.topLeft()), view.conv(area.bottomRight())).normalized().toRect();
    std::pair<int, int> counts{0, 0};
    for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
        for (int x = pixels.left(); x <= pixels.right(); ++x) {
            const QColor pixel = picture.pixelColor(x, y);
            counts.first += pixel == Qt::black ? 1 : 0;
            counts.second += pixel != Qt::black && pixel != background ? 1 : 0;
        }
    }
    return counts;
}

TEST_F(ReadOnlyTinItemTest, EdgesAreBlackOnlyWhenTheSettingIsOn)
{
    // Elevations within the colour scale: no fill is black. The area stays clear of the
    // scale bar in the bottom-right corner.
    setTin(gridTin(6, 0.0, 0.0, 20.0));
    view()->fit(QRectF(-1.0, -1.0, 12.0, 12.0));
    const QRectF area(-0.5, -0.5, 7.0, 7.0);

    QSettings().setValue(settings::graphicsShowTinEdges, true);
    view()->updateView();
    const auto withEdges = blackAndColoured(*view(), area);
    EXPECT_GT(withEdges.first, 0);
    QSettings().remove(settings::graphicsShowTinEdges); // absent: off
    view()->updateView();
    const auto fillOnly = blackAndColoured(*view(), area);
    EXPECT_EQ(fillOnly.first, 0);
    EXPECT_GT(fillOnly.second, withEdges.second);

    undoStack()->undo();
    EXPECT_EQ(blackAndColoured(*view(), area), std::make_pair(0, 0));
}

/// Triangles that orlin's STL reader finds in `path`, read from an ASCII-named copy.
std::size_t facetsReadBack(const QString& path)
{
    QTemporaryDir scratch;
    const QString ascii = scratch.filePath(QStringLiteral("readback.stl"));
    EXPECT_TRUE(QFile::copy(path, ascii));
    return tin::io::StlTinImporter().importTin(QFile::encodeName(ascii).constData())
        .allTriangles()
        .size();
}

TEST_F(ReadOnlyTinItemTest, StlExportToAnyPathReplacesTheTargetWhole)
{
    UserDialogScript script;
    tinItem()->controller()->exportTin();
    EXPECT_TRUE(script.records().empty()); // no TIN: not even the dialog

    // Near the origin (STL holds floats), with a facet listed clockwise and a degenerate one.
    tin::core::Tin tin = gridTin(3, -1.5, -1.5, 2.0);
    auto p = [](double x, double y, double z) { return std::make_shared<tin::core::Point>(x, y, z); };
    tin.addTriangle(p(5.0, 0.0, 1.0), p(6.0, 1.0, 1.5), p(7.0, 0.0, 3.0));
    tin.addTriangle(p(5.0, 5.0, 1.0), p(6.0, 6.0, 2.0), p(7.0, 7.0, 3.0));
    const std::size_t n = tin.allTriangles().size();
    setTin(tin);

    QTemporaryDir outside;
    ASSERT_TRUE(QDir(outside.path()).mkdir(QString::fromUtf8("河川 データ")));
    const QString other = outside.filePath(QString::fromUtf8("河川 データ/地形 ß.stl"));
    const QString existing = outside.filePath(QStringLiteral("surface.stl"));
    QFile file(existing);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(20000, 'x'));
    file.close();
    // A name typed without a suffix gets the dialog's ".stl", which the program's Open looks for.
    const QString typed = outside.filePath(QStringLiteral("gml_tin"));
    const QString named = typed + QStringLiteral(".stl");
    for (const auto& [answer, target] : {std::pair{other, other}, std::pair{existing, existing},
                                         std::pair{typed, named}}) {
        SCOPED_TRACE(target.toStdString());
        script.answerFile(answer);
        tinItem()->controller()->exportAction()->trigger();
        EXPECT_EQ(script.records().back().filter, "STL file (*.stl)");
        const ScriptResult check = runSurveyScript(QStringLiteral("check_stl.py"), {target});
        EXPECT_EQ(check.exitCode, 0) << check.output.toStdString();
        EXPECT_EQ(check.output, QStringLiteral("facets %1").arg(n));
        EXPECT_EQ(facetsReadBack(target), n);
    }
    EXPECT_TRUE(script.messageBoxes().empty());
    EXPECT_EQ(guimisc::LastIODirectory::get(), outside.path());
    // No temporary file is left beside the targets or in the work folder.
    EXPECT_EQ(QDir(outside.path()).entryList(QDir::Files),
              QStringList({"gml_tin.stl", "surface.stl"}));
    EXPECT_TRUE(QDir(project().workFolder()).entryList({"*.stl"}, QDir::Files).isEmpty());

    // A target that cannot be written: the "Error" box names it on its first line.
    script.clearRecords();
    const QString folder = outside.filePath(QStringLiteral("taken.stl"));
    ASSERT_TRUE(QDir(outside.path()).mkdir(QStringLiteral("taken.stl")));
    for (const QString& target : {outside.filePath(QStringLiteral("missing/surface.stl")), folder}) {
        script.answerFile(target).answer(QMessageBox::Ok);
        tinItem()->controller()->exportTin();
    }
    const std::vector<UserDialogScript::Record> boxes = script.messageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].kind, guimisc::UserDialogs::Kind::Critical);
    EXPECT_EQ(boxes[1].title, "Error");
    EXPECT_TRUE(boxes[1].text.section('\n', 0, 0).contains(QDir::toNativeSeparators(folder)));
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_EQ(guimisc::LastIODirectory::get(), outside.path());
}

} // namespace
} // namespace varnel::test
