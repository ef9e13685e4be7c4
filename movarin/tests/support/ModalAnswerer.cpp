#include "support/ModalAnswerer.h"

#include <QApplication>
#include <QDialog>
#include <QWidget>

namespace varnel::test {

ModalAnswerer::ModalAnswerer(std::function<void(QWidget*)> action, int checksBeforeClosing,
                             QObject* parent)
    : QObject(parent), m_action(std::move(action)), m_checksBeforeClosing(checksBeforeClosing)
{
    m_timer.setInterval(10);
    connect(&m_timer, &QTimer::timeout, this, &ModalAnswerer::poll);
    m_timer.start();
}

ModalAnswerer::~ModalAnswerer() = default;

void ModalAnswerer::poll()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (!m_answered) {
        if (modal == nullptr) {
            return;
        }
        m_answered = true;
        m_widget = modal;
        m_className = QString::fromLatin1(modal->metaObject()->className());
        m_action(modal);
        return;
    }
    if (m_widget.isNull() || modal != m_widget || !m_widget->isVisible()) {
        m_timer.stop();
        return;
    }
    if (++m_checksAfterAnswer < m_checksBeforeClosing) {
        return;
    }
    m_leftOpen = true;
    m_timer.stop();
    if (auto dialog = qobject_cast<QDialog*>(m_widget.data())) {
        dialog->reject();
    } else {
        m_widget->close();
    }
}

} // namespace varnel::test
