#include "guimisc/FileSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <filesystem>
#include <system_error>

namespace guimisc {

namespace {

bool somethingAt(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

std::filesystem::path toFsPath(const QString& path)
{
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

} // namespace

QString FileSupport::getTempFileName(const QString& folder)
{
    static const char alphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    const QDir dir(folder);
    for (;;) {
        QString name = QStringLiteral("tmp");
        for (int i = 0; i < 10; ++i) {
            name += QLatin1Char(alphabet[QRandomGenerator::global()->bounded(36)]);
        }
        const QString path = dir.absoluteFilePath(name);
        if (!somethingAt(path)) {
            return path;
        }
    }
}

bool FileSupport::rmdirRecursively(const QString& path)
{
    if (path.isEmpty()) {
        return false;
    }
    const std::filesystem::path target = toFsPath(path);
    std::error_code error;
    const auto status = std::filesystem::symlink_status(target, error);
    if (error || status.type() == std::filesystem::file_type::not_found) {
        return status.type() == std::filesystem::file_type::not_found;
    }
    if (status.type() != std::filesystem::file_type::directory
        && status.type() != std::filesystem::file_type::symlink) {
        return false;
    }
    // remove_all never follows symbolic links: a link (also `target` itself) goes as a link.
    std::filesystem::remove_all(target, error);
    return !error && !somethingAt(path);
}

} // namespace guimisc
