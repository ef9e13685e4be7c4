// Archives from elsewhere that would exhaust the machine when unpacked, crafted by
// craft_archives.py from a good archive of a test project: a member the directory does not
// count, a member inflating far past the size it declares, members sharing one data block
// that together declare more than the disk holds, a "project.xml" over its limit and one
// holding an attribute over its limit. Each is refused before anything is unpacked (the work
// folder holds its lock and nothing else) or, for the attribute, before anything is read;
// the archives at the limits open.

#include "BraskTestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStorageInfo>
#include <gtest/gtest.h>

using namespace brasktest;
using mvc::proj::Project;

namespace {

class ArchiveBombTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        TestProject project(path(QStringLiteral("source")));
        TestItem* points = project.root()->addTopLevel(QStringLiteral("points"));
        points->setFilename("points.bin");
        points->payload = "1,2,3\n";
        ASSERT_TRUE(project.save());
        m_good = path(QStringLiteral("good.zip"));
        ASSERT_TRUE(project.zipTo(m_good));
    }

    QString path(const QString& name) const { return m_dir.filePath(name); }

    /// The good archive crafted into `kind` with `argument`.
    QString craft(const QString& kind, quint64 argument)
    {
        const QString out = path(kind + QStringLiteral(".zip"));
        QProcess python;
        python.start(QStringLiteral("python3"), {QStringLiteral(BRASK_CRAFT_ARCHIVES), kind, m_good,
                                                 out, QString::number(argument)});
        EXPECT_TRUE(python.waitForFinished(120000));
        EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
        return out;
    }

    /// Unpacks `archive` into a fresh project; whether that succeeded, with the entries the
    /// work folder holds afterwards in `entries`.
    bool unpack(const QString& archive, QStringList* entries)
    {
        const QString work = path(QStringLiteral("work%1").arg(++m_works));
        TestProject project(work);
        const bool unpacked = project.unzipFrom(archive);
        *entries = QDir(work).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        EXPECT_EQ(project.filename(), unpacked ? archive : QString());
        return unpacked;
    }

    QTemporaryDir m_dir;
    QString m_good;
    int m_works = 0;
};

} // namespace

TEST_F(ArchiveBombTest, BombsAreRefusedBeforeAnythingIsUnpacked)
{
    const quint64 free = static_cast<quint64>(QStorageInfo(m_dir.path()).bytesAvailable());
    struct Case {
        const char* kind;
        quint64 argument;
    };
    const Case cases[] = {
        {"unlisted", quint64(1) << 30},          // a member the end record does not count
        {"unlisted-outside", quint64(1) << 30},  // ... nor its directory size
        {"inflating", quint64(1) << 30},         // 1 GiB declared as 10 bytes
        {"overlapping", free},                   // 1 GiB entries past the free space
        {"big-xml", Project::MAX_PROJECT_XML_BYTES + 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        const QString archive = craft(QLatin1String(c.kind), c.argument);
        EXPECT_LT(QFileInfo(archive).size(), 4 << 20) << "the bomb is small";
        QStringList entries;
        EXPECT_FALSE(unpack(archive, &entries));
        EXPECT_EQ(entries.join(QLatin1Char(' ')).toStdString(), Project::LOCKFILENAME)
            << "nothing was unpacked";
    }

    // The good archive itself unpacks.
    QStringList entries;
    EXPECT_TRUE(unpack(m_good, &entries));
    EXPECT_TRUE(entries.contains(QStringLiteral("points.bin")));
}

TEST_F(ArchiveBombTest, AnAttributeOverTheLimitRefusesTheMainFileAndOneAtItOpens)
{
    // 50 MB of attribute in an archive of a few tens of kilobytes.
    QStringList entries;
    EXPECT_FALSE(unpack(craft(QStringLiteral("long-attribute"), 50000000), &entries));
    EXPECT_FALSE(unpack(craft(QStringLiteral("long-attribute"), Project::MAX_ATTRIBUTE_LENGTH + 1),
                        &entries));
    EXPECT_TRUE(unpack(craft(QStringLiteral("long-attribute"), Project::MAX_ATTRIBUTE_LENGTH),
                       &entries));
    EXPECT_TRUE(entries.contains(QStringLiteral("project.xml")));
}
