#include "brask/window/ProjectWindow.h"

#include "brask/window/ProjectWindowItem.h"

#include <QPointer>

namespace mvc::window {

struct ProjectWindow::Impl {
    QPointer<ProjectWindowItem> item;
    std::string windowId;
};

ProjectWindow::ProjectWindow(ProjectWindowItem* item, QWidget* parent)
    : QMainWindow(parent), m_impl(std::make_unique<Impl>())
{
    m_impl->item = item;
    if (item) {
        item->m_window = this;
    }
}

ProjectWindow::~ProjectWindow()
{
    delete m_impl->item.data();
}

ProjectWindowItem* ProjectWindow::windowItem() const
{
    return m_impl->item;
}

const std::string& ProjectWindow::windowId() const
{
    return m_impl->windowId;
}

void ProjectWindow::setWindowId(const std::string& id)
{
    m_impl->windowId = id;
}

std::string ProjectWindow::generateWindowId(int n) const
{
    return windowIdPrefix() + std::to_string(n);
}

} // namespace mvc::window
