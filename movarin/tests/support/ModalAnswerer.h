#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>

class QWidget;

namespace varnel::test {

/// Answers the next modal widget that opens, from inside its event loop, the way a user
/// would: a test makes an answerer with what to do, then calls `exec()` on the dialog (or
/// on code that opens one).
///
///     varnel::test::ModalAnswerer answerer([](QWidget* dialog) {
///         QTest::keyClick(dialog, Qt::Key_N, Qt::ControlModifier);
///     });
///     const int result = startPage.exec();
///     EXPECT_TRUE(answerer.answered());
///
/// A timer looks for `QApplication::activeModalWidget()` every 10 ms and hands it, once, to
/// the action. If the widget is still the active modal one `checksBeforeClosing` looks
/// after the action (two seconds by default: a button's shortcut clicks it only after a
/// short animation), the answerer closes it (`QDialog::reject()` for a dialog, `close()`
/// otherwise) so that a test whose action missed does not hang; `leftOpen()` then says so.
/// A test that expects the widget to stay open passes a small count. Message boxes are not
/// answered here: they go through the message seam (`guimisc::UserDialogScript`).
///
/// Not copyable; GUI thread only; the action must not destroy the answerer.
class ModalAnswerer : public QObject {
    Q_OBJECT
public:
    explicit ModalAnswerer(std::function<void(QWidget*)> action, int checksBeforeClosing = 200,
                           QObject* parent = nullptr);
    ~ModalAnswerer() override;

    /// Whether the action has run.
    bool answered() const { return m_answered; }
    /// The class name of the widget answered (empty before).
    QString answeredClassName() const { return m_className; }
    /// Whether the widget stayed open after the action and had to be closed.
    bool leftOpen() const { return m_leftOpen; }

private:
    void poll();

    std::function<void(QWidget*)> m_action;
    QTimer m_timer;
    QPointer<QWidget> m_widget;
    int m_checksBeforeClosing;
    int m_checksAfterAnswer = 0;
    bool m_answered = false;
    bool m_leftOpen = false;
    QString m_className;
};

} // namespace varnel::test
