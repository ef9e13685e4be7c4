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
#include "movarin/shell/ProjectFile.h"

#include <QDirIterator>
#include <QFile>
#include <QStandardItem>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>

namespace varnel::test {
namespace {

struct Stored {
    QString name;
    QPointF start;
    QPointF end;
};

/// Doubles whose shortest text is long, tiny, huge or a negative zero, and names with
/// non-ASCII letters, quotes, commas and markup.
const std::vector<Stored> SECTIONS = {
    {QStringLiteral("Kilometre 1.2, \"left\" <bank> & ümlaut"), {0.1, -0.0}, {1.0 / 3.0, 2e-300}},
    {QString(), {123456.78901234567, -98765.4321}, {1e300, std::nextafter(5.0, 6.0)}},
    {QStringLiteral("Cross section 3"), {-12.5, 40.0}, {-12.5, 41.0}},
};

bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

class CrossSectionStorageTest : public SectionsTest {
protected:
    /// The sections of the group element of a "project.xml" read by the second reader.
    static std::vector<XmlElement> storedSections(const QString& projectXml)
    {
        const XmlElement project = readXmlFile(projectXml);
        const XmlElement& group = project.child("Windows")
                                      .child("Window")
                                      .child("DataModel")
                                      .child("CrossSectionTop")
                                      .child("CrossSectionGroup");
        return group.children;
    }

    /// Packs the project, reopens the archive as a new project and returns its group.
    CrossSectionGroupItem* reopen(const std::function<void(const QString&)>& editXml = {})
    {
        if (editXml) {
            editXml(session().projectXmlPath());
        }
        const QString archive = m_scratch.filePath(QStringLiteral("sections.emvn"));
        if (!session().project()->zipTo(archive)) {
            ADD_FAILURE() << "cannot pack the project";
            return nullptr;
        }
        Project& reopened = session().newEditProject();
        if (!reopened.unzipFrom(archive)) {
            ADD_FAILURE() << "cannot unpack the project";
            return nullptr;
        }
        reopened.load();
        auto window = qobject_cast<EditModeMainWindow*>(reopened.projectWindow());
        return window ? window->model()->rootItem()->crossSectionGroupItem() : nullptr;
    }

    QTemporaryDir m_scratch;
};

TEST_F(CrossSectionStorageTest, EndPointsAndNamesComeBackExactly)
{
    for (const Stored& s : SECTIONS) {
        addSection(s.name, s.start, s.end);
    }
    ASSERT_TRUE(session().project()->save());

    const std::vector<CrossSectionItem*> saved = group()->crossSections();
    for (std::size_t i = 0; i < saved.size(); ++i) {
        EXPECT_EQ(saved[i]->filename(), "crosssection" + std::to_string(i + 1) + ".png");
    }
    QDirIterator files(session().project()->workFolder(), QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        EXPECT_FALSE(files.next().contains(QStringLiteral("crosssection"))) << "a file was written";
    }

    const std::vector<XmlElement> elements = storedSections(session().projectXmlPath());
    ASSERT_EQ(elements.size(), SECTIONS.size());
    for (std::size_t i = 0; i < elements.size(); ++i) {
        const XmlElement& e = elements[i];
        EXPECT_EQ(e.name, "CrossSection");
        EXPECT_EQ(e.attributes.value("name"), SECTIONS[i].name);
        const double read[] = {e.attributes.value("startX").toDouble(),
                               e.attributes.value("startY").toDouble(),
                               e.attributes.value("endX").toDouble(),
                               e.attributes.value("endY").toDouble()};
        const double written[] = {SECTIONS[i].start.x(), SECTIONS[i].start.y(),
                                  SECTIONS[i].end.x(), SECTIONS[i].end.y()};
        for (int k = 0; k < 4; ++k) {
            EXPECT_TRUE(sameBits(read[k], written[k])) << "section " << i << " value " << k;
        }
    }

    CrossSectionGroupItem* loaded = reopen();
    ASSERT_NE(loaded, nullptr);
    const std::vector<CrossSectionItem*> sections = loaded->crossSections();
    ASSERT_EQ(sections.size(), SECTIONS.size());
    for (std::size_t i = 0; i < sections.size(); ++i) {
        EXPECT_EQ(sections[i]->name(), SECTIONS[i].name);
        EXPECT_EQ(sections[i]->caption(), SECTIONS[i].name);
        EXPECT_TRUE(sameBits(sections[i]->startX(), SECTIONS[i].start.x()));
        EXPECT_TRUE(sameBits(sections[i]->startY(), SECTIONS[i].start.y()));
        EXPECT_TRUE(sameBits(sections[i]->endX(), SECTIONS[i].end.x()));
        EXPECT_TRUE(sameBits(sections[i]->endY(), SECTIONS[i].end.y()));
        EXPECT_EQ(sections[i]->filename(), "crosssection" + std::to_string(i + 1) + ".png");
    }
}

TEST_F(CrossSectionStorageTest, ACommentAmongTheSectionsMakesNone)
{
    addSection(QStringLiteral("a"), {1.0, 2.0}, {3.0, 4.0});
    addSection(QStringLiteral("b"), {5.0, 6.0}, {7.0, 8.0});
    ASSERT_TRUE(session().project()->save());

    CrossSectionGroupItem* loaded = reopen([](const QString& path) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        QString text = QString::fromUtf8(file.readAll());
        file.close();
        const int second = text.indexOf(QStringLiteral("<CrossSection "),
                                        text.indexOf(QStringLiteral("<CrossSection ")) + 1);
        ASSERT_GT(second, 0);
        text.insert(second, QStringLiteral("<!-- the second one -->"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text.toUtf8());
    });
    ASSERT_NE(loaded, nullptr);
    const std::vector<CrossSectionItem*> sections = loaded->crossSections();
    ASSERT_EQ(sections.size(), 2u);
    EXPECT_EQ(sections[1]->name(), "b");
    EXPECT_EQ(sections[1]->filename(), "crosssection2.png");
}

} // namespace
} // namespace varnel::test
