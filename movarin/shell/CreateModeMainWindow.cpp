#include "movarin/shell/CreateModeMainWindow.h"

#include "brask/core/ModelItemController.h"
#include "brask/core/ObjectBrowserView.h"
#include "movarin/shell/CreateModeMainWindowItem.h"
#include "movarin/shell/CreateModeMainWindowModel.h"
#include "movarin/shell/CreateModeMainWindowModelRootItem.h"
#include "movarin/shell/CreateModeMainWindowObjectBrowser.h"
#include "movarin/shell/CreateModeMainWindowView.h"
#include "movarin/shell/CreateModeProject.h"
#include "movarin/survey/ReadOnlyTinItem.h"
#include "orlin/core/Tin.h"

#include <QCloseEvent>
#include <QIcon>
#include <QMdiSubWindow>
#include <QScrollBar>

namespace varnel {

namespace {

void appendAddActionToMenuRecursively(const mvc::core::ModelItem* item, QMenu* menu)
{
    item->controller()->appendAddActionToMenu(menu);
    for (const mvc::core::ModelItem* child : item->childItems()) {
        appendAddActionToMenuRecursively(child, menu);
    }
}

} // namespace

CreateModeMainWindow::CreateModeMainWindow(QWidget* parent, ProjectFile* projectFile)
    : mvc::window::ProjectWindow(new CreateModeMainWindowItem(this, projectFile), parent)
{
    setDockWidgetFunction([this]() -> mvc::core::ObjectBrowser* { return m_objectBrowser; });
    m_view = new CreateModeMainWindowView(this);
    m_objectBrowser = new CreateModeMainWindowObjectBrowser(this);
    m_model = new CreateModeMainWindowModel(m_objectBrowser->view(), m_view, this, windowItem());

    setCentralWidget(m_view);
    addDockWidget(Qt::LeftDockWidgetArea, m_objectBrowser);
    m_view->setModel(m_model);

    setWindowTitle(tr("Main Window"));
    setWindowIcon(QIcon(QStringLiteral(":/images/iconMainWindow.png")));
}

CreateModeMainWindow::~CreateModeMainWindow()
{
    if (m_model) {
        m_model->deleteRootItem();
    }
    delete m_view;
    m_view = nullptr;
    delete m_objectBrowser;
    m_objectBrowser = nullptr;
    delete m_model.data();
}

QSize CreateModeMainWindow::sizeHint() const
{
    return {800, 600};
}

std::string CreateModeMainWindow::windowIdPrefix() const
{
    return CreateModeProject::WINDOW_ID_PREFIX;
}

QToolBar* CreateModeMainWindow::operationToolBar() const
{
    return m_model ? m_model->operationToolBar() : nullptr;
}

mvc::core::View* CreateModeMainWindow::view() const
{
    return m_view;
}

CreateModeMainWindowModel* CreateModeMainWindow::model() const
{
    return m_model;
}

void CreateModeMainWindow::appendAddActionToMenu(QMenu* menu) const
{
    if (m_model && m_model->rootItem()) {
        appendAddActionToMenuRecursively(m_model->rootItem(), menu);
    }
}

ReadOnlyTinItem* CreateModeMainWindow::tinItem() const
{
    return m_model && m_model->rootItem() ? m_model->rootItem()->tinItem() : nullptr;
}

bool CreateModeMainWindow::isTinEmpty() const
{
    const ReadOnlyTinItem* item = tinItem();
    const tin::core::Tin* tin = item ? item->tin() : nullptr;
    return !tin || tin->empty();
}

BackgroundImageGroupItem* CreateModeMainWindow::backgroundImageGroupItem() const
{
    return m_model && m_model->rootItem() ? m_model->rootItem()->backgroundImageGroupItem()
                                          : nullptr;
}

void CreateModeMainWindow::closeEvent(QCloseEvent* event)
{
    if (auto subWindow = qobject_cast<QMdiSubWindow*>(parentWidget())) {
        subWindow->hide();
    } else {
        hide();
    }
    event->ignore();
}

void CreateModeMainWindow::showEvent(QShowEvent* event)
{
    mvc::window::ProjectWindow::showEvent(event);
    if (!m_fittedOnShow) {
        m_fittedOnShow = true;
        m_view->fit();
        // The browser opens as wide as its rows, so that no caption is cut short.
        const QAbstractItemView* rows = m_objectBrowser->view();
        const int wanted = rows->sizeHintForColumn(0) + 2 * rows->frameWidth()
                           + rows->verticalScrollBar()->sizeHint().width()
                           + (m_objectBrowser->width() - rows->width());
        if (wanted > m_objectBrowser->width()) {
            resizeDocks({m_objectBrowser}, {wanted}, Qt::Horizontal);
        }
    }
}

} // namespace varnel
