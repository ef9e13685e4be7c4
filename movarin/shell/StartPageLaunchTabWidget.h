#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace varnel {

class StartPageRecentProjectList;

/// The "Start Project" tab of the start page: "Create New TIN" (Ctrl+N), "Open Project
/// File" and the recent projects. It only reports what was clicked.
///
/// `newEditProjectButtonClicked` is part of the tab's interface for a new edit-mode
/// project, but the tab offers no control for it: an empty edit-mode project has nothing
/// to edit.
class StartPageLaunchTabWidget : public QWidget {
    Q_OBJECT
public:
    explicit StartPageLaunchTabWidget(QWidget* parent = nullptr);
    ~StartPageLaunchTabWidget() override;

signals:
    void newCreateProjectButtonClicked();
    void newEditProjectButtonClicked();
    void otherProjectButtonClicked();
    void projectFileSelected(const QString& filename);

private:
    void setupUi();

    QPushButton* m_newCreateProjectButton;
    QPushButton* m_openProjectButton;
    QLabel* m_recentProjectsLabel;
    StartPageRecentProjectList* m_recentProjectsList;
};

} // namespace varnel
