#include "guimisc/SettingsSupport.h"

#include <QSettings>

namespace guimisc {

QString SettingsSupport::storedKey(const QString& key)
{
    static const QString general = QStringLiteral("general");
    const int slash = key.indexOf(QLatin1Char('/'));
    if (slash != general.size() || !key.startsWith(general, Qt::CaseInsensitive)) {
        return key;
    }
    return QStringLiteral("General") + key.mid(slash);
}

QVariant SettingsSupport::value(const QString& key, const QVariant& defaultValue)
{
    return QSettings().value(storedKey(key), defaultValue);
}

void SettingsSupport::setValue(const QString& key, const QVariant& value)
{
    QSettings().setValue(storedKey(key), value);
}

bool SettingsSupport::contains(const QString& key)
{
    return QSettings().contains(storedKey(key));
}

void SettingsSupport::remove(const QString& key)
{
    QSettings().remove(storedKey(key));
}

} // namespace guimisc
