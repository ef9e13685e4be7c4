#pragma once

#include <QWidget>

class QLineEdit;
class QPushButton;

namespace guimisc::widget {

/// A file field: a line edit with a button that opens a file dialog through `UserDialogs`
/// (an open dialog, or a save dialog in save mode) with the filter given by `setFilter`
/// (Qt's filter string, "XML files(*.xml)"). The dialog starts at the current name, or at
/// `LastIODirectory` while the field is empty; a chosen name replaces the text and becomes
/// the folder of the next file dialog, Cancel keeps the text. `filename()` is the text with
/// "/" separators; `setFilename` shows a name with the platform's separators.
class FilenameEditWidget : public QWidget {
    Q_OBJECT
public:
    explicit FilenameEditWidget(QWidget* parent = nullptr);
    ~FilenameEditWidget() override;

    QString filename() const;
    void setFilename(const QString& filename);

    void setFilter(const QString& filter);
    /// Save mode asks for a file to write (which need not exist yet); off by default.
    void setSaveMode(bool saveMode);

private slots:
    void browse();

private:
    QLineEdit* m_edit;
    QPushButton* m_button;
    QString m_filter;
    bool m_saveMode;
};

} // namespace guimisc::widget
