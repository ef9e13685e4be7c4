#include "movarin/shell/PreferencePageGeneral.h"

#include "movarin/shell/SettingsKeys.h"

#include "guimisc/SettingsSupport.h"
#include "guimisc/StringSupport.h"
#include "guimisc/UserDialogs.h"
#include "guimisc/widget/DirnameEditWidget.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLocale>
#include <QSpacerItem>
#include <QVBoxLayout>

namespace varnel {

PreferencePageGeneral::PreferencePageGeneral(QWidget* parent)
    : PreferencePage(parent), m_languageComboBox(new QComboBox(this)),
      m_workingDirectoryEdit(new guimisc::widget::DirnameEditWidget(this))
{
    m_languageComboBox->setObjectName(QStringLiteral("languageComboBox"));
    m_workingDirectoryEdit->setObjectName(QStringLiteral("workingDirectoryEdit"));
    setupUi();
    const QLocale::Language languages[] = {
        QLocale::English, QLocale::Japanese,   QLocale::Korean,
        QLocale::Thai,    QLocale::Indonesian, QLocale::Chinese,
        QLocale::French,  QLocale::Spanish,    QLocale::Russian};
    for (const QLocale::Language language : languages) {
        const QLocale locale(language, QLocale::AnyCountry);
        m_languageComboBox->addItem(QIcon(), QLocale::languageToString(language), locale.name());
    }
    load();
}

PreferencePageGeneral::~PreferencePageGeneral() = default;

void PreferencePageGeneral::setupUi()
{
    auto languageGroup = new QGroupBox(tr("Language"), this);
    auto languageRow = new QHBoxLayout();
    languageRow->addWidget(m_languageComboBox);
    languageRow->addItem(new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
    auto languageNote =
        new QLabel(tr("Note: Language setting is applied when Movarin is launched next time."),
                   languageGroup);
    languageNote->setWordWrap(true);
    auto languageLayout = new QVBoxLayout(languageGroup);
    languageLayout->addLayout(languageRow);
    languageLayout->addWidget(languageNote);

    auto workingGroup = new QGroupBox(tr("Working Directory"), this);
    auto workingLayout = new QVBoxLayout(workingGroup);
    workingLayout->addWidget(m_workingDirectoryEdit);
    auto workingNote =
        new QLabel(tr("Note: Working Directory is used to store files used by Movarin."),
                   workingGroup);
    workingNote->setWordWrap(true);
    workingLayout->addWidget(workingNote);

    auto layout = new QVBoxLayout(this);
    layout->addWidget(languageGroup);
    layout->addWidget(workingGroup);
    layout->addItem(new QSpacerItem(20, 40, QSizePolicy::Minimum, QSizePolicy::Expanding));
}

void PreferencePageGeneral::load()
{
    using guimisc::SettingsSupport;
    const QString localeName =
        SettingsSupport::value(settings::generalLocale, QLocale::system().name()).toString();
    const QLocale stored(localeName);
    for (int i = 0; i < m_languageComboBox->count(); ++i) {
        if (QLocale(m_languageComboBox->itemData(i).toString()) == stored) {
            m_languageComboBox->setCurrentIndex(i);
            break;
        }
    }
    m_workingDirectoryEdit->setDirname(
        SettingsSupport::value(settings::generalWorkspace, settings::defaultWorkspace())
            .toString());
}

bool PreferencePageGeneral::validate()
{
    const QString folder = m_workingDirectoryEdit->dirname();
    // An empty folder would put the workspace wherever the program happens to be started.
    if (folder.trimmed().isEmpty()) {
        guimisc::UserDialogs::critical(this, tr("Error"), tr("Working directory is not set."));
        return false;
    }
    if (!guimisc::StringSupport::isAscii(folder)) {
        guimisc::UserDialogs::critical(this, tr("Error"),
                                       tr("Working directory contains non-ASCII characters."));
        return false;
    }
    // Made now rather than found missing at the next start, when no project could be kept.
    if (!QDir().mkpath(folder) || !QFileInfo(folder).isDir()) {
        guimisc::UserDialogs::critical(this, tr("Error"),
                                       tr("Working directory %1 cannot be made.")
                                           .arg(QDir::toNativeSeparators(folder)));
        return false;
    }
    return true;
}

void PreferencePageGeneral::save()
{
    using guimisc::SettingsSupport;
    const QString folder = m_workingDirectoryEdit->dirname();
    const QString stored =
        SettingsSupport::value(settings::generalWorkspace, settings::defaultWorkspace()).toString();
    if (stored != folder) {
        guimisc::UserDialogs::warning(
            this, tr("Warning"),
            tr("Working directory setting is applied when Movarin is launched next time."));
    }
    SettingsSupport::setValue(settings::generalLocale, m_languageComboBox->currentData().toString());
    SettingsSupport::setValue(settings::generalWorkspace, folder);
}

} // namespace varnel
