#pragma once

#include "movarin/shell/StartPageLabel.h"

namespace varnel {

/// A recent project of the start page: the file's base name (up to its first dot) as
/// title and its path as description, shortened when the path has 35 or more characters
/// (the start of the folder, "...", the folder's last 10 characters, then the file name),
/// in the platform's separators. The file need not exist.
class StartPageRecentProject : public StartPageLabel {
    Q_OBJECT
public:
    explicit StartPageRecentProject(const QString& path, QWidget* parent = nullptr);
    ~StartPageRecentProject() override;

    const QString& path() const { return m_path; }

private:
    QString m_path;
};

} // namespace varnel
