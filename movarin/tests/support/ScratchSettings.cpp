#include "support/ScratchSettings.h"

#include "movarin/shell/SettingsKeys.h"

#include <guimisc/SettingsSupport.h>

#include <QCoreApplication>
#include <QDir>
#include <QSettings>

#include <cstdlib>
#include <stdexcept>
#include <string>

namespace varnel::test {
namespace {

const char* const organisationName = "KORV/DASEL";
const char* const applicationName = "Movarin";

void pointSettingsAt(const QByteArray& configFolder)
{
    const QString folder = QString::fromLocal8Bit(configFolder);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder);
}

// The process-wide throw-away home, set before main (and so before the application
// object) and removed after main has returned.
class ProcessHome {
public:
    ProcessHome()
    {
        std::string pattern = QDir::tempPath().toStdString() + "/movarin-test-home-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("Cannot make a temporary home folder under " + pattern);
        }
        m_path = QByteArray::fromStdString(pattern);
        ::setenv("HOME", m_path.constData(), 1);
        ::setenv("XDG_CONFIG_HOME", (m_path + "/.config").constData(), 1);
    }
    ~ProcessHome() { QDir(QString::fromLocal8Bit(m_path)).removeRecursively(); }
    ProcessHome(const ProcessHome&) = delete;
    ProcessHome& operator=(const ProcessHome&) = delete;

private:
    QByteArray m_path;
};

const ProcessHome processHome;

} // namespace

ScratchSettings::ScratchSettings()
    : m_previousHome(qgetenv("HOME")), m_previousConfig(qgetenv("XDG_CONFIG_HOME"))
{
    if (!m_dir.isValid()) {
        throw std::runtime_error("Cannot make a temporary settings folder: "
                                 + m_dir.errorString().toStdString());
    }
    const QByteArray home = QFile::encodeName(homePath());
    qputenv("HOME", home);
    qputenv("XDG_CONFIG_HOME", home + "/.config");
    pointSettingsAt(home + "/.config");
    QCoreApplication::setOrganizationName(QString::fromLatin1(organisationName));
    QCoreApplication::setApplicationName(QString::fromLatin1(applicationName));
}

ScratchSettings::~ScratchSettings()
{
    qputenv("HOME", m_previousHome);
    qputenv("XDG_CONFIG_HOME", m_previousConfig);
    pointSettingsAt(m_previousConfig);
}

QString ScratchSettings::homePath() const
{
    return QDir(m_dir.path()).absolutePath();
}

QString ScratchSettings::settingsFilePath() const
{
    return homePath() + "/.config/" + organisationName + "/" + applicationName + ".conf";
}

void ScratchSettings::setHome(const QString& folder)
{
    qputenv("HOME", QFile::encodeName(folder));
}

void ScratchSettings::writeStartupDefaults()
{
    for (const settings::StartupSetting& setting : settings::startupSettings()) {
        guimisc::SettingsSupport::setValue(setting.key, setting.defaultValue);
    }
}

QMap<QString, QString> ScratchSettings::snapshot()
{
    QSettings store;
    store.sync();
    QMap<QString, QString> values;
    for (const QString& key : store.allKeys()) {
        // The type is part of the picture: a number rewritten as text is a write.
        const QVariant value = store.value(key);
        const QString text = value.type() == QVariant::StringList
                                 ? value.toStringList().join(QLatin1Char('|'))
                                 : value.toString();
        values.insert(key, QString::fromLatin1(value.typeName()) + QLatin1Char(':') + text);
    }
    return values;
}

} // namespace varnel::test
