#include "guimisc/dialog/WaitDialog.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace guimisc::dialog {

WaitDialog::WaitDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint),
      m_label(new QLabel(this)), m_bar(new QProgressBar(this)),
      m_cancelButton(new QPushButton(tr("Cancel"), this))
{
    setModal(false);
    setWindowTitle(tr("Please wait"));
    m_label->setMinimumWidth(240);
    m_bar->setVisible(false);
    m_bar->setTextVisible(false);
    auto buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cancelButton);
    auto layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(m_bar);
    layout->addLayout(buttons);
    connect(m_cancelButton, &QPushButton::clicked, this, &WaitDialog::reject);
    updateBar();
}

WaitDialog::~WaitDialog() = default;

void WaitDialog::showProgressBar()
{
    m_bar->setVisible(true);
}

void WaitDialog::setRange(int min, int max)
{
    m_min = min;
    m_max = max > min ? max : min;
    updateBar();
}

void WaitDialog::setUnknownLimitMode(int limit)
{
    m_limit = limit;
    updateBar();
}

void WaitDialog::setProgress(int value)
{
    m_progress = value;
    updateBar();
}

void WaitDialog::setMessage(const QString& message)
{
    m_label->setText(message);
}

void WaitDialog::reject()
{
    // Stays visible: the caller ends the wait and hides the dialog.
    if (!m_canceled) {
        m_canceled = true;
        m_cancelButton->setEnabled(false);
        emit canceled();
    }
}

void WaitDialog::closeEvent(QCloseEvent* event)
{
    event->ignore();
    reject();
}

void WaitDialog::showEvent(QShowEvent* event)
{
    m_canceled = false;
    m_cancelButton->setEnabled(true);
    QDialog::showEvent(event);
}

void WaitDialog::updateBar()
{
    int top = m_max;
    int value = m_progress;
    if (m_limit > m_min) {
        top = m_limit;
        const long long span = static_cast<long long>(m_limit) - m_min + 1;
        if (value > m_limit) {
            value = static_cast<int>(m_min + (static_cast<long long>(value) - m_min) % span);
        }
    }
    m_bar->setRange(m_min, top);
    m_bar->setValue(value < m_min ? m_min : (value > top ? top : value));
}

} // namespace guimisc::dialog
