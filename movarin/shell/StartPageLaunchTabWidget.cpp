#include "movarin/shell/StartPageLaunchTabWidget.h"

#include "movarin/shell/StartPageRecentProjectList.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QSpacerItem>
#include <QVBoxLayout>

namespace varnel {
namespace {

void setPointSize(QWidget* widget, int points)
{
    QFont font = widget->font();
    font.setPointSize(points);
    widget->setFont(font);
}

} // namespace

StartPageLaunchTabWidget::StartPageLaunchTabWidget(QWidget* parent)
    : QWidget(parent), m_newCreateProjectButton(new QPushButton(this)),
      m_openProjectButton(new QPushButton(this)), m_recentProjectsLabel(new QLabel(this)),
      m_recentProjectsList(new StartPageRecentProjectList(this))
{
    setupUi();
    connect(m_newCreateProjectButton, &QPushButton::clicked, this,
            &StartPageLaunchTabWidget::newCreateProjectButtonClicked);
    connect(m_openProjectButton, &QPushButton::clicked, this,
            &StartPageLaunchTabWidget::otherProjectButtonClicked);
    connect(m_recentProjectsList, &StartPageRecentProjectList::projectSelected, this,
            &StartPageLaunchTabWidget::projectFileSelected);
}

StartPageLaunchTabWidget::~StartPageLaunchTabWidget() = default;

void StartPageLaunchTabWidget::setupUi()
{
    if (objectName().isEmpty()) {
        setObjectName(QStringLiteral("StartPageLaunchTabWidget"));
    }
    resize(446, 383);
    setWindowTitle(tr("Form"));
    setStyleSheet(QStringLiteral(
        "QPushButton { background-color: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, "
        "stop: 0 #fafafa, stop: 0.4 #f4f4f4, stop: 0.5 #e7e7e7, stop: 1 #fafafa); }"));

    m_newCreateProjectButton->setObjectName(QStringLiteral("newCreateProjectButton"));
    setPointSize(m_newCreateProjectButton, 14);
    m_newCreateProjectButton->setIcon(QIcon(QStringLiteral(":/images/iconNewCreateProj.png")));
    m_newCreateProjectButton->setIconSize(QSize(24, 24));
    m_newCreateProjectButton->setText(tr("Create New TIN"));
    m_newCreateProjectButton->setShortcut(QKeySequence(tr("Ctrl+N")));

    m_openProjectButton->setObjectName(QStringLiteral("openProjectButton"));
    setPointSize(m_openProjectButton, 14);
    m_openProjectButton->setIcon(QIcon(QStringLiteral(":/images/iconOpen.png")));
    m_openProjectButton->setFlat(false);
    m_openProjectButton->setText(tr("Open Project File"));

    m_recentProjectsLabel->setObjectName(QStringLiteral("recentProjectsLabel"));
    setPointSize(m_recentProjectsLabel, 12);
    m_recentProjectsLabel->setText(tr("Recent Projects:"));

    m_recentProjectsList->setObjectName(QStringLiteral("recentProjectsList"));
    m_recentProjectsList->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);

    // Left column: the create button at the top.
    auto createColumn = new QVBoxLayout();
    createColumn->setObjectName(QStringLiteral("verticalLayout"));
    createColumn->addWidget(m_newCreateProjectButton);
    createColumn->addItem(new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
    auto createRow = new QHBoxLayout();
    createRow->setObjectName(QStringLiteral("horizontalLayout_2"));
    createRow->addLayout(createColumn);
    auto leftColumn = new QVBoxLayout();
    leftColumn->setObjectName(QStringLiteral("verticalLayout_3"));
    leftColumn->addLayout(createRow);
    leftColumn->addItem(new QSpacerItem(20, 40, QSizePolicy::Minimum, QSizePolicy::Expanding));

    // Right column: the open button over the recent projects.
    auto openRow = new QHBoxLayout();
    openRow->setObjectName(QStringLiteral("horizontalLayout"));
    openRow->addWidget(m_openProjectButton);
    openRow->addItem(new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
    auto rightColumn = new QVBoxLayout();
    rightColumn->setObjectName(QStringLiteral("verticalLayout_2"));
    rightColumn->addLayout(openRow);
    rightColumn->addWidget(m_recentProjectsLabel);
    rightColumn->addWidget(m_recentProjectsList);

    auto layout = new QHBoxLayout(this);
    layout->setObjectName(QStringLiteral("horizontalLayout_3"));
    layout->addLayout(leftColumn);
    layout->addLayout(rightColumn);
}

} // namespace varnel
