#pragma once

#include <QDialog>

class QDomElement;
class QLabel;

namespace varnel {

/// The About box, "About Movarin": the logo beside the program's name and version, its
/// release date, its rights line and, when the application information gives them, a web
/// address and the terms of use as links that open in the system's browser; an OK button
/// closes it.
///
/// `setApplicationInfo` fills the labels from the root element of the application
/// information document (":/data/varnel_info.xml"; attributes "version", "displayVersion",
/// "release", "copyright", "url", "tou"). Until then the labels are empty.
/// Made once by the main window's dialog manager and kept for the life of the program.
class MainWindowAboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit MainWindowAboutDialog(QWidget* parent = nullptr);
    ~MainWindowAboutDialog() override;

    void setApplicationInfo(const QDomElement& root);

    QString titleText() const;
    QString releaseText() const;
    QString copyrightText() const;
    QString linkText() const;
    QString termsOfUseText() const;

private:
    void setupUi();

    QLabel* m_logoLabel;
    QLabel* m_titleLabel;
    QLabel* m_releaseLabel;
    QLabel* m_copyrightLabel;
    QLabel* m_linkLabel;
    QLabel* m_termsOfUseLabel;
};

} // namespace varnel
