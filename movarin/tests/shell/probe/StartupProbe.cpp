// A program that starts and ends as movarin does, without waiting in the event loop: under
// the program's names, the main window reads the settings store, opens the project named
// by the first argument (when there is one), prints what it read, and goes, storing the
// folder of the file dialogs on the way out. The shell tests start it several times on
// one settings store to see what one start leaves the next; a process of its own reads
// the file afresh, where one process's settings cache would hide a value that is lost.
//
// Output, one "key=value" line each: locale, workspace, lastiodir, one recent line per
// entry of the File menu's recent projects, project (the open project's file name) and
// boxes (the message boxes that came up, answered unseen).
#include "movarin/shell/ApplicationStartup.h"
#include "movarin/shell/MainWindow.h"
#include "movarin/shell/MainWindowActionManager.h"
#include "movarin/shell/Project.h"

#include <guimisc/LastIODirectory.h>
#include <guimisc/UserDialogScript.h>

#include <QAction>
#include <QApplication>
#include <QMenu>

#include <cstdio>

namespace {

void print(const char* key, const QString& value)
{
    std::printf("%s=%s\n", key, value.toUtf8().constData());
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("KORV/DASEL"));
    QApplication::setOrganizationDomain(QStringLiteral("movarin.invalid"));
    QApplication::setApplicationName(QStringLiteral("Movarin"));
    guimisc::UserDialogScript answerer;
    {
        varnel::MainWindow window;
        const QStringList arguments = varnel::ApplicationStartup::decodeArguments(argc, argv);
        if (arguments.size() > 1) {
            // The start page (no argument) would wait for the user.
            varnel::ApplicationStartup::openFromArguments(window, arguments);
        }
        print("locale", window.locale().name());
        print("workspace", window.workspace()->workspace().absolutePath());
        print("lastiodir", guimisc::LastIODirectory::get());
        window.setupRecentProjectsMenu();
        for (const QAction* action : window.actionManager()->recentProjectsMenu()->actions()) {
            print("recent", action->data().toString());
        }
        print("project", window.project() ? window.project()->filename() : QString());
        print("boxes", QString::number(answerer.records().size()));
    }
    return 0;
}
