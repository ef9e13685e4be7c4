#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace guimisc::dialog {

/// A modeless window that shows a message and, when asked, a progress bar while the
/// program waits for something (a child process, say), with a Cancel button.
///
/// The caller shows it (`show()`, never `exec()`), keeps the event loop turning and hides
/// or deletes it when the wait is over: the dialog never blocks its caller. Cancel, the
/// Escape key and the window's close button all emit `canceled()`, once per showing; the
/// dialog stays visible until the caller hides it.
///
/// Progress: `setRange(min, max)` and `setProgress(value)` move the bar. In unknown-limit
/// mode (`setUnknownLimitMode(limit)`, for waits of unknown length) the bar runs from min to
/// `limit` instead of max and starts again at min when the progress passes `limit`, so a long
/// wait still shows movement.
class WaitDialog : public QDialog {
    Q_OBJECT
public:
    explicit WaitDialog(QWidget* parent = nullptr);
    ~WaitDialog() override;

    void showProgressBar();
    void setRange(int min, int max);
    void setUnknownLimitMode(int limit);
    void setProgress(int value);
    void setMessage(const QString& message);

    int progress() const { return m_progress; }

signals:
    void canceled();

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void updateBar();

    QLabel* m_label;
    QProgressBar* m_bar;
    QPushButton* m_cancelButton;
    int m_min = 0;
    int m_max = 100;
    int m_limit = 0;
    int m_progress = 0;
    bool m_canceled = false;
};

} // namespace guimisc::dialog
