#include "movarin/shell/MainWindowAboutDialog.h"

#include "brask/proj/VersionNumber.h"

#include <QDialogButtonBox>
#include <QDomElement>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QSpacerItem>
#include <QUrl>
#include <QVBoxLayout>

namespace varnel {
namespace {

// An HTML link to the address as QUrl normalises it, showing the address as written.
QString link(const QString& address)
{
    return QStringLiteral("<a href=\"%1\">%2</a>")
        .arg(QUrl(address).toString(QUrl::FullyEncoded).toHtmlEscaped(), address.toHtmlEscaped());
}

QLabel* linkLabel(QWidget* parent)
{
    auto label = new QLabel(parent);
    label->setTextFormat(Qt::RichText);
    label->setTextInteractionFlags(Qt::TextBrowserInteraction);
    label->setOpenExternalLinks(true);
    return label;
}

} // namespace

MainWindowAboutDialog::MainWindowAboutDialog(QWidget* parent)
    : QDialog(parent, Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("MainWindowAboutDialog"));
    setupUi();
}

MainWindowAboutDialog::~MainWindowAboutDialog() = default;

void MainWindowAboutDialog::setupUi()
{
    setWindowTitle(tr("About Movarin"));
    resize(394, 152);

    m_logoLabel = new QLabel(this);
    m_logoLabel->setPixmap(QPixmap(QStringLiteral(":/images/imgLogo.png")));
    m_logoLabel->setAlignment(Qt::AlignTop | Qt::AlignLeft);

    m_titleLabel = new QLabel(this);
    QFont titleFont = m_titleLabel->font();
    titleFont.setPointSize(13);
    titleFont.setBold(true);
    m_titleLabel->setFont(titleFont);
    m_releaseLabel = new QLabel(this);
    m_copyrightLabel = new QLabel(this);
    m_linkLabel = linkLabel(this);
    m_termsOfUseLabel = linkLabel(this);

    auto texts = new QVBoxLayout();
    texts->addWidget(m_titleLabel);
    texts->addWidget(m_releaseLabel);
    texts->addWidget(m_copyrightLabel);
    texts->addWidget(m_linkLabel);
    texts->addWidget(m_termsOfUseLabel);
    texts->addItem(new QSpacerItem(20, 0, QSizePolicy::Minimum, QSizePolicy::Expanding));

    auto row = new QHBoxLayout();
    row->addWidget(m_logoLabel);
    row->addLayout(texts);
    row->addItem(new QSpacerItem(0, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));

    auto buttons = new QDialogButtonBox(QDialogButtonBox::Ok, Qt::Horizontal, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addItem(new QSpacerItem(20, 0, QSizePolicy::Minimum, QSizePolicy::Expanding));
    layout->addWidget(buttons);
}

void MainWindowAboutDialog::setApplicationInfo(const QDomElement& root)
{
    QString version = mvc::proj::VersionNumber(root.attribute(QStringLiteral("version")))
                          .toAboutString();
    if (root.hasAttribute(QStringLiteral("displayVersion"))) {
        version = root.attribute(QStringLiteral("displayVersion"));
    }
    m_titleLabel->setText(tr("Movarin %1").arg(version));
    m_releaseLabel->setText(tr("Released on %1").arg(root.attribute(QStringLiteral("release"))));
    m_copyrightLabel->setText(
        tr("Copyright %1").arg(root.attribute(QStringLiteral("copyright"))));

    const QString url = root.attribute(QStringLiteral("url"));
    m_linkLabel->setText(url.isEmpty() ? QString() : link(url));
    const QString tou = root.attribute(QStringLiteral("tou"));
    m_termsOfUseLabel->setText(
        tou.isEmpty() ? QString() : tr("Terms of use: ") + link(tou) + tr(" (Japanese)"));
}

QString MainWindowAboutDialog::titleText() const
{
    return m_titleLabel->text();
}

QString MainWindowAboutDialog::releaseText() const
{
    return m_releaseLabel->text();
}

QString MainWindowAboutDialog::copyrightText() const
{
    return m_copyrightLabel->text();
}

QString MainWindowAboutDialog::linkText() const
{
    return m_linkLabel->text();
}

QString MainWindowAboutDialog::termsOfUseText() const
{
    return m_termsOfUseLabel->text();
}

} // namespace varnel
