// TIN items: the undoable replacement of their TIN with the browser text it shows, storage as
// TIN archives in the project (through the archive and back, missing and stale files, the
// edited TIN's "tin.tin"), and painting with and without edges.
#include "SurveyTestSupport.h"

#include "movarin/shell/SettingsKeys.h"
#include "movarin/survey/ReadOnlyTinItem.h"
#include "movarin/survey/ReadOnlyTinItemController.h"
#include "movarin/survey/TinItem.h"
#include "orlin/io/StlTinImporter.h"

#include "support/QtPrinters.h"

#include <QBuffer>
#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QSettings>
#include <QStandardItem>
#include <QTemporaryDir>
#include <QXmlStreamWriter>

#include <gtest/gtest.h>

namespace varnel::test {
namespace {

class ReadOnlyTinItemTest : public SurveyProjectTest {
protected:
    ReadOnlyTinItem* tinItem() const { return root()->tinItem(); }
    QString rowText() const { return tinItem()->browserItem()->text(); }
};

/// Opens `archive` as a new create-mode project of `session`, without the file
/// `removeBeforeLoading` when one is named; its TIN item.
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

tin::core::Tin realTin()
{
    return tin::io::StlTinImporter().importTin(
        MOVARIN_SHARED_DATA_DIR "/real/stl/hmstl_scene-thick_binary.stl");
}

TEST_F(ReadOnlyTinItemTest, SetTinCommandUndoesToNoDataAndRedoesTheTin)
{
    EXPECT_EQ(rowText(), "TIN (no data)");
    EXPECT_EQ(tinItem()->tin(), nullptr);

    tin::core::Tin created = gridTin(3);
    const std::set<TriangleKey> first = trianglesOf(created);
    tinItem()->controller()->pushSetTinCommand(created, QStringLiteral("Create TIN"));
    created.clear(); // the command and the item hold copies of their own
    ASSERT_EQ(undoStack()->count(), 1);
    EXPECT_EQ(undoStack()->text(0), "Create TIN");
    ASSERT_NE(tinItem()->tin(), nullptr);
    EXPECT_EQ(trianglesOf(*tinItem()->tin()), first);
    EXPECT_EQ(rowText(), "TIN");
    EXPECT_EQ(tinItem()->myBoundingBox(), QRectF(0.0, 0.0, 3.0, 3.0));

    undoStack()->undo();
    ASSERT_NE(tinItem()->tin(), nullptr);
    EXPECT_TRUE(tinItem()->tin()->empty());
    EXPECT_EQ(rowText(), "TIN (no data)");
    EXPECT_TRUE(window()->isTinEmpty());
    EXPECT_EQ(tinItem()->myBoundingBox(), QRectF(0.0, 0.0, 0.0, 0.0));
    undoStack()->redo();
    EXPECT_EQ(trianglesOf(*tinItem()->tin()), first);

    // A second TIN over the first: undo gives the first back, redo the second again.
    const tin::core::Tin replacing = gridTin(2, 10.0, 10.0, 5.0);
    tinItem()->controller()->pushSetTinCommand(replacing, QStringLiteral("Create TIN"));
    EXPECT_EQ(trianglesOf(*tinItem()->tin()), trianglesOf(replacing));
    undoStack()->undo();
    EXPECT_EQ(trianglesOf(*tinItem()->tin()), first);
    undoStack()->redo();
    EXPECT_EQ(trianglesOf(*tinItem()->tin()), trianglesOf(replacing));
    undoStack()->undo();
    undoStack()->undo();
    EXPECT_TRUE(tinItem()->tin()->empty());
    EXPECT_EQ(rowText(), "TIN (no data)");
}

TEST_F(ReadOnlyTinItemTest, ReplaceTinHandsTheHeldTinOverAndKeepsTheCaption)
{
    tinItem()->setCaption(QStringLiteral("base TIN"));
    EXPECT_EQ(rowText(), "TIN (no data)"); // shown only by updateCaption
    tin::core::Tin old = gridTin(1);
    tinItem()->replaceTin(new tin::core::Tin(gridTin(2)), old);
    EXPECT_TRUE(old.empty()); // there was no TIN
    EXPECT_EQ(rowText(), "base TIN");
    tinItem()->replaceTin(new tin::core::Tin(), old);
    EXPECT_EQ(trianglesOf(old), trianglesOf(gridTin(2)));
    EXPECT_EQ(rowText(), "base TIN (no data)");
}

/// The item holds no TIN and says so.
void expectNoTin(const ReadOnlyTinItem* item)
{
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->tin(), nullptr);
    EXPECT_EQ(item->browserItem()->text(), "TIN (no data)");
}

TEST_F(ReadOnlyTinItemTest, TinGoesThroughTheArchiveAndOnlyWhenThereIsOne)
{
    QTemporaryDir outside;
    const QString empty = outside.filePath(QStringLiteral("empty.cmvn"));
    saveTo(empty);
    EXPECT_FALSE(archiveMembers(empty).contains(QStringLiteral("readOnlyTin.tin")));
    {
        ProjectSession reopened;
        expectNoTin(openTinItem(reopened, empty));
    }

    const tin::core::Tin surveyed = realTin();
    ASSERT_FALSE(surveyed.empty());
    tinItem()->controller()->pushSetTinCommand(surveyed, QStringLiteral("Create TIN"));
    const QString archive = outside.filePath(QStringLiteral("river.cmvn"));
    saveTo(archive);
    EXPECT_TRUE(archiveMembers(archive).contains(QStringLiteral("readOnlyTin.tin")));
    {
        ProjectSession reopened;
        ReadOnlyTinItem* loaded = openTinItem(reopened, archive);
        ASSERT_NE(loaded, nullptr);
        ASSERT_NE(loaded->tin(), nullptr);
        EXPECT_EQ(loaded->tin()->allTriangles().size(), surveyed.allTriangles().size());
        EXPECT_EQ(trianglesOf(*loaded->tin()), trianglesOf(surveyed));
        EXPECT_EQ(loaded->browserItem()->text(), "TIN");
        EXPECT_EQ(loaded->myBoundingBox(), tinItem()->myBoundingBox());
    }
    {
        SCOPED_TRACE("the same archive with its TIN file gone");
        ProjectSession reopened;
        expectNoTin(openTinItem(reopened, archive, QStringLiteral("readOnlyTin.tin")));
    }
}

TEST_F(ReadOnlyTinItemTest, SaveWithoutTinRemovesTheFileOfAnEarlierSave)
{
    tinItem()->setTin(new tin::core::Tin(gridTin(2)));
    ASSERT_TRUE(project().save());
    const QString file = project().absoluteFileName(QStringLiteral("readOnlyTin.tin"));
    ASSERT_TRUE(QFileInfo(file).isFile());
    tinItem()->setTin(nullptr);
    ASSERT_TRUE(project().save());
    EXPECT_FALSE(QFileInfo(file).exists());
}

TEST_F(ReadOnlyTinItemTest, EditedTinItemStoresTinTinTheSameWay)
{
    // The edited TIN of an edit-mode project, tried here under the create-mode root.
    TinItem* edited = new TinItem(nullptr);
    edited->setParent(root());
    EXPECT_EQ(edited->browserItem()->text(), "TIN (no data)");
    EXPECT_EQ(edited->relativeFilename(), "tin.tin");
    const tin::core::Tin surveyed = gridTin(4, -2.0, -2.0, 1.5);
    edited->setTin(new tin::core::Tin(surveyed));

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QXmlStreamWriter writer(&buffer);
        writer.writeStartDocument();
        writer.writeStartElement(QStringLiteral("Tin"));
        edited->saveToProjectMainFile(&writer);
        writer.writeEndElement();
        writer.writeEndDocument();
    }
    EXPECT_TRUE(QFileInfo(project().absoluteFileName(QStringLiteral("tin.tin"))).isFile());
    EXPECT_FALSE(QFileInfo(project().absoluteFileName(QStringLiteral("readOnlyTin.tin"))).exists());

