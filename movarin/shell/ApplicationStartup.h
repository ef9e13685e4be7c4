#pragma once

#include <QString>
#include <QStringList>

class QCoreApplication;

namespace varnel {

class MainWindow;

/// The steps of the program's start that do not make objects of their own: finding and
/// installing the translations, and what the shown main window does with the command line.
///
/// Translations: the folder "languages" beside the program; a file belongs to locale L when
/// its name matches "*_L.qm" (so "movarin_ja_JP.qm" is for "ja_JP", "movarin_ja.qm" is not).
/// Every such file is installed, in the order the file system lists them; one that does not
/// load is installed all the same and translates nothing. No folder or no file: the texts
/// stay English.
///
/// Arguments: when the workspace folder's path is not ASCII-only, the main window's warning
/// is shown and nothing else happens. Otherwise the first argument after the program name
/// that does not begin with "-" is opened as a project; arguments beginning with "-" mean
/// nothing. Without such an argument the start page is shown.
class ApplicationStartup {
public:
    ApplicationStartup() = delete;

    /// "languages" beside the program, absolute.
    static QString translationsFolder();
    /// The absolute paths of the files in `folder` for the locale name (as "ja_JP").
    static QStringList translationFiles(const QString& folder, const QString& localeName);
    /// Installs the translations of `folder` for the locale on `application`, which owns
    /// the translators.
    static void installTranslations(QCoreApplication& application, const QString& folder,
                                    const QString& localeName);
    /// The program's arguments decoded from 8 bits with the locale's codec.
    static QStringList decodeArguments(int argc, char** argv);
    /// The workspace check, then the project of the command line or the start page.
    /// `arguments[0]` is the program.
    static void openFromArguments(MainWindow& mainWindow, const QStringList& arguments);
};

} // namespace varnel
