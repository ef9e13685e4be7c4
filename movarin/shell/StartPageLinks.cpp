#include "movarin/shell/StartPageLinks.h"

#include "movarin/shell/StartPageLink.h"

#include <QDesktopServices>
#include <QDomDocument>
#include <QFile>
#include <QFont>
#include <QLabel>
#include <QUrl>
#include <QVBoxLayout>

namespace varnel {

StartPageLinks::StartPageLinks(QWidget* parent) : QWidget(parent), m_layout(new QVBoxLayout(this)) {}

StartPageLinks::~StartPageLinks() = default;

void StartPageLinks::clear()
{
    while (QLayoutItem* item = m_layout->takeAt(0)) {
        delete item->widget();
        delete item;
    }
}

void StartPageLinks::loadLinks(const QString& localeName)
{
    clear();
    QString path = QStringLiteral(":/data/startpagelinks_%1.xml").arg(localeName);
    if (!QFile::exists(path)) {
        path = QStringLiteral(":/data/startpagelinks.xml");
    }
    QDomDocument document;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !document.setContent(&file)) {
        document.clear();
    }
    // Elements only: a comment or stray text between groups is no group.
    const QDomElement root = document.documentElement();
    for (QDomElement group = root.firstChildElement(); !group.isNull();
         group = group.nextSiblingElement()) {
        addHeading(group.attribute(QStringLiteral("title")));
        for (QDomElement link = group.firstChildElement(); !link.isNull();
             link = link.nextSiblingElement()) {
            addLink(link.attribute(QStringLiteral("title")), link.attribute(QStringLiteral("url")));
        }
    }
    m_layout->addStretch();
}

void StartPageLinks::addHeading(const QString& text)
{
    auto heading = new QLabel(text, this);
    heading->setFont(QFont(QStringLiteral("SanSerif"), 14));
    m_layout->addWidget(heading);
}

void StartPageLinks::addLink(const QString& caption, const QString& url)
{
    auto link = new StartPageLink(caption, url, this);
    connect(link, &StartPageLabel::clicked, this, &StartPageLinks::handleLinkClick);
    m_layout->addWidget(link);
}

void StartPageLinks::handleLinkClick()
{
    if (auto link = qobject_cast<StartPageLink*>(sender())) {
        QDesktopServices::openUrl(QUrl(link->url(), QUrl::TolerantMode));
    }
}

} // namespace varnel
