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
#include "movarin/survey/ReadOnlyTinItem.h"
#include "movarin/survey/TinItem.h"

#include "orlin/core/PointFactory.h"
#include "orlin/core/Tin.h"

#include <guimisc/UserDialogScript.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace varnel::test {
namespace {

using Script = guimisc::UserDialogScript;
using tin::core::Point;

tin::core::Tin gridTin(int n)
{
    std::vector<std::shared_ptr<Point>> nodes;
    for (int j = 0; j <= n; ++j) {
        for (int i = 0; i <= n; ++i) {
            nodes.push_back(tin::core::PointFactory::instance().factory(
                Point(10.0 * i, 10.0 * j, 0.5 * i + 0.25 * j)));
        }
    }
    auto at = [&](int i, int j) { return nodes[static_cast<std::size_t>(j * (n + 1) + i)]; };
    tin::core::Tin tin;
    for (int j = 0; j < n; ++j) {
        for (int i = 0; i < n; ++i) {
            tin.addTriangle(at(i, j), at(i + 1, j), at(i + 1, j + 1));
            tin.addTriangle(at(i, j), at(i + 1, j + 1), at(i, j + 1));
        }
    }
    return tin;
}

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
        edit->setTin(gridTin(4));
        CrossSectionGroupItem* sections = edit->model()->rootItem()->crossSectionGroupItem();
        sections->attachChildAtFront(
            sections->buildCrossSection(QStringLiteral("S1"), Point(5, 5), Point(35, 25)));
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
        EXPECT_TRUE(pattern.match(boxes[0].text).hasMatch()) << boxes[0].text.toStdString();
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

} // namespace
} // namespace varnel::test
