#include "ExportsTestSupport.h"

#include "movarin/sections/CrossSectionGroupItem.h"
#include "movarin/sections/CrossSectionItem.h"
#include "movarin/sections/GeoDataTopForEditItem.h"
#include "movarin/shell/EditModeMainWindow.h"
#include "movarin/shell/EditModeMainWindowModel.h"
#include "movarin/shell/EditModeMainWindowModelRootItem.h"
#include "movarin/shell/MainWindow.h"
#include "movarin/shell/MainWindowActionManager.h"
#include "movarin/shell/Project.h"
#include "movarin/survey/ReadOnlyTinItem.h"
#include "movarin/survey/TinItem.h"

#include <QAction>

#include <stdexcept>

namespace varnel::test {

QString Plane::argument() const
{
    return QStringLiteral("%1,%2,%3").arg(a, 0, 'g', 17).arg(b, 0, 'g', 17).arg(c, 0, 'g', 17);
}

tin::core::Tin planeTin(const Plane& plane)
{
    return gridTin([plane](double x, double y) { return plane.at(x, y); });
}

CheckerRun runChecker(const QString& script, const QStringList& arguments)
{
    return runPython(QStringLiteral(MOVARIN_SOURCE_DIR "/movarin/tests/exports/") + script,
                     arguments);
}

ExportsTest::ExportsTest()
{
    if (!m_dir.isValid()) {
        throw std::runtime_error("No scratch folder");
    }
    ScratchSettings::writeStartupDefaults();
    m_window = std::make_unique<MainWindow>();
    m_window->resize(1000, 700);
    m_window->show();
    m_window->newEditProject();
    m_projectWindow = m_window->project()
                          ? qobject_cast<EditModeMainWindow*>(m_window->project()->projectWindow())
                          : nullptr;
    if (!m_projectWindow) {
        throw std::runtime_error("No edit-mode window");
    }
}

ExportsTest::~ExportsTest()
{
    // The window and its project go while the script still answers their boxes.
    m_window.reset();
}

EditModeMainWindowModelRootItem* ExportsTest::root() const
{
    return m_projectWindow->model()->rootItem();
}

CrossSectionItem* ExportsTest::addSection(const QString& name, const QPointF& start,
                                          const QPointF& end) const
{
    CrossSectionGroupItem* group = root()->crossSectionGroupItem();
    CrossSectionItem* section = group->buildCrossSection(
        name, tin::core::Point(start.x(), start.y()), tin::core::Point(end.x(), end.y()));
    group->attachChildAtBack(section);
    return section;
}

GeoDataGroupItem* ExportsTest::geoGroup(const char* name) const
{
    return root()->geoDataTopItem()->groupItem(QString::fromLatin1(name));
}

void ExportsTest::setTins(const tin::core::Tin* base, const tin::core::Tin* edited) const
{
    root()->baseTinItem()->setTin(base ? new tin::core::Tin(*base) : nullptr);
    root()->tinItem()->setTin(edited ? new tin::core::Tin(*edited) : nullptr);
}

QAction* ExportsTest::exportAction(const QString& text) const
{
    QAction* action = m_window->actionManager()->action(text);
    if (!action) {
        throw std::runtime_error("No export action " + text.toStdString());
    }
    return action;
}

QString ExportsTest::saveProject() const
{
    Project* project = m_window->project();
    if (!project || !project->save()) {
        throw std::runtime_error("The project was not saved");
    }
    return project->workFolder();
}

} // namespace varnel::test
