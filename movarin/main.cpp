// The program movarin: the application object under the names that key the settings store,
// the translations of the stored language, the image loader, and the main window with the
// project of the command line or the start page.
#include "movarin/shell/ApplicationStartup.h"
#include "movarin/shell/MainWindow.h"
#include "movarin/shell/SettingsKeys.h"
#include "pelkas/GdalImageLoader.h"

#ifdef MOVARIN_WITH_BIRDEYE
#include "movarin/shell/BirdEyeWindow.h"
#endif

#include <guimisc/SettingsSupport.h>

#include <QApplication>
#include <QLocale>

int main(int argc, char** argv)
{
#ifdef MOVARIN_WITH_BIRDEYE
    // Every OpenGL context of the program is made alike, the bird's-eye view's among them.
    varnel::setBirdEyeSurfaceFormat();
#endif
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("KORV/DASEL"));
    QApplication::setOrganizationDomain(QStringLiteral("movarin.invalid"));
    QApplication::setApplicationName(QStringLiteral("Movarin"));

    const QString localeName =
        guimisc::SettingsSupport::value(QLatin1String(varnel::settings::generalLocale),
                                        QLocale::system().name())
            .toString();
    varnel::ApplicationStartup::installTranslations(
        app, varnel::ApplicationStartup::translationsFolder(), localeName);

    gdalimg::GdalImageLoader::init();

    varnel::MainWindow mainWindow;
    mainWindow.show();
    varnel::ApplicationStartup::openFromArguments(
        mainWindow, varnel::ApplicationStartup::decodeArguments(argc, argv));
    return QApplication::exec();
}
