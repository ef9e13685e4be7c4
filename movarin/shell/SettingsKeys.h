#pragma once

#include <QDir>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <vector>

/// The keys of the user settings (the native store under the organisation "KORV/DASEL" and
/// the application "Movarin"), their defaults, and the values the main window writes back
/// at every start. Every reader makes its own short-lived `QSettings` and reads with the
/// default given here; nothing is cached. The "general/..." keys are read and written only
/// through `guimisc::SettingsSupport`, which stores them where a later process finds them.
///
/// Writers: the preference dialog writes every key but "general/recentprojects" and
/// "general/lastiodir" (the graphics numbers as text in the C locale); the recent-project
/// list keeps "general/recentprojects"; the main window writes "general/lastiodir" at exit.
namespace varnel::settings {

// General.
inline constexpr char generalLocale[] = "general/locale";             ///< text, a QLocale::name()
inline constexpr char generalWorkspace[] = "general/workspace";       ///< text, folder path
inline constexpr char generalLastIoDir[] = "general/lastiodir";       ///< text, folder path
inline constexpr char generalRecentProjects[] = "general/recentprojects"; ///< list of text

// Graphics: numbers (the preference dialog stores their text in the C locale) and a flag.
inline constexpr char graphicsColormapMin[] = "graphics/colormap_min";
inline constexpr char graphicsColormapMax[] = "graphics/colormap_max";
inline constexpr char graphicsColormapWaterSurface[] = "graphics/colormap_water_surface";
inline constexpr char graphicsZScale[] = "graphics/zscale";
inline constexpr char graphicsShowTinEdges[] = "graphics/show_tin_edges";

// Font sizes in points.
inline constexpr char fontAngleSize[] = "font/angle_fontsize";
inline constexpr char fontDistanceSize[] = "font/distance_fontsize";
inline constexpr char fontElevationSize[] = "font/elevation_fontsize";
inline constexpr char fontGlobalSize[] = "font/global_fontsize";

inline constexpr char developersMode[] = "developers/mode"; ///< bool

/// Name of the workspace folder in the user's home folder.
inline constexpr char workspaceFolderName[] = ".movarin_workspace";

/// The default of "general/workspace": the workspace folder in the home folder as it is now
/// (QDir::home(), which follows HOME).
inline QString defaultWorkspace()
{
    return QDir::home().absoluteFilePath(QString::fromLatin1(workspaceFolderName));
}

/// One key that the start-up reads with its default and writes back at once.
struct StartupSetting {
    const char* key;
    QVariant defaultValue;
};

/// The keys written back at every start, in the order the start-up writes them, with
/// their defaults: a key already stored keeps its value, a missing one gets the default.
inline std::vector<StartupSetting> startupSettings()
{
    return {{generalRecentProjects, QStringList()},
            {graphicsColormapMin, -100.0},
            {graphicsColormapMax, 100.0},
            {graphicsColormapWaterSurface, 0.0},
            {graphicsZScale, 1.0},
            {graphicsShowTinEdges, true},
            {fontAngleSize, 18},
            {fontDistanceSize, 12},
            {fontElevationSize, 18},
            {fontGlobalSize, 18},
            {developersMode, false}};
}

} // namespace varnel::settings
