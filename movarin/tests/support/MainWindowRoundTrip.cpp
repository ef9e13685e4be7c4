#include "support/MainWindowRoundTrip.h"

#include "brask/core/Model.h"
#include "brask/core/View.h"
#include "movarin/shell/EditModeMainWindow.h"
#include "movarin/shell/EditModeMainWindowModel.h"
#include "movarin/shell/EditModeMainWindowModelRootItem.h"
#include "movarin/shell/MainWindowActionManager.h"
#include "movarin/shell/Project.h"
#include "movarin/shell/ProjectFile.h"
#include "orlin/core/Tin.h"
#include "orlin/io/StlTinExporter.h"

#include <QAction>
#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>

namespace varnel::test {

void MainWindowRoundTripTest::SetUp()
{
    ScratchSettings::writeStartupDefaults();
    ASSERT_TRUE(m_dir.isValid());
    m_window = std::make_unique<MainWindow>();
    m_window->resize(1000, 700);
    m_window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
}

void MainWindowRoundTripTest::TearDown()
{
    if (m_window->project()) {
        m_window->project()->projectFile()->setModified(false);
    }
    m_window->closeProject();
    m_window.reset();
    EXPECT_EQ(m_script.pendingAnswers(), 0u);
}

Project* MainWindowRoundTripTest::project() const
{
    return m_window->project();
}

EditModeMainWindow* MainWindowRoundTripTest::editWindow() const
{
    return project() ? qobject_cast<EditModeMainWindow*>(project()->projectWindow()) : nullptr;
}

EditModeMainWindowModelRootItem* MainWindowRoundTripTest::root() const
{
    return editWindow() ? editWindow()->model()->rootItem() : nullptr;
}

mvc::core::View* MainWindowRoundTripTest::view() const
{
    return editWindow() ? editWindow()->view() : nullptr;
}

QAction* MainWindowRoundTripTest::action(const char* text) const
{
    QAction* found = m_window->actionManager()->action(QLatin1String(text));
    if (!found) {
        ADD_FAILURE() << "no action " << text;
    }
    return found;
}

QAction* MainWindowRoundTripTest::undoAction() const
{
    auto found = m_window->actionManager()->findChild<QAction*>(QStringLiteral("Undo"));
    if (!found) {
        ADD_FAILURE() << "no Undo action";
    }
    return found;
}

void MainWindowRoundTripTest::openSurface(const tin::core::Tin& tin)
{
    const QString stl = file(QStringLiteral("surface.stl"));
    tin::io::StlTinExporter(tin::io::STL_BINARY).exportTin(stl.toLocal8Bit().constData(), tin);
    openThroughMenu(stl);
}

QString MainWindowRoundTripTest::saveAs(const QString& name)
{
    const QString archive = file(name);
    m_script.answerFile(archive);
    action("Save As")->trigger();
    EXPECT_EQ(project() ? project()->filename() : QString(), archive);
    EXPECT_FALSE(project() && project()->projectFile()->isModified());
    return archive;
}

void MainWindowRoundTripTest::reopen(const QString& archive)
{
    if (project() && project()->projectFile()->isModified()) {
        m_script.answer(QMessageBox::No);
    }
    ASSERT_TRUE(m_window->closeProject());
    ASSERT_EQ(project(), nullptr);
    openThroughMenu(archive);
    ASSERT_EQ(project() ? project()->filename() : QString(), archive);
}

void MainWindowRoundTripTest::openThroughMenu(const QString& path)
{
    m_script.answerFile(path);
    action("Open")->trigger();
    QApplication::processEvents();
    ASSERT_NE(editWindow(), nullptr) << path.toStdString();
    placeView();
}

void MainWindowRoundTripTest::placeView() const
{
    mvc::core::View* main = view();
    main->setFixedSize(400, 300);
    QApplication::processEvents();
    const QRectF box = editWindow()->model()->boundingBox();
    main->setCenterPoint(QPointF(std::round(box.center().x()), std::round(box.center().y())));
    main->setScale(4.0);
    main->updateView();
}

QPoint MainWindowRoundTripTest::px(double x, double y) const
{
    return view()->conv(QPointF(x, y)).toPoint();
}

QStringList MainWindowRoundTripTest::boxes() const
{
    QStringList texts;
    for (const auto& record : m_script.messageBoxes()) {
        texts << record.text;
    }
    return texts;
}

} // namespace varnel::test
