#pragma once

#include <QString>
#include <QVariant>

namespace guimisc {

/// The user's settings store (`QSettings` made with no arguments: the application's
/// organisation and application names) read and written under the program's own key names,
/// so that every key reads back in the next process what this one wrote.
///
/// Qt's INI format, the native store on Linux, cannot keep a group spelt "general": it
/// writes any spelling of that group as the section "[%General]" (to keep it apart from its
/// own "[General]" section of keys without group) and reads that section back as the group
/// "General". Keys are case-sensitive there, so "general/locale" written by one process is
/// "General/locale" to the next, and a second "[%General]" section is added at every start.
/// Here such keys are stored as "General/..." from the start, which round-trips, reads the
/// values older runs left in "[%General]", and is the same key in stores that ignore case
/// (the registry). Other keys are passed on unchanged.
///
/// Every call makes its own short-lived `QSettings`: nothing is cached, a value written is
/// seen by the next read of any object. GUI thread (or any single thread) only.
class SettingsSupport {
public:
    SettingsSupport() = delete;

    /// The key under which `key` is kept in the store.
    static QString storedKey(const QString& key);

    static QVariant value(const QString& key, const QVariant& defaultValue = QVariant());
    static void setValue(const QString& key, const QVariant& value);
    static bool contains(const QString& key);
    static void remove(const QString& key);
};

} // namespace guimisc
