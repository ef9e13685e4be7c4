#pragma once

#include <QString>
#include <QWidget>

class QVBoxLayout;

namespace varnel {

/// The recent projects of the start page: the first six entries of
/// "general/recentprojects", in stored order, read once when the list is made (whether or
/// not the files still exist). Choosing one emits `projectSelected` with its path.
class StartPageRecentProjectList : public QWidget {
    Q_OBJECT
public:
    /// The most entries shown.
    static constexpr int maxCount = 6;

    explicit StartPageRecentProjectList(QWidget* parent = nullptr);
    ~StartPageRecentProjectList() override;

    /// Adds an entry for the path unless `maxCount` are shown already.
    void addRecentProject(const QString& path);
    /// The number of entries shown.
    int count() const { return m_count; }

signals:
    void projectSelected(const QString& path);

private slots:
    void handleProjectSelection();

private:
    void loadRecentProjects();

    QVBoxLayout* m_layout;
    int m_count = 0;
};

} // namespace varnel
