// Importing cross sections from CSV through the folder's "Import": the sections first in
// file order as one undo step, the lines that stop the reading (a header, a blank line,
// too few fields, what is no finite number, S = E) with the sections above them kept, an
// empty or missing file, and the undo closing the imported sections' windows.
#include "SectionsTestSupport.h"

#include "movarin/sections/CrossSectionGroupItem.h"
#include "movarin/sections/CrossSectionGroupItemController.h"
#include "movarin/sections/CrossSectionItem.h"
#include "movarin/sections/CrossSectionItemController.h"
#include "movarin/shell/EditModeMainWindow.h"
#include "movarin/shell/EditModeMainWindowModel.h"

#include "brask/core/Model.h"

#include <guimisc/LastIODirectory.h>
#include <guimisc/UserDialogScript.h>

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTemporaryDir>
#include <QUndoStack>

#include <gtest/gtest.h>

namespace varnel::test {
namespace {

class CrossSectionCsvImportTest : public SectionsTest {
protected:
    QString writeCsv(const QByteArray& content)
    {
        const QString path = m_folder.filePath(QStringLiteral("sections.csv"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            ADD_FAILURE() << "cannot write " << path.toStdString();
        }
        file.write(content);
        return path;
    }

    /// Runs "Import" with the file dialog answered by `path`; the message boxes shown.
    std::vector<guimisc::UserDialogScript::Record> import(const QString& path)
    {
        guimisc::UserDialogScript script;
        script.answerFile(path);
        groupController()->importAction()->trigger();
        return script.messageBoxes();
    }

    QStringList names() const
    {
        QStringList list;
        for (const CrossSectionItem* section : group()->crossSections()) {
            list << section->name();
        }
        return list;
    }

    QTemporaryDir m_folder;
};

TEST_F(CrossSectionCsvImportTest, SectionsComeFirstInFileOrderAsOneUndoStep)
{
    addSection(QStringLiteral("drawn"), {0.0, 0.0}, {1.0, 0.0});
    const QString path = writeCsv("A,1,2,3,4\n\"B, left\",-5.5,6e2,7,8,extra,fields\r\nC,0,0,0,1");
    EXPECT_TRUE(import(path).empty());

    EXPECT_EQ(names(), QStringList({"A", "B, left", "C", "drawn"}));
    const CrossSectionItem* b = group()->crossSections()[1];
    EXPECT_EQ(QPointF(b->startX(), b->startY()), QPointF(-5.5, 600.0));
    EXPECT_EQ(QPointF(b->endX(), b->endY()), QPointF(7.0, 8.0));
    EXPECT_EQ(window()->model()->selectedItem(), group()->crossSections()[0]);
    EXPECT_EQ(guimisc::LastIODirectory::get(), QFileInfo(path).absolutePath());
    ASSERT_EQ(undoStack()->count(), 1);
    EXPECT_EQ(undoStack()->undoText(), "Add new cross sections");

    const QPointer<QMdiSubWindow> window = [&] {
        group()->crossSections()[0]->controller()->showAction()->trigger();
        return group()->crossSections()[0]->controller()->crossSectionSubWindow();
    }();
    ASSERT_TRUE(window);
    undoStack()->undo();
    settle();
    EXPECT_EQ(names(), QStringList({"drawn"}));
    EXPECT_FALSE(window) << "the undo closes the imported sections' windows";
    undoStack()->redo();
    EXPECT_EQ(names(), QStringList({"A", "B, left", "C", "drawn"}));
}

TEST_F(CrossSectionCsvImportTest, ALineThatHoldsNoSectionStopsTheReading)
{
    struct Case {
        QByteArray content;
        QStringList imported;
        int failedLine;
    };
    const Case cases[] = {
        {"name,startX,startY,endX,endY\nA,1,2,3,4\n", {}, 1},
        {"A,1,2,3,4\nB,1,2,3,5\n\nC,1,2,3,6\n", {"A", "B"}, 3},
        {"A,1,2,3,4\nB,1,2,3\n", {"A"}, 2},
        {"A,1,2,3,4\nB,nan,2,3,4\n", {"A"}, 2},
        {"A,inf,2,3,4\n", {}, 1},
        {"A,1,2,-inf,4\n", {}, 1},
        {"A,1,2,3,4\nB,5,5,5,5\n", {"A"}, 2},
        // Beyond any plane coordinate system: refused as a non-number is.
        {"A,1e10,2,3,4\n", {}, 1},
        {"A,1e9,2,-1e9,4\nB,1,2,3,-1e10\n", {"A"}, 2},
        {"A,-1e308,50,1e308,50\n", {}, 1},
    };
    for (const Case& c : cases) {
        undoStack()->clear();
        for (CrossSectionItem* section : group()->crossSections()) {
            group()->deleteChild(section);
        }
        const std::vector<guimisc::UserDialogScript::Record> boxes = import(writeCsv(c.content));
        ASSERT_GE(boxes.size(), 1u) << c.content.toStdString();
        EXPECT_EQ(boxes[0].title, "Warning");
        EXPECT_EQ(boxes[0].text, QStringLiteral("Parse failed at line %1").arg(c.failedLine))
            << c.content.toStdString();
        EXPECT_EQ(names(), c.imported) << c.content.toStdString();
        if (c.imported.isEmpty()) {
            ASSERT_EQ(boxes.size(), 2u);
            EXPECT_EQ(boxes[1].text, "No crosss section data is found.");
            EXPECT_EQ(undoStack()->count(), 0);
        } else {
            EXPECT_EQ(boxes.size(), 1u);
            EXPECT_EQ(undoStack()->count(), 1);
        }
    }
}

TEST_F(CrossSectionCsvImportTest, EmptyOrMissingFileImportsNothing)
{
    for (const QString& path : {writeCsv(""), m_folder.filePath(QStringLiteral("missing.csv"))}) {
        const std::vector<guimisc::UserDialogScript::Record> boxes = import(path);
        ASSERT_EQ(boxes.size(), 1u) << path.toStdString();
        EXPECT_EQ(boxes[0].text, "No crosss section data is found.");
    }
    EXPECT_TRUE(group()->crossSections().empty());
    EXPECT_EQ(undoStack()->count(), 0);
}

} // namespace
} // namespace varnel::test
