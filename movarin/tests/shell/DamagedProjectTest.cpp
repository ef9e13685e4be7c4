// Archives damaged behind the program's back, opened from the File menu: a coordinate
// attribute of "project.xml" that is no finite number, and a TIN member missing or naming a
// point it does not hold. Each is refused with a message that names what was wrong, no
// project stays open and nothing is left in the workspace; what the format leaves optional
// (a missing attribute, a project saved without any TIN) still opens.
#include "MainWindowTestSupport.h"
#include "ProjectTestSupport.h"

#include "movarin/sections/CrossSectionGroupItem.h"
#include "movarin/sections/CrossSectionItem.h"
#include "movarin/shell/EditModeMainWindow.h"
#include "movarin/shell/EditModeMainWindowModel.h"
#include "movarin/shell/EditModeMainWindowModelRootItem.h"
#include "movarin/shell/MainWindowActionManager.h"
#include "movarin/surfaces/GeoEditSurfaceByBrushItem.h"
#include "movarin/surfaces/GeoEditSurfaceGroupItem.h"
#include "movarin/survey/ReadOnlyTinItem.h"
#include "movarin/survey/TinItem.h"

#include "orlin/core/PointFactory.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"

#include <guimisc/UserDialogScript.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardItem>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace varnel::test {
namespace {

using Script = guimisc::UserDialogScript;
using tin::core::Point;

bool run(const QString& folder, const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(program, arguments);
    return process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit
           && process.exitCode() == 0;
}

class DamagedProjectTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        window().newEditProject();
        auto edit = qobject_cast<EditModeMainWindow*>(window().project()->projectWindow());
        ASSERT_NE(edit, nullptr);
        edit->setTin(squareGridTin(4));
        CrossSectionGroupItem* sections = edit->model()->rootItem()->crossSectionGroupItem();
        sections->attachChildAtFront(
            sections->buildCrossSection(QStringLiteral("S1"), Point(5, 5), Point(35, 25)));
        // A brush surface that split one triangle of the edited TIN at its centre.
        tin::core::Tin removed;
        tin::core::Tin added;
        const std::shared_ptr<tin::core::Triangle> t = *edit->tinItem()->tin()->allTriangles().begin();
        removed.addTriangle(t);
        double x = 0.0, y = 0.0, z = 0.0;
        for (int v = 0; v < 3; ++v) {
            x += t->point(v)->x() / 3.0;
            y += t->point(v)->y() / 3.0;
            z += t->point(v)->elevation() / 3.0 + 1.0;
        }
        const auto centre = tin::core::PointFactory::instance().factory(Point(x, y, z));
        for (int v = 0; v < 3; ++v) {
            added.addTriangle(t->point(v), t->point((v + 1) % 3), centre);
        }
        GeoEditSurfaceGroupItem* surfaces = edit->model()->rootItem()->geoEditSurfaceGroupItem();
        GeoEditSurfaceByBrushItem* brush =
            surfaces->createGeoEditSurfaceByBrushItem(QStringLiteral("BrushEdit 1"), added, removed);
        surfaces->attachChildAtFront(brush);
        brush->swapTriangles(removed, added);
        m_good = saveAs(QStringLiteral("good.emvn"));
        ASSERT_FALSE(m_good.isEmpty());
        ASSERT_TRUE(window().closeProject());
    }

    /// The good archive unpacked, changed by `damage` (given the unpacked folder) and packed
    /// again as `name`.
    QString damaged(const QString& name, const std::function<void(const QDir&)>& damage)
    {
        QTemporaryDir unpacked;
        EXPECT_TRUE(run(unpacked.path(), QStringLiteral("unzip"), {"-q", m_good}));
        damage(QDir(unpacked.path()));
        const QString archive = file(name);
        QFile::remove(archive);
        EXPECT_TRUE(run(unpacked.path(), QStringLiteral("zip"), {"-q", "-r", archive, "."}));
        return archive;
    }

    /// "Open" from the File menu with `archive` chosen; the message boxes it showed.
    std::vector<Script::Record> open(const QString& archive)
    {
        Script script;
        script.answerFile(archive);
        window().actionManager()->action(QStringLiteral("Open"))->trigger();
        return script.messageBoxes();
    }

    /// One Error box with `text` (or matching `pattern`), no project and an empty workspace.
    void expectRefused(const std::vector<Script::Record>& boxes, const QRegularExpression& pattern)
    {
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].title, "Error");
        EXPECT_TRUE(pattern.match(boxes[0].text).hasMatch()) << boxes[0].text.toStdString() << " does not match " << pattern.pattern().toStdString();
        EXPECT_EQ(window().project(), nullptr);
        EXPECT_TRUE(folderEntries(window().workspace()->workspace().absolutePath()).isEmpty())
            << "the work folder is gone";
    }

    EditModeMainWindowModelRootItem* openedRoot()
    {
        auto edit = window().project()
                        ? qobject_cast<EditModeMainWindow*>(window().project()->projectWindow())
                        : nullptr;
        return edit ? edit->model()->rootItem() : nullptr;
    }

    QString m_good;
};

/// `text` with the value of the attribute `name` of the first element that has it replaced.
QString withAttribute(QString text, const QString& name, const QString& value)
{
    const QRegularExpression attribute(QStringLiteral("\\b%1=\"[^\"]*\"").arg(name));
    const QRegularExpressionMatch m = attribute.match(text);
    EXPECT_TRUE(m.hasMatch()) << name.toStdString();
    return text.replace(m.capturedStart(), m.capturedLength(),
                        value.isNull() ? QString() : QStringLiteral("%1=\"%2\"").arg(name, value));
}

