#include "movarin/shell/ApplicationStartup.h"

#include "movarin/shell/MainWindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextCodec>
#include <QTranslator>

namespace varnel {

QString ApplicationStartup::translationsFolder()
{
    return QDir(QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(
                    QStringLiteral("languages")))
        .absolutePath();
}

QStringList ApplicationStartup::translationFiles(const QString& folder, const QString& localeName)
{
    const QDir dir(folder);
    QStringList files;
    const QFileInfoList entries = dir.entryInfoList(
        {QStringLiteral("*_%1.qm").arg(localeName)}, QDir::Files, QDir::Unsorted);
    for (const QFileInfo& entry : entries) {
        files << entry.absoluteFilePath();
    }
    return files;
}

void ApplicationStartup::installTranslations(QCoreApplication& application,
                                             const QString& folder, const QString& localeName)
{
    for (const QString& file : translationFiles(folder, localeName)) {
        const QFileInfo info(file);
        auto translator = new QTranslator(&application);
        translator->load(info.completeBaseName(), info.absolutePath(), QString(),
                         QStringLiteral(".qm"));
        QCoreApplication::installTranslator(translator);
    }
}

QStringList ApplicationStartup::decodeArguments(int argc, char** argv)
{
    QTextCodec* codec = QTextCodec::codecForLocale();
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << codec->toUnicode(argv[i]);
    }
    return arguments;
}

void ApplicationStartup::openFromArguments(MainWindow& mainWindow, const QStringList& arguments)
{
    if (!mainWindow.checkWorkingDirectory()) {
        return;
    }
    for (int i = 1; i < arguments.size(); ++i) {
        if (!arguments[i].startsWith(QLatin1Char('-'))) {
            mainWindow.openProject(arguments[i]);
            return;
        }
    }
    mainWindow.openStartDialog();
}

} // namespace varnel
