#pragma once

#include <QDialog>
#include <QString>

class QDialogButtonBox;
class QTabWidget;

namespace varnel {

class StartPageHelpTabWidget;
class StartPageLaunchTabWidget;

/// The start page, "Movarin Start Page": the logo and a welcome, a "Start Project" tab
/// (create a TIN project, open a project file, pick a recent project) and a "Support" tab
/// of web links. It only reports the user's choice; the main window acts on it.
///
/// `choice()` after the dialog ran: 0 new create-mode project, 1 new edit-mode project,
/// 2 open `filename()`, 3 show the open-project file dialog, 4 nothing chosen (the code it
/// starts with; Close and the title-bar close reject the dialog and leave it). Every other
/// code accepts the dialog. The recent projects are read when the dialog is made.
///
/// Made, run modally and destroyed by the main window each time the page is shown.
class StartPageDialog : public QDialog {
    Q_OBJECT
public:
    enum Choice {
        NewCreateProject = 0,
        NewEditProject = 1,
        OpenRecentProject = 2,
        OpenOtherProject = 3,
        NoChoice = 4
    };

    explicit StartPageDialog(QWidget* parent = nullptr);
    ~StartPageDialog() override;

    /// Fills the Support tab with the links for the locale name (as "ja_JP").
    void loadLinks(const QString& localeName);

    int choice() const { return m_choice; }
    const QString& filename() const { return m_filename; }

public slots:
    void handleNewCreateProjectButtonClick();
    void handleNewEditProjectButtonClick();
    void handleOpenProjectButtonClick();
    void handleProjectFileSelection(const QString& filename);

private:
    void setupUi();

    QTabWidget* m_tabWidget;
    StartPageLaunchTabWidget* m_startTab;
    StartPageHelpTabWidget* m_helpTab;
    QDialogButtonBox* m_buttonBox;
    int m_choice = NoChoice;
    QString m_filename;
};

} // namespace varnel
