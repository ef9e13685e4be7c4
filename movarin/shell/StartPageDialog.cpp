#include "movarin/shell/StartPageDialog.h"

#include "movarin/shell/StartPageHelpTabWidget.h"
#include "movarin/shell/StartPageLaunchTabWidget.h"
#include "movarin/shell/StartPageLinks.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QSpacerItem>
#include <QTabWidget>
#include <QVBoxLayout>

namespace varnel {
namespace {

const char* const dialogStyle =
    "QDialog { background-color: qlineargradient(spread: pad, x1: 0, y1: 0, x2: 1, y2: 0, "
    "stop: 0 rgb(250, 250, 250), stop: 0.15 rgb(250, 250, 250), "
    "stop: 0.98 rgb(235, 235, 255), stop: 1 rgb(235, 235, 255)); }";

const char* const tabStyle =
    "QTabWidget::pane { border: 2px solid #C2C7CB; }"
    "QTabWidget::tab-bar { left: 5px; }"
    "QTabBar::tab { background: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, "
    "stop: 0 #E1E1E1, stop: 0.4 #DDDDDD, stop: 0.5 #D8D8D8, stop: 1 #D3D3D3);"
    " border: 2px solid #C4C4C3; border-bottom-color: #C2C7CB;"
    " border-top-left-radius: 4px; border-top-right-radius: 4px;"
    " padding: 5px; min-width: 200px; }"
    "QTabBar::tab:selected, QTabBar::tab:hover { background: qlineargradient("
    "x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 #fafafa, stop: 0.4 #f4f4f4, stop: 0.5 #e7e7e7, "
    "stop: 1 #fafafa); }"
    "QTabBar::tab:selected { border-color: #9B9B9B; border-bottom-color: #C2C7CB;"
    " margin-left: -4px; margin-right: -4px; }"
    "QTabBar::tab:first:selected { margin-left: 0; }"
    "QTabBar::tab:last:selected { margin-right: 0; }"
    "QTabBar::tab:only-one { margin: 0; }"
    "QTabBar::tab:!selected { margin-top: 3px; }";

} // namespace

StartPageDialog::StartPageDialog(QWidget* parent)
    : QDialog(parent, Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_tabWidget(new QTabWidget(this)), m_startTab(new StartPageLaunchTabWidget()),
      m_helpTab(new StartPageHelpTabWidget()),
      m_buttonBox(new QDialogButtonBox(QDialogButtonBox::Close, Qt::Horizontal, this))
{
    setupUi();
    connect(m_startTab, &StartPageLaunchTabWidget::newCreateProjectButtonClicked, this,
            &StartPageDialog::handleNewCreateProjectButtonClick);
    connect(m_startTab, &StartPageLaunchTabWidget::newEditProjectButtonClicked, this,
            &StartPageDialog::handleNewEditProjectButtonClick);
    connect(m_startTab, &StartPageLaunchTabWidget::otherProjectButtonClicked, this,
            &StartPageDialog::handleOpenProjectButtonClick);
    connect(m_startTab, &StartPageLaunchTabWidget::projectFileSelected, this,
            &StartPageDialog::handleProjectFileSelection);
}

StartPageDialog::~StartPageDialog() = default;

void StartPageDialog::setupUi()
{
    if (objectName().isEmpty()) {
        setObjectName(QStringLiteral("StartPageDialog"));
    }
    resize(633, 503);
    setWindowTitle(QCoreApplication::translate("StartPageDialog", "Movarin Start Page"));
    setStyleSheet(QString::fromLatin1(dialogStyle));

    auto imageLabel = new QLabel(this);
    imageLabel->setObjectName(QStringLiteral("imageLabel"));
    imageLabel->setPixmap(QPixmap(QStringLiteral(":/images/imgVarnelLogo.png")));

    auto titleLabel = new QLabel(QCoreApplication::translate("StartPageDialog", "Movarin"), this);
    titleLabel->setObjectName(QStringLiteral("titleLabel"));
    QFont titleFont = titleLabel->font();
    titleFont.setPointSize(21);
    titleLabel->setFont(titleFont);

    auto welcomeLabel =
        new QLabel(QCoreApplication::translate("StartPageDialog", "Welcome to Movarin!"), this);
    welcomeLabel->setObjectName(QStringLiteral("welcomeLabel"));
    auto welcomeRow = new QHBoxLayout();
    welcomeRow->setObjectName(QStringLiteral("horizontalLayout"));
    welcomeRow->addItem(new QSpacerItem(10, 20, QSizePolicy::Fixed, QSizePolicy::Minimum));
    welcomeRow->addWidget(welcomeLabel);

    auto titleColumn = new QVBoxLayout();
    titleColumn->setObjectName(QStringLiteral("verticalLayout"));
    titleColumn->addWidget(titleLabel);
    titleColumn->addLayout(welcomeRow);
    titleColumn->addItem(
        new QSpacerItem(20, 18, QSizePolicy::Minimum, QSizePolicy::MinimumExpanding));

    auto head = new QHBoxLayout();
    head->setObjectName(QStringLiteral("horizontalLayout_2"));
    head->addWidget(imageLabel);
    head->addLayout(titleColumn);
    head->addItem(new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));

    m_tabWidget->setObjectName(QStringLiteral("tabWidget"));
    QFont tabFont = m_tabWidget->font();
    tabFont.setPointSize(14);
    m_tabWidget->setFont(tabFont);
    m_tabWidget->setStyleSheet(QString::fromLatin1(tabStyle));
    m_startTab->setObjectName(QStringLiteral("startTab"));
    m_helpTab->setObjectName(QStringLiteral("helpTab"));
    m_tabWidget->addTab(m_startTab,
                        QCoreApplication::translate("StartPageDialog", "Start Project"));
    m_tabWidget->addTab(m_helpTab, QCoreApplication::translate("StartPageDialog", "Support"));
    m_tabWidget->setCurrentIndex(0);

    m_buttonBox->setObjectName(QStringLiteral("buttonBox"));
    connect(m_buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto layout = new QVBoxLayout(this);
    layout->setObjectName(QStringLiteral("verticalLayout_2"));
    layout->addLayout(head);
    layout->addWidget(m_tabWidget, 1);
    layout->addWidget(m_buttonBox);
    m_buttonBox->setFocus();
}

void StartPageDialog::loadLinks(const QString& localeName)
{
    m_helpTab->links()->loadLinks(localeName);
}

void StartPageDialog::handleNewCreateProjectButtonClick()
{
    m_choice = NewCreateProject;
    accept();
}

void StartPageDialog::handleNewEditProjectButtonClick()
{
    m_choice = NewEditProject;
    accept();
}

void StartPageDialog::handleOpenProjectButtonClick()
{
    m_choice = OpenOtherProject;
    accept();
}

void StartPageDialog::handleProjectFileSelection(const QString& filename)
{
    m_choice = OpenRecentProject;
    m_filename = filename;
    accept();
}

} // namespace varnel
