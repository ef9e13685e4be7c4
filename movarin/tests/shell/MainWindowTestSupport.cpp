#include "MainWindowTestSupport.h"

#include "brask/core/Model.h"
#include "movarin/shell/CreateModeMainWindow.h"
#include "movarin/shell/CreateModeMainWindowModel.h"
#include "movarin/shell/Project.h"

#include <guimisc/SettingsSupport.h>
#include <guimisc/UserDialogScript.h>
#include <guimisc/dialog/WaitDialog.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QProcess>
#include <QStandardItem>
#include <QStandardItemModel>
#include <QTest>

#include <stdexcept>

namespace varnel::test {

void MainWindowTest::SetUp()
{
    ASSERT_TRUE(m_files.isValid());
    m_window = std::make_unique<MainWindow>();
    m_window->resize(1000, 800);
    m_window->show();
}

void MainWindowTest::TearDown()
{
    m_window.reset();
}

QString MainWindowTest::file(const QString& name) const
{
    return QDir(m_files.path()).absoluteFilePath(name);
}

CreateModeMainWindow* MainWindowTest::createModeWindow() const
{
    Project* project = m_window->project();
    return project ? qobject_cast<CreateModeMainWindow*>(project->projectWindow()) : nullptr;
}

QString MainWindowTest::saveAs(const QString& name)
{
    guimisc::UserDialogScript script;
    script.answerFile(file(name));
    EXPECT_TRUE(m_window->saveProjectAs());
    EXPECT_TRUE(script.messageBoxes().empty());
    return m_window->project() ? m_window->project()->filename() : QString();
}

QString MainWindowTest::makeArchive(const QString& name)
{
    m_window->newCreateProject();
    const QString path = saveAs(name);
    EXPECT_TRUE(m_window->closeProject());
    return path;
}

QStringList MainWindowTest::recentProjects()
{
    return guimisc::SettingsSupport::value(QStringLiteral("general/recentprojects")).toStringList();
}

FakeTool::FakeTool(const QString& name, const QString& body) : m_previousPath(qgetenv("PATH"))
{
    if (!m_folder.isValid()) {
        throw std::runtime_error("Cannot make a folder for a fake tool");
    }
    QFile script(QDir(m_folder.path()).absoluteFilePath(name));
    if (!script.open(QIODevice::WriteOnly)) {
        throw std::runtime_error("Cannot write the fake tool " + name.toStdString());
    }
    script.write(("#!/bin/sh\n" + body + "\n").toUtf8());
    script.close();
    script.setPermissions(script.permissions() | QFile::ExeOwner | QFile::ExeUser
                          | QFile::ExeGroup | QFile::ExeOther);
    qputenv("PATH", QFile::encodeName(m_folder.path()) + ':' + m_previousPath);
}

FakeTool::~FakeTool()
{
    qputenv("PATH", m_previousPath);
}

WaitDialogCanceller::WaitDialogCanceller(std::function<void()> whileWaiting)
    : m_whileWaiting(std::move(whileWaiting))
{
    m_timer.setInterval(50);
    connect(&m_timer, &QTimer::timeout, this, &WaitDialogCanceller::poll);
    m_timer.start();
}

WaitDialogCanceller::~WaitDialogCanceller() = default;

void WaitDialogCanceller::poll()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto dialog = qobject_cast<guimisc::dialog::WaitDialog*>(widget);
        if (dialog && dialog->isVisible()) {
            m_timer.stop();
            if (m_whileWaiting) {
                m_whileWaiting();
            }
            m_cancelled = true;
            dialog->reject();
            return;
        }
    }
}

QStringList unzipListing(const QString& archive)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-l"), archive});
    if (!unzip.waitForFinished(10000) || unzip.exitCode() != 0) {
        throw std::runtime_error("unzip -l failed on " + archive.toStdString());
    }
    // Between the two dashed lines: length, date, time, name.
    QStringList names;
    bool inTable = false;
    for (const QString& line : QString::fromLocal8Bit(unzip.readAllStandardOutput()).split('\n')) {
        if (line.startsWith(QLatin1String("---------"))) {
            if (inTable) {
                break;
            }
            inTable = true;
            continue;
        }
        if (inTable) {
            names << line.section(QLatin1Char(' '), 3, -1, QString::SectionSkipEmpty);
        }
    }
    return names;
}

std::vector<std::pair<QString, Qt::CheckState>> browserRows(const ProjectModelWindow* window)
{
    std::vector<std::pair<QString, Qt::CheckState>> rows;
    if (!window || !window->model()) {
        return rows;
    }
    QStandardItemModel* model = window->model()->standardItemModel();
    for (int i = 0; i < model->rowCount(); ++i) {
        rows.emplace_back(model->item(i)->text(), model->item(i)->checkState());
    }
    return rows;
}

QStringList menuTexts(const QMenu* menu)
{
    QStringList texts;
    for (const QAction* action : menu->actions()) {
        if (action->isVisible()) {
            texts << (action->isSeparator() ? QString() : action->text());
        }
    }
    return texts;
}

QStringList folderEntries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                                  QDir::Name);
}

} // namespace varnel::test
