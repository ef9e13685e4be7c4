#include "movarin/shell/ProjectModelWindow.h"

#include "brask/core/Model.h"
#include "brask/core/ModelItemController.h"
#include "brask/core/ModelRootItem.h"
#include "brask/core/ObjectBrowserView.h"
#include "brask/core/View.h"
#include "movarin/survey/ReadOnlyTinItem.h"
#include "orlin/core/Tin.h"

#include <QCloseEvent>
#include <QIcon>
#include <QLayout>
#include <QMdiSubWindow>
#include <QScrollBar>

namespace varnel {

namespace {

void appendAddActionToMenuRecursively(const mvc::core::ModelItem* item, QMenu* menu)
{
    // The Add entries belong to the fixed groups of the tree. What the user made (the
    // deletable items: sections, shapes, surfaces, imported sets) offers none, and building a
    // controller for each of 100,000 sections only to ask cost as much as opening them.
    if (item->isDeletable()) {
        return;
    }
    item->controller()->appendAddActionToMenu(menu);
    for (const mvc::core::ModelItem* child : item->childItems()) {
        appendAddActionToMenuRecursively(child, menu);
    }
}

} // namespace

ProjectModelWindow::ProjectModelWindow(mvc::window::ProjectWindowItem* item, QWidget* parent)
    : mvc::window::ProjectWindow(item, parent)
{
    setDockWidgetFunction([this]() -> mvc::core::ObjectBrowser* { return m_objectBrowser; });
    setWindowTitle(tr("Main Window"));
    setWindowIcon(QIcon(QStringLiteral(":/images/iconMainWindow.png")));
}

ProjectModelWindow::~ProjectModelWindow()
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

void ProjectModelWindow::setParts(mvc::core::View* view, mvc::core::ObjectBrowser* objectBrowser,
                                  mvc::core::Model* model)
{
    m_view = view;
    m_objectBrowser = objectBrowser;
    m_model = model;
    setCentralWidget(m_view);
    addDockWidget(Qt::LeftDockWidgetArea, m_objectBrowser);
    m_view->setModel(m_model);
}

QSize ProjectModelWindow::sizeHint() const
{
    return {800, 600};
}

QToolBar* ProjectModelWindow::operationToolBar() const
{
    return m_model ? m_model->operationToolBar() : nullptr;
}

mvc::core::View* ProjectModelWindow::view() const
{
    return m_view;
}

mvc::core::Model* ProjectModelWindow::model() const
{
    return m_model;
}

void ProjectModelWindow::appendAddActionToMenu(QMenu* menu) const
{
    if (m_model && m_model->rootItem()) {
        appendAddActionToMenuRecursively(m_model->rootItem(), menu);
    }
}

bool ProjectModelWindow::isTinEmpty() const
{
    const ReadOnlyTinItem* item = tinItem();
    const tin::core::Tin* tin = item ? item->tin() : nullptr;
    return !tin || tin->empty();
}

void ProjectModelWindow::closeEvent(QCloseEvent* event)
{
    if (auto subWindow = qobject_cast<QMdiSubWindow*>(parentWidget())) {
        subWindow->hide();
    } else {
        hide();
    }
    event->ignore();
}

void ProjectModelWindow::showEvent(QShowEvent* event)
{
    mvc::window::ProjectWindow::showEvent(event);
    if (!m_fittedOnShow) {
        m_fittedOnShow = true;
        if (auto subWindow = qobject_cast<QMdiSubWindow*>(parentWidget())) {
            connect(subWindow, &QMdiSubWindow::windowStateChanged, this,
                    &ProjectModelWindow::fitAgainWhenMaximizedOrRestored);
            m_view->installEventFilter(this);
        }
        // The browser opens as wide as its rows, so that no caption is cut short.
        const QAbstractItemView* rows = m_objectBrowser->view();
        const int wanted = rows->sizeHintForColumn(0) + 2 * rows->frameWidth()
                           + rows->verticalScrollBar()->sizeHint().width()
                           + (m_objectBrowser->width() - rows->width());
        if (wanted > m_objectBrowser->width()) {
            resizeDocks({m_objectBrowser}, {wanted}, Qt::Horizontal);
        }
        // The docks take their widths when the layout runs; it runs now, so that the view is
        // fitted at the size it keeps.
        if (layout()) {
            layout()->activate();
        }
        m_view->fit();
    }
}

void ProjectModelWindow::fitAgainWhenMaximizedOrRestored(Qt::WindowStates oldState,
                                                          Qt::WindowStates newState)
{
    // A view the user has not moved since its fit keeps showing the whole model. The docks
    // settle into the new size over the next layout passes, so the view follows its resizes
    // until the user moves it.
    const bool toggled = (oldState ^ newState) & Qt::WindowMaximized;
    if (toggled && m_view->isFitted()) {
        m_fitFollowsResizes = true;
        m_view->fit();
    }
}

bool ProjectModelWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_view && event->type() == QEvent::Resize && m_fitFollowsResizes) {
        m_fitFollowsResizes = m_view->isFitted();
        if (m_fitFollowsResizes) {
            m_view->fit();
        }
    }
    return mvc::window::ProjectWindow::eventFilter(watched, event);
}

} // namespace varnel