TEST_F(DamagedProjectTest, ASectionEndThatIsNoFiniteNumberRefusesTheProjectNamingTheElement)
{
    for (const char* attribute : {"startX", "endY"}) {
        for (const char* value : {"nan", "1e309", "-inf"}) {
            SCOPED_TRACE(std::string(attribute) + "=" + value);
            int line = 0;
            const QString archive = damaged(QStringLiteral("section.emvn"), [&](const QDir& folder) {
                const QString xml = folder.filePath(QStringLiteral("project.xml"));
                const QString text = withAttribute(QString::fromUtf8(fileBytes(xml)),
                                                   QLatin1String(attribute), QLatin1String(value));
                line = text.left(text.indexOf(QStringLiteral("<CrossSection "))).count('\n') + 1;
                ASSERT_TRUE(writeFileBytes(xml, text.toUtf8()));
            });
            expectRefused(open(archive),
                          QRegularExpression(QRegularExpression::escape(
                              QStringLiteral("Invalid coordinate: not a finite number: attribute "
                                             "%1 of element CrossSection (line %2)")
                                  .arg(QLatin1String(attribute))
                                  .arg(line))
                                             + "$"));
        }
    }

    // A missing end coordinate keeps its default, 0.
    const QString archive = damaged(QStringLiteral("missing.emvn"), [](const QDir& folder) {
        const QString xml = folder.filePath(QStringLiteral("project.xml"));
        ASSERT_TRUE(writeFileBytes(
            xml, withAttribute(QString::fromUtf8(fileBytes(xml)), QStringLiteral("endY"), QString())
                     .toUtf8()));
    });
    EXPECT_TRUE(open(archive).empty());
    ASSERT_NE(openedRoot(), nullptr);
    const std::vector<CrossSectionItem*> sections = openedRoot()->crossSectionGroupItem()->crossSections();
    ASSERT_EQ(sections.size(), 1u);
    EXPECT_EQ(sections[0]->endX(), 35.0);
    EXPECT_EQ(sections[0]->endY(), 0.0);
}

/// The bytes of a TIN archive whose first triangle names point `index`.
void pointFirstTriangleAt(const QString& path, qint32 index)
{
    QByteArray bytes = fileBytes(path);
    const int header = bytes.indexOf("triangles.tribin");
    ASSERT_GT(header, 0);
    std::memcpy(bytes.data() + header + 512, &index, sizeof index);
    ASSERT_TRUE(writeFileBytes(path, bytes));
}

TEST_F(DamagedProjectTest, AMissingOrDamagedTinMemberRefusesTheProjectNamingIt)
{
    const QString base = QStringLiteral("readOnlyTin.tin");
    const QString edited = QStringLiteral("tin.tin");
    const QString surface = QStringLiteral("geoEditSurfaceGroupItem/geoedit1.geb");
    struct Case {
        const char* what;
        std::function<void(const QDir&)> damage;
        QString pattern;
    };
    const Case cases[] = {
        {"the base TIN missing beside the edited one",
         [&](const QDir& d) { ASSERT_TRUE(QFile::remove(d.filePath(base))); },
         "^Cannot open file: .*/readOnlyTin\\.tin$"},
        {"both TINs missing under a surface",
         [&](const QDir& d) {
             ASSERT_TRUE(QFile::remove(d.filePath(base)));
             ASSERT_TRUE(QFile::remove(d.filePath(edited)));
         },
         "^Cannot open file: .*/readOnlyTin\\.tin$"},
        {"a triangle of the edited TIN past its points",
         [&](const QDir& d) { pointFirstTriangleAt(d.filePath(edited), 26); },
         "^Invalid triangle index: no such point: .*/tin\\.tin$"},
        {"a negative triangle index in the base TIN",
         [&](const QDir& d) { pointFirstTriangleAt(d.filePath(base), -1); },
         "^Invalid triangle index: no such point: .*/readOnlyTin\\.tin$"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        expectRefused(open(damaged(QStringLiteral("tin.emvn"), c.damage)),
                      QRegularExpression(c.pattern));
    }

    // A project saved without any TIN, and so without surfaces, opens without one.
    const QString bare = damaged(QStringLiteral("bare.emvn"), [&](const QDir& d) {
        ASSERT_TRUE(QFile::remove(d.filePath(base)));
        ASSERT_TRUE(QFile::remove(d.filePath(edited)));
        ASSERT_TRUE(QFile::remove(d.filePath(surface)));
        const QString xml = d.filePath(QStringLiteral("project.xml"));
        QString text = QString::fromUtf8(fileBytes(xml));
        const int from = text.indexOf(QStringLiteral("<GeoEditSurfaceByBrush "));
        const int to = text.indexOf(QStringLiteral("/>"), from) + 2;
        ASSERT_GT(from, 0);
        text.remove(from, to - from);
        ASSERT_TRUE(writeFileBytes(xml, text.toUtf8()));
    });
    EXPECT_TRUE(open(bare).empty());
    ASSERT_NE(openedRoot(), nullptr);
    EXPECT_EQ(openedRoot()->baseTinItem()->browserItem()->text(), "base TIN (no data)");
    EXPECT_EQ(openedRoot()->tinItem()->tin(), nullptr);
}

} // namespace
} // namespace varnel::test
