#pragma once

#include <QWidget>

class QLineEdit;
class QPushButton;

namespace guimisc::widget {

/// A folder field: a line edit with a button that opens a folder dialog (through
/// `UserDialogs::getExistingDirectory`, starting at the current text). `dirname()` is the
/// text with "/" separators; `setDirname` shows a folder with the platform's separators.
class DirnameEditWidget : public QWidget {
    Q_OBJECT
public:
    explicit DirnameEditWidget(QWidget* parent = nullptr);
    ~DirnameEditWidget() override;

    QString dirname() const;
    void setDirname(const QString& dirname);

private slots:
    void browse();

private:
    QLineEdit* m_edit;
    QPushButton* m_button;
};

} // namespace guimisc::widget
