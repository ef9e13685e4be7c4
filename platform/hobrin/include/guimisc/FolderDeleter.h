#pragma once

#include <QString>

namespace guimisc {

/// Removes a folder with its content when it goes out of scope
/// (`FileSupport::rmdirRecursively`; failures are ignored). Not copyable.
class FolderDeleter {
public:
    explicit FolderDeleter(const QString& path);
    ~FolderDeleter();

    FolderDeleter(const FolderDeleter&) = delete;
    FolderDeleter& operator=(const FolderDeleter&) = delete;

private:
    QString m_path;
};

} // namespace guimisc
