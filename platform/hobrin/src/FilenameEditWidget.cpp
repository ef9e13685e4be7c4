#include "guimisc/widget/FilenameEditWidget.h"

#include "guimisc/LastIODirectory.h"
#include "guimisc/UserDialogs.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace guimisc::widget {

FilenameEditWidget::FilenameEditWidget(QWidget* parent)
    : QWidget(parent), m_edit(new QLineEdit(this)),
      m_button(new QPushButton(QStringLiteral("..."), this)), m_saveMode(false)
{
    auto layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_edit);
    layout->addWidget(m_button);
    connect(m_button, &QPushButton::clicked, this, &FilenameEditWidget::browse);
}

FilenameEditWidget::~FilenameEditWidget() = default;

QString FilenameEditWidget::filename() const
{
    return QDir::fromNativeSeparators(m_edit->text());
}

void FilenameEditWidget::setFilename(const QString& filename)
{
    m_edit->setText(QDir::toNativeSeparators(filename));
}

void FilenameEditWidget::setFilter(const QString& filter)
{
    m_filter = filter;
}

void FilenameEditWidget::setSaveMode(bool saveMode)
{
    m_saveMode = saveMode;
}

void FilenameEditWidget::browse()
{
    const QString start = filename().isEmpty() ? LastIODirectory::get() : filename();
    const QString chosen =
        m_saveMode ? UserDialogs::getSaveFileName(this, tr("Select file"), start, m_filter)
                   : UserDialogs::getOpenFileName(this, tr("Select file"), start, m_filter);
    if (chosen.isEmpty()) {
        return;
    }
    setFilename(chosen);
    LastIODirectory::setFromAbsoluteFileName(chosen);
}

} // namespace guimisc::widget
