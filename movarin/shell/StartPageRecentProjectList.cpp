#include "movarin/shell/StartPageRecentProjectList.h"

#include "movarin/shell/SettingsKeys.h"
#include "movarin/shell/StartPageRecentProject.h"

#include <guimisc/SettingsSupport.h>

#include <QStringList>
#include <QVBoxLayout>

namespace varnel {

StartPageRecentProjectList::StartPageRecentProjectList(QWidget* parent)
    : QWidget(parent), m_layout(new QVBoxLayout(this))
{
    loadRecentProjects();
}

StartPageRecentProjectList::~StartPageRecentProjectList() = default;

void StartPageRecentProjectList::loadRecentProjects()
{
    const QStringList paths =
        guimisc::SettingsSupport::value(settings::generalRecentProjects).toStringList();
    for (const QString& path : paths) {
        addRecentProject(path);
    }
    m_layout->addStretch();
}

void StartPageRecentProjectList::addRecentProject(const QString& path)
{
    if (m_count >= maxCount) {
        return;
    }
    auto entry = new StartPageRecentProject(path, this);
    connect(entry, &StartPageLabel::clicked, this,
            &StartPageRecentProjectList::handleProjectSelection);
    // The entries come first in the layout, above the closing stretch.
    m_layout->insertWidget(m_count, entry);
    ++m_count;
}

void StartPageRecentProjectList::handleProjectSelection()
{
    if (auto entry = qobject_cast<StartPageRecentProject*>(sender())) {
        emit projectSelected(entry->path());
    }
}

} // namespace varnel
