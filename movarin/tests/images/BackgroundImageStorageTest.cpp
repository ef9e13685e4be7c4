// Background images in the project: "project.xml" read by a second reader, the picture
// files read back by GDAL, the archive listed by Python's zipfile, and the project opened
// again; a missing picture file, and a picture that cannot be written.
#include "ImagesTestSupport.h"

#include "movarin/shell/CreateModeMainWindowModel.h"
#include "movarin/shell/ProjectFile.h"
#include "movarin/survey/BackgroundImageGroupItem.h"
#include "movarin/survey/BackgroundImageItem.h"
#include "pelkas/GdalImage.h"
#include "pelkas/GdalImageSetting.h"

#include "support/QtPrinters.h"

#include <common/exception/RuntimeException.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace varnel::test {
namespace {

using common::exception::RuntimeException;
using pelkastest::makeSetting;

const QString GROUP_FOLDER = QStringLiteral("backgroundImageGroup");

QString storedPath(Project& project, int index)
{
    return QDir(project.workFolder())
        .filePath(GROUP_FOLDER + QStringLiteral("/background%1.png").arg(index));
}

// The group's element of the saved "project.xml".
XmlElement savedGroup(ProjectSession& session)
{
    return readXmlFile(session.projectXmlPath())
        .child("Windows")
        .child("Window")
        .child("DataModel")
        .child("BackgroundImageGroup");
}

QStringList zipMembers(const QString& archive)
{
    QProcess python;
    python.start(QStringLiteral("python3"),
                 {QStringLiteral("-c"),
                  QStringLiteral("import sys, zipfile\n"
                                 "print('\\n'.join(zipfile.ZipFile(sys.argv[1]).namelist()))"),
                  archive});
    python.waitForFinished(-1);
    return QString::fromUtf8(python.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

// GDAL's size and first pixel of a stored picture.
void expectStored(const QString& path, QSize size, const QColor& colour)
{
    SCOPED_TRACE(path.toStdString());
    const GdalRaster raster = readWithGdal(path.toStdString());
    EXPECT_EQ(raster.driver, "PNG");
    EXPECT_EQ(QSize(raster.width, raster.height), size);
    ASSERT_GE(raster.bands.size(), 3u);
    EXPECT_EQ(QColor(raster.bands[0][0], raster.bands[1][0], raster.bands[2][0]), colour);
}

TEST_F(ImagesTest, ImagesAreStoredInChildOrderAndRenamedAfterAReorder)
{
    // Imported at the front: the last import is the first child.
    BackgroundImageItem* a = importImage(writePicture("a.png", filledPicture(3, 2, Qt::red)));
    BackgroundImageItem* b = importImage(writePicture("b.png", filledPicture(4, 2, Qt::green)));
    BackgroundImageItem* c = importImage(writePicture("c.png", filledPicture(5, 2, Qt::blue)));
    a->image()->setSetting(makeSetting(QPointF(635615.4278659122, 853362.6430851521), 0.1, 33.3));
    b->setUnchecked();
    c->toggleVisibility();
    ASSERT_TRUE(project().save());

    XmlElement saved = savedGroup(session());
    ASSERT_EQ(saved.childNames(), QStringList({"BackgroundImage", "BackgroundImage",
                                               "BackgroundImage"}));
    EXPECT_EQ(saved.children[0].attributes.value("filename"), "c.png");
    EXPECT_EQ(saved.children[1].attributes.value("filename"), "b.png");
    EXPECT_EQ(saved.children[1].attributes.value("checkState"), "0");
    // Visibility is not saved: the row's state, the file name and the placement only.
    EXPECT_EQ(saved.children[0].attributes.keys(),
              QStringList({"angle", "checkState", "filename", "isExpanded", "scale", "topLeftX",
                           "topLeftY"}));
    expectStored(storedPath(project(), 1), QSize(5, 2), Qt::blue);
    expectStored(storedPath(project(), 2), QSize(4, 2), Qt::green);
    expectStored(storedPath(project(), 3), QSize(3, 2), Qt::red);

    group()->moveDownChild(c);
    ASSERT_TRUE(project().save());
    saved = savedGroup(session());
    EXPECT_EQ(saved.children[0].attributes.value("filename"), "b.png");
    EXPECT_EQ(saved.children[1].attributes.value("filename"), "c.png");
    expectStored(storedPath(project(), 1), QSize(4, 2), Qt::green);
    expectStored(storedPath(project(), 2), QSize(5, 2), Qt::blue);

    // Through the archive and opened again: the same rows, states, placements and pixels.
    QTemporaryDir outside;
    const QString archive = outside.filePath(QStringLiteral("images.cmvn"));
    ASSERT_TRUE(project().zipTo(archive));
    const QStringList members = zipMembers(archive);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_TRUE(members.contains(GROUP_FOLDER + QStringLiteral("/background%1.png").arg(i)))
            << members.join(' ').toStdString();
    }
    ProjectSession second;
    Project& reopened = second.newCreateProject();
    ASSERT_TRUE(reopened.unzipFrom(archive));
    reopened.load();
    ASSERT_TRUE(reopened.save());
    EXPECT_EQ(firstDifference(saved, savedGroup(second)), "");
    expectStored(storedPath(reopened, 1), QSize(4, 2), Qt::green);
    expectStored(storedPath(reopened, 2), QSize(5, 2), Qt::blue);
    expectStored(storedPath(reopened, 3), QSize(3, 2), Qt::red);
}

TEST_F(ImagesTest, RealJpegKeepsItsWorldFilePlacementAndIsStoredAsPngOfItsPixels)
{
    const std::string jpeg = gdaltest::realData("image/autzen.jpg");
    BackgroundImageItem* item = importImage(jpeg);
    const gdalimg::GdalImageSetting& setting = item->image()->setting();
    EXPECT_TRUE(item->image()->isSettingLoaded());
    EXPECT_DOUBLE_EQ(setting.topLeft().x(), 635615.4278659122);
    EXPECT_DOUBLE_EQ(setting.topLeft().y(), 853362.6430851521);
    EXPECT_EQ(setting.scale(), 1.0);
    ASSERT_TRUE(project().save());

    EXPECT_EQ(savedGroup(session()).child("BackgroundImage").attributes.value("filename"),
              "autzen.jpg");
    const GdalRaster source = readWithGdal(jpeg);
    const GdalRaster stored = readWithGdal(storedPath(project(), 1).toStdString());
    EXPECT_EQ(source.driver, "JPEG");
    EXPECT_EQ(stored.driver, "PNG");
    EXPECT_EQ(stored.bands.size(), 3u);
    EXPECT_EQ(stored.width, 3248);
    EXPECT_EQ(stored.height, 4385);
    EXPECT_TRUE(stored.bands == source.bands);
}

TEST_F(ImagesTest, MissingPictureFileLoadsAsAnEmptyImageThatStillSaves)
{
    importImage(writePicture("kept.png", filledPicture(3, 3, Qt::red)));
    BackgroundImageItem* lost = importImage(writePicture("lost.png", filledPicture(6, 2, Qt::blue)));
    const gdalimg::GdalImageSetting setting = makeSetting(QPointF(12.5, 99), 0.25, 10);
    lost->image()->setSetting(setting);
    ASSERT_TRUE(project().save());
    QTemporaryDir outside;
    const QString archive = outside.filePath(QStringLiteral("lost.cmvn"));
    ASSERT_TRUE(project().zipTo(archive));

    ProjectSession second;
    Project& reopened = second.newCreateProject();
    ASSERT_TRUE(reopened.unzipFrom(archive));
    ASSERT_TRUE(QFile::remove(storedPath(reopened, 1)));
    ASSERT_NO_THROW(reopened.load());
    auto window = qobject_cast<CreateModeMainWindow*>(reopened.projectWindow());
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(groupOf(window)->childItems().size(), 2u);
    auto empty = static_cast<BackgroundImageItem*>(groupOf(window)->childItems()[0]);
    EXPECT_EQ(empty->caption(), "lost.png");
    EXPECT_TRUE(empty->image()->image().isNull());
    EXPECT_EQ(empty->image()->setting().topLeft(), setting.topLeft());
    EXPECT_EQ(empty->image()->setting().scale(), setting.scale());
    EXPECT_EQ(empty->myBoundingBox(), QRectF(setting.topLeft(), QSizeF(0, 0)));
    // The window's extent is the other image's.
    EXPECT_EQ(window->model()->boundingBox(), groupOf(window)->childItems()[1]->boundingBox());

    // Saving again keeps the item and its placement; no picture file is made for it.
    ASSERT_TRUE(reopened.save());
    EXPECT_FALSE(QFile::exists(storedPath(reopened, 1)));
    EXPECT_TRUE(QFile::exists(storedPath(reopened, 2)));
    const XmlElement saved = savedGroup(second);
    ASSERT_EQ(saved.children.size(), 2u);
    EXPECT_EQ(saved.children[0].attributes.value("filename"), "lost.png");
    EXPECT_EQ(saved.children[0].attributes.value("topLeftX"), "12.5");
}

TEST_F(ImagesTest, GroupElementGivesOneImagePerChildElementWhateverItsTag)
{
    session().newCreateProject();
    session().writeProjectXml(QStringLiteral(
        "<Windows><Window name=\"createMainWindow\"><DataModel><BackgroundImageGroup>"
        "<BackgroundImage filename=\"a.png\" scale=\"2\"/><!-- a note -->"
        "<Picture filename=\"b.png\"/>"
        "</BackgroundImageGroup></DataModel></Window></Windows>"));
    project().load();
    auto window = qobject_cast<CreateModeMainWindow*>(project().projectWindow());
    ASSERT_NE(window, nullptr);
    const std::vector<mvc::core::ModelItem*>& images = groupOf(window)->childItems();
    ASSERT_EQ(images.size(), 2u);
    auto a = static_cast<BackgroundImageItem*>(images[0]);
    auto b = static_cast<BackgroundImageItem*>(images[1]);
    EXPECT_EQ(a->caption(), "a.png");
    EXPECT_EQ(b->caption(), "b.png");
    EXPECT_EQ(a->image()->setting().scale(), 2.0);
    EXPECT_EQ(b->image()->setting().scale(), 1.0);
    EXPECT_TRUE(b->image()->image().isNull());
}

TEST_F(ImagesTest, PictureThatCannotBeWrittenFailsTheSaveAndKeepsTheEarlierFile)
{
    ASSERT_TRUE(project().save());
    QFile xml(session().projectXmlPath());
    ASSERT_TRUE(xml.open(QIODevice::ReadOnly));
    const QByteArray earlier = xml.readAll();
    xml.close();

    importImage(writePicture("blocked.png", filledPicture(3, 3, Qt::red)));
    project().projectFile()->setModified(true);
    // A folder where the picture file goes: the file cannot be put in place.
    ASSERT_TRUE(QDir().mkpath(storedPath(project(), 1)));
    try {
        project().save();
        ADD_FAILURE() << "the save did not fail";
    } catch (const RuntimeException& e) {
        EXPECT_NE(std::string(e.what()).find("background1.png"), std::string::npos) << e.what();
    }
    ASSERT_TRUE(xml.open(QIODevice::ReadOnly));
    EXPECT_EQ(xml.readAll(), earlier);
    EXPECT_TRUE(project().projectFile()->isModified());
    // No half-written picture beside the folder.
    EXPECT_EQ(QDir(QDir(project().workFolder()).filePath(GROUP_FOLDER))
                  .entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList({"background1.png"}));
}

} // namespace
} // namespace varnel::test