    QDomDocument document;
    ASSERT_TRUE(document.setContent(buffer.data()));
    TinItem* reloaded = new TinItem(nullptr);
    reloaded->setParent(root());
    reloaded->loadFromProjectMainFile(document.documentElement());
    ASSERT_NE(reloaded->tin(), nullptr);
    EXPECT_EQ(trianglesOf(*reloaded->tin()), trianglesOf(surveyed));
    EXPECT_EQ(reloaded->browserItem()->text(), "TIN");
    delete edited;
    delete reloaded;
}

// Counts the pixels of the view's picture within the world rectangle `area` that are black,
// and those that are neither black nor the view's background.
struct Coverage {
    int black = 0;
    int coloured = 0;
};

Coverage coverageOf(mvc::core::View& view, const QRectF& area)
{
    const QImage picture = view.grab().toImage();
    const QColor background = picture.pixelColor(0, 0);
    const QRect pixels =
        QRectF(view.conv(area.topLeft()), view.conv(area.bottomRight())).normalized().toRect();
    Coverage c;
    for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
        for (int x = pixels.left(); x <= pixels.right(); ++x) {
            const QColor pixel = picture.pixelColor(x, y);
            if (pixel == Qt::black) {
                ++c.black;
            } else if (pixel != background) {
                ++c.coloured;
            }
        }
    }
    return c;
}

TEST_F(ReadOnlyTinItemTest, EdgesAreBlackOnlyWhenTheSettingIsOn)
{
    // Elevations inside the colour scale's range (-100 to 100 by default): no corner is black.
    tinItem()->controller()->pushSetTinCommand(gridTin(6, 0.0, 0.0, 20.0),
                                               QStringLiteral("Create TIN"));
    view()->fit(QRectF(-1.0, -1.0, 12.0, 12.0));
    const QRectF area(-0.5, -0.5, 7.0, 7.0); // the TIN and a margin, away from the scale bar

    QSettings().setValue(settings::graphicsShowTinEdges, true);
    view()->updateView();
    const Coverage withEdges = coverageOf(*view(), area);
    EXPECT_GT(withEdges.black, 0);
    EXPECT_GT(withEdges.coloured, withEdges.black);

    QSettings().setValue(settings::graphicsShowTinEdges, false);
    view()->updateView();
    const Coverage fillOnly = coverageOf(*view(), area);
    EXPECT_EQ(fillOnly.black, 0);
    EXPECT_GT(fillOnly.coloured, withEdges.coloured);

    // A missing setting reads as off.
    QSettings().remove(settings::graphicsShowTinEdges);
    view()->updateView();
    EXPECT_EQ(coverageOf(*view(), area).black, 0);

    // Undone to the empty TIN, nothing is painted.
    undoStack()->undo();
    const Coverage none = coverageOf(*view(), area);
    EXPECT_EQ(none.black + none.coloured, 0);
}

} // namespace
} // namespace varnel::test
