#include "movarin/shell/PreferenceDialog.h"

#include "movarin/shell/PreferencePageDevelopers.h"
#include "movarin/shell/PreferencePageFont.h"
#include "movarin/shell/PreferencePageGeneral.h"
#include "movarin/shell/PreferencePageGraphics.h"

#include <QDialogButtonBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace varnel {

PreferenceDialog::PreferenceDialog(QWidget* parent)
    : QDialog(parent, Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_tabWidget(new QTabWidget(this))
{
    setWindowTitle(tr("Preferences"));
    resize(424, 399);
    addPage(new PreferencePageGeneral(m_tabWidget), tr("General"));
    addPage(new PreferencePageGraphics(m_tabWidget), tr("Graphics"));
    addPage(new PreferencePageFont(m_tabWidget), tr("Font"));
    addPage(new PreferencePageDevelopers(m_tabWidget), tr("Developers"));
    m_tabWidget->setCurrentIndex(0);

    auto buttonBox =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Horizontal, this);
    buttonBox->setObjectName(QStringLiteral("buttonBox"));
    connect(buttonBox, &QDialogButtonBox::accepted, this, &PreferenceDialog::accept);
    connect(buttonBox, &QDialogButtonBox::rejected, this, &PreferenceDialog::reject);

    auto layout = new QVBoxLayout(this);
    layout->addWidget(m_tabWidget);
    layout->addWidget(buttonBox);
}

PreferenceDialog::~PreferenceDialog() = default;

void PreferenceDialog::addPage(PreferencePage* page, const QString& title)
{
    m_tabWidget->addTab(page, title);
    m_pages.push_back(page);
}

bool PreferenceDialog::apply()
{
    for (PreferencePage* page : m_pages) {
        if (!page->validate()) {
            return false;
        }
    }
    for (PreferencePage* page : m_pages) {
        page->save();
    }
    return true;
}

void PreferenceDialog::accept()
{
    if (apply()) {
        QDialog::accept();
    }
}

} // namespace varnel
