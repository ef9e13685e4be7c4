#include "guimisc/widget/DirnameEditWidget.h"

#include "guimisc/UserDialogs.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace guimisc::widget {

DirnameEditWidget::DirnameEditWidget(QWidget* parent)
    : QWidget(parent), m_edit(new QLineEdit(this)),
      m_button(new QPushButton(QStringLiteral("..."), this))
{
    auto layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_edit);
    layout->addWidget(m_button);
    connect(m_button, &QPushButton::clicked, this, &DirnameEditWidget::browse);
}

DirnameEditWidget::~DirnameEditWidget() = default;

QString DirnameEditWidget::dirname() const
{
    return QDir::fromNativeSeparators(m_edit->text());
}

void DirnameEditWidget::setDirname(const QString& dirname)
{
    m_edit->setText(QDir::toNativeSeparators(dirname));
}

void DirnameEditWidget::browse()
{
    const QString chosen = UserDialogs::getExistingDirectory(this, tr("Select folder"), dirname());
    if (!chosen.isEmpty()) {
        setDirname(chosen);
    }
}

} // namespace guimisc::widget
