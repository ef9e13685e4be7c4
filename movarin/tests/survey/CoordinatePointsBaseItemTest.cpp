// The point-set item's storage: the binary point file (checked by a second reader in
// Python), the text fallback, failed reads and writes, the extent, and the view setting
// on the item's element.
#include "PointSetTestSupport.h"

#include "support/ScratchSettings.h"

#include "common/exception/FileOpenException.h"
#include "common/exception/InvalidFileFormatException.h"

#include <QBuffer>
#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamWriter>

#include <gtest/gtest.h>

namespace varnel::test {
namespace {

using common::exception::InvalidFileFormatException;
using common::exception::RuntimeException;

/// Runs the independent reader on `path`, expecting `records` in file order ("x,y,z").
/// Returns its output; fails the test when it rejects the file.
QString checkWithSecondReader(const QString& path, const QStringList& records)
{
    QProcess python;
    python.start(QStringLiteral("python3"),
                 QStringList{QStringLiteral(MOVARIN_SOURCE_DIR
                                            "/movarin/tests/survey/read_point_file.py"),
                             path}
                     + records);
    EXPECT_TRUE(python.waitForFinished(30000));
    const QString output = QString::fromUtf8(python.readAllStandardOutput());
    EXPECT_EQ(python.exitCode(), 0) << output.toStdString()
                                    << python.readAllStandardError().toStdString();
    return output;
}

QString record(const tin::core::Point& p)
{
    return QStringLiteral("%1,%2,%3").arg(p.x(), 0, 'g', 17).arg(p.y(), 0, 'g', 17)
        .arg(p.elevation(), 0, 'g', 17);
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

class CoordinatePointsBaseItemTest : public ScratchSettingsTest {
protected:
    std::string path(const char* name) const { return m_dir.filePath(name).toStdString(); }

    QTemporaryDir m_dir;
};

TEST_F(CoordinatePointsBaseItemTest, EmptyItemSavesHeaderAndCountOnlyAndHasNoExtent)
{
    TestPointsItem item(nullptr);
    EXPECT_EQ(item.myBoundingBox(), QRectF(0.0, 0.0, 0.0, 0.0));
    EXPECT_EQ(item.filename(), "coordinatePointsBase.tpobin");
    EXPECT_EQ(item.itemTypeName(), "coordinate point data");

    item.saveExternalData(path("empty.tpobin"));
    EXPECT_EQ(QFileInfo(m_dir.filePath("empty.tpobin")).size(), 68);
    EXPECT_TRUE(checkWithSecondReader(m_dir.filePath("empty.tpobin"), {})
                    .contains("count=-1 records=0"));

    TestPointsItem loaded(new tin::core::PointSet({{5.0, 5.0, 5.0}}));
    loaded.loadExternalData(path("empty.tpobin"));
    EXPECT_TRUE(loaded.pointSet()->empty());
}

TEST_F(CoordinatePointsBaseItemTest, SavingNumbersPointsInSetOrderAndLoadingKeepsThem)
{
    auto set = new tin::core::PointSet();
    set->addPoint(std::make_shared<tin::core::Point>(10.5, -3.25, 7.0, 17));
    set->addPoint(std::make_shared<tin::core::Point>(104000.125, -36000.5, -2.75, 3));
    set->addPoint(std::make_shared<tin::core::Point>(0.1, 0.2, 0.3, 40));
    TestPointsItem item(set);
    EXPECT_EQ(item.myBoundingBox(), QRectF(QPointF(0.1, -36000.5), QPointF(104000.125, 0.2)));

    item.saveExternalData(path("points.tpobin"));
    QStringList records;
    int expectedId = 0;
    for (const auto& p : set->allPoints()) {
        EXPECT_EQ(p->id(), expectedId++);
        records << record(*p);
    }
    checkWithSecondReader(m_dir.filePath("points.tpobin"), records);

    TestPointsItem loaded(nullptr);
    loaded.loadExternalData(path("points.tpobin"));
    EXPECT_EQ(coordinatesOf(*loaded.pointSet()), coordinatesOf(*set));
    for (const auto& p : loaded.pointSet()->allPoints()) {
        ASSERT_GE(p->id(), 0);
        ASSERT_LT(p->id(), records.size());
        EXPECT_EQ(record(*p), records[p->id()]) << "id " << p->id();
    }
}

TEST_F(CoordinatePointsBaseItemTest, TextFilesLoadThroughTheTextReader)
{
    TestPointsItem item(nullptr);
    writeFile(m_dir.filePath("text.tpobin"), "x,y,z\n1,2,3\n4.5, 5 ,6\n");
    item.loadExternalData(path("text.tpobin"));
    EXPECT_EQ(coordinatesOf(*item.pointSet()), (Coordinates{{1, 2, 3}, {4.5, 5, 6}}));

    // Without any point line the reader gives an empty set.
    writeFile(m_dir.filePath("header.tpobin"), "only a title\n");
    item.loadExternalData(path("header.tpobin"));
    EXPECT_TRUE(item.pointSet()->empty());
}

TEST_F(CoordinatePointsBaseItemTest, UnreadableFilesFailTheLoadAndKeepThePoints)
{
    TestPointsItem item(new tin::core::PointSet({{1.0, 1.0, 1.0}}));
    const Coordinates before = coordinatesOf(*item.pointSet());

    // A point line, then a line that is no point.
    writeFile(m_dir.filePath("bad.tpobin"), "1,2,3\nx,y,z\n4,5,6\n");
    EXPECT_THROW(item.loadExternalData(path("bad.tpobin")), InvalidFileFormatException);

    // A binary point file that the binary reader refuses is not read as text, which would
    // skip its header as a title line and give no points.
    TestPointsItem writer(new tin::core::PointSet({{1.0, 2.0, 3.0}, {4.0, 5.0, 6.0}}));
    writer.saveExternalData(path("short.tpobin"));
    QFile::resize(m_dir.filePath("short.tpobin"), 66);
    EXPECT_THROW(item.loadExternalData(path("short.tpobin")), InvalidFileFormatException);

    EXPECT_THROW(item.loadExternalData(path("missing.tpobin")),
                 common::exception::FileOpenException);
    EXPECT_EQ(coordinatesOf(*item.pointSet()), before);
}

TEST_F(CoordinatePointsBaseItemTest, FailedWritesThrow)
{
    TestPointsItem item(new tin::core::PointSet({{1.0, 2.0, 3.0}}));
    // A full device: the write itself fails.
    EXPECT_THROW(item.saveExternalData("/dev/full"), RuntimeException);
    EXPECT_TRUE(QFileInfo(QStringLiteral("/dev/full")).exists());
    // A path taken by a folder: the open fails.
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("folder.tpobin"));
    EXPECT_THROW(item.saveExternalData(path("folder.tpobin")), RuntimeException);
    EXPECT_TRUE(QFileInfo(m_dir.filePath("folder.tpobin")).isDir());
}

TEST_F(CoordinatePointsBaseItemTest, ViewSettingAndPointsSurviveSaveAndReopen)
{
    ScratchSettings::writeStartupDefaults();
    PointScene scene;
    TestPointsItem* item = scene.addItem({{0.5, 0.5, 1.0}, {-1.0, 1.5, 2.0}});
    // The project's save makes the folders the items' files go to.
    ASSERT_TRUE(scene.project().save());
    item->view()->setViewSetting(CoordinatePointsBaseItemViewSetting(QColor(10, 200, 30), 5, false));

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QXmlStreamWriter writer(&buffer);
        writer.writeStartElement("Points");
        item->saveToProjectMainFile(&writer);
        writer.writeEndElement();
    }
    QDomDocument document;
    ASSERT_TRUE(document.setContent(buffer.data()));
    const QDomElement element = document.documentElement();
    EXPECT_EQ(element.attribute("color"), "#0ac81e");
    EXPECT_EQ(element.attribute("radius"), "5");
    EXPECT_EQ(element.attribute("useColorByValue"), "false");

    TestPointsItem* reopened = scene.addItem();
    reopened->setFilename(item->filename());
    reopened->loadFromProjectMainFile(element);
    EXPECT_EQ(reopened->view()->viewSetting(),
              CoordinatePointsBaseItemViewSetting(QColor(10, 200, 30), 5, false));
    EXPECT_EQ(coordinatesOf(*reopened->pointSet()), coordinatesOf(*item->pointSet()));

    // Missing or malformed attributes keep the view's values.
    QDomDocument partial;
    ASSERT_TRUE(partial.setContent(QByteArray("<Points radius=\"100000\" color=\"nonsense\"/>")));
    TestPointsItem* other = scene.addItem();
    other->setFilename("");
    other->loadFromProjectMainFile(partial.documentElement());
    EXPECT_EQ(other->view()->viewSetting(),
              CoordinatePointsBaseItemViewSetting(Qt::cyan, 2, true));
}

} // namespace
} // namespace varnel::test
