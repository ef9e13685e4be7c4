#include "movarin/shell/MouseHelpDialog.h"

#include "movarin/shell/SettingsKeys.h"

#include <guimisc/SettingsSupport.h>

#include <QCloseEvent>
#include <QFile>
#include <QIcon>
#include <QLabel>
#include <QLocale>
#include <QVBoxLayout>

namespace varnel {

MouseHelpDialog::MouseHelpDialog(QWidget* parent)
    : QDialog(parent, Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_imageLabel(new QLabel(this))
{
    setupUi();
    loadImage();
}

MouseHelpDialog::~MouseHelpDialog() = default;

void MouseHelpDialog::setupUi()
{
    setWindowTitle(tr("Mouse Hint"));
    setWindowIcon(QIcon(QStringLiteral(":/images/iconMouseHelp.png")));
    setSizeGripEnabled(false);
    resize(99, 30);
    m_imageLabel->setObjectName(QStringLiteral("imageLabel"));
    auto layout = new QVBoxLayout(this);
    layout->addWidget(m_imageLabel);
}

void MouseHelpDialog::loadImage()
{
    const QString localeName =
        guimisc::SettingsSupport::value(settings::generalLocale, QLocale::system().name())
            .toString();
    QString path = QStringLiteral(":/images/%1/imgMouseHelp.png").arg(localeName);
    if (!QFile::exists(path)) {
        path = QStringLiteral(":/images/imgMouseHelp.png");
    }
    m_pixmap.load(path);
    m_imageLabel->setPixmap(m_pixmap);
}

void MouseHelpDialog::closeEvent(QCloseEvent* event)
{
    hide();
    event->ignore();
}

} // namespace varnel
