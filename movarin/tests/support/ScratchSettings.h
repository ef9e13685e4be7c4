#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QTemporaryDir>
#include <QVariant>

#include <gtest/gtest.h>

namespace varnel::test {

/// An empty settings store and home folder of a test's own.
///
/// While an object lives, HOME and XDG_CONFIG_HOME point into a fresh temporary folder,
/// the user-scope paths of QSettings (native and INI) point at its ".config" folder, and
/// the application carries the organisation and application names of the program, so a
/// `QSettings` made with no arguments reads and writes "<home>/.config/KORV/DASEL/Movarin.conf".
/// Destroying it deletes the folder and puts the previous paths back.
///
/// Before main runs, the test support code already points HOME and XDG_CONFIG_HOME at a
/// throw-away folder of the process (removed at exit), so that nothing made before the
/// first test (the application object, its style or platform theme) reads or caches the
/// real user's settings.
///
/// Not copyable; GUI thread only.
class ScratchSettings {
public:
    ScratchSettings();
    ~ScratchSettings();
    ScratchSettings(const ScratchSettings&) = delete;
    ScratchSettings& operator=(const ScratchSettings&) = delete;

    /// The temporary home folder ("/" separators, no trailing one).
    QString homePath() const;
    /// The file of the native settings store.
    QString settingsFilePath() const;

    /// Points HOME at another folder (a test of a home path with other characters); the
    /// settings store stays where it is. The destructor puts the real previous HOME back.
    static void setHome(const QString& folder);

    /// Writes what the main window writes back at every start (every key of
    /// `varnel::settings::startupSettings()` with its default), as a first start leaves the
    /// store before the preference dialog saves.
    static void writeStartupDefaults();

    /// Every key of the store with its value's type and text (lists joined by "|"), to
    /// compare a store before and after an operation that must write nothing.
    static QMap<QString, QString> snapshot();

private:
    QTemporaryDir m_dir;
    QByteArray m_previousHome;
    QByteArray m_previousConfig;
};

/// Base of tests that touch the settings store: each test gets its own `ScratchSettings`.
class ScratchSettingsTest : public ::testing::Test {
protected:
    ScratchSettings m_scratch;
};

} // namespace varnel::test
