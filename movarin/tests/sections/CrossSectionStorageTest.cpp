// Cross sections through "project.xml": the attributes as a second reader sees them, the end
// points back bit for bit after reopening, the file names by position with no file written,
// and a comment among the sections making none.
#include "SectionsTestSupport.h"

#include "movarin/sections/CrossSectionGroupItem.h"
#include "movarin/sections/CrossSectionItem.h"
#include "movarin/shell/EditModeMainWindow.h"
#include "movarin/shell/EditModeMainWindowModel.h"
#include "movarin/shell/EditModeMainWindowModelRootItem.h"
#include "movarin/shell/Project.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace varnel::test {
namespace {

struct Stored {
    QString name;
    double values[4]; ///< startX, startY, endX, endY
};

bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

class CrossSectionStorageTest : public SectionsTest {};

TEST_F(CrossSectionStorageTest, EndPointsAndNamesComeBackExactly)
{
    // Doubles whose shortest text is long, tiny, huge or a negative zero; names with
    // non-ASCII letters, quotes, commas and markup.
    const Stored stored[] = {
        {QStringLiteral("Kilometre 1.2, \"left\" <bank> & ümlaut"), {0.1, -0.0, 1.0 / 3.0, 2e-300}},
        {QString(), {123456.78901234567, -98765.4321, 1e300, std::nextafter(5.0, 6.0)}},
        {QStringLiteral("Cross section 3"), {-12.5, 40.0, -12.5, 41.0}},
    };
    for (const Stored& s : stored) {
        addSection(s.name, {s.values[0], s.values[1]}, {s.values[2], s.values[3]});
    }
    ASSERT_TRUE(session().project()->save());
    QDirIterator files(session().project()->workFolder(), QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        EXPECT_FALSE(files.next().contains(QStringLiteral("crosssection"))) << "a file was written";
    }

    const XmlElement project = readXmlFile(session().projectXmlPath());
    const std::vector<XmlElement>& elements = project.child("Windows")
                                                  .child("Window")
                                                  .child("DataModel")
                                                  .child("CrossSectionTop")
                                                  .child("CrossSectionGroup")
                                                  .children;
    ASSERT_EQ(elements.size(), 3u);
    const char* names[] = {"startX", "startY", "endX", "endY"};
    for (std::size_t i = 0; i < elements.size(); ++i) {
        EXPECT_EQ(elements[i].name, "CrossSection");
        EXPECT_EQ(elements[i].attributes.value("name"), stored[i].name);
        for (int k = 0; k < 4; ++k) {
            EXPECT_TRUE(sameBits(elements[i].attributes.value(names[k]).toDouble(),
                                 stored[i].values[k]))
                << "section " << i << " " << names[k];
        }
    }

    // A comment before the second section makes no section of its own.
    QFile xml(session().projectXmlPath());
    ASSERT_TRUE(xml.open(QIODevice::ReadOnly));
    QString text = QString::fromUtf8(xml.readAll());
    xml.close();
    text.insert(text.indexOf(QStringLiteral("<CrossSection "),
                             text.indexOf(QStringLiteral("<CrossSection ")) + 1),
                QStringLiteral("<!-- the second one -->"));
    ASSERT_TRUE(xml.open(QIODevice::WriteOnly | QIODevice::Truncate));
    xml.write(text.toUtf8());
    xml.close();

    // A file under a section's name is none of the section's: the save leaves it alone and
    // the archive does not take it.
    const QString stray = QDir(session().project()->workFolder()).filePath("crosssection1.png");
    QFile strayFile(stray);
    ASSERT_TRUE(strayFile.open(QIODevice::WriteOnly));
    strayFile.write("not a section's");
    strayFile.close();
    ASSERT_TRUE(session().project()->save());
    EXPECT_TRUE(QFileInfo::exists(stray));

    QTemporaryDir scratch;
    const QString archive = scratch.filePath(QStringLiteral("sections.emvn"));
    ASSERT_TRUE(session().project()->zipTo(archive));
    QProcess listing;
    listing.start(QStringLiteral("unzip"), {QStringLiteral("-Z1"), archive});
    ASSERT_TRUE(listing.waitForFinished(30000));
    const QString members = QString::fromUtf8(listing.readAllStandardOutput());
    EXPECT_TRUE(members.contains(QStringLiteral("project.xml"))) << members.toStdString();
    EXPECT_FALSE(members.contains(QStringLiteral("crosssection"))) << members.toStdString();
    Project& reopened = session().newEditProject();
    ASSERT_TRUE(reopened.unzipFrom(archive));
    reopened.load();
    auto window = qobject_cast<EditModeMainWindow*>(reopened.projectWindow());
    ASSERT_NE(window, nullptr);
    const std::vector<CrossSectionItem*> sections =
        window->model()->rootItem()->crossSectionGroupItem()->crossSections();
    ASSERT_EQ(sections.size(), 3u);
    for (std::size_t i = 0; i < sections.size(); ++i) {
        EXPECT_EQ(sections[i]->name(), stored[i].name);
        EXPECT_EQ(sections[i]->caption(), stored[i].name);
        const double read[] = {sections[i]->startX(), sections[i]->startY(), sections[i]->endX(),
                               sections[i]->endY()};
        for (int k = 0; k < 4; ++k) {
            EXPECT_TRUE(sameBits(read[k], stored[i].values[k])) << "section " << i << " " << k;
        }
        EXPECT_EQ(sections[i]->filename(), "crosssection" + std::to_string(i + 1) + ".png");
    }
}

} // namespace
} // namespace varnel::test
