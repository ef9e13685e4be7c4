#include "guimisc/FileSupport.h"

#include "guimisc/ErrorMessage.h"

#include "orlin/support/BlockWork.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <string>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>
#include <sys/stat.h>

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

[[noreturn]] void throwCannotReplace(const QString& path)
{
    throw ErrorMessage(QCoreApplication::translate("guimisc::FileSupport",
                                                   "Could not replace %1 before writing it.")
                           .arg(QDir::toNativeSeparators(path)));
}

// Gives the file at `path` an inode of its own: a copy beside it is renamed over it, so
// that the other hard links keep the old bytes and writing here no longer reaches them.
void detachHardLinks(const QString& path)
{
    const QString copy = FileSupport::getTempFileName(QFileInfo(path).absolutePath());
    if (!QFile::copy(path, copy)
        || std::rename(QFile::encodeName(copy).constData(), QFile::encodeName(path).constData())
               != 0) {
        QFile::remove(copy);
        throwCannotReplace(path);
    }
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

QString FileSupport::followLinks(const QString& path)
{
    QString current = path;
    for (int hop = 0; hop < 40; ++hop) {
        const QFileInfo info(current);
        if (!info.isSymLink()) {
            return current;
        }
        // Absolute, with a relative target taken from the link's folder; also when dangling.
        current = info.symLinkTarget();
    }
    return current;
}

namespace {

enum class EntryKind { Folder, Plain, Foreign };

// Entries a thread of entryKinds examines at a time, and the entries from which a folder is
// examined side by side.
constexpr std::size_t KIND_BLOCK = 512;
constexpr std::size_t KINDS_SIDE_BY_SIDE = 8 * KIND_BLOCK;

// What each of `names` in the open folder `fd` is, a link not followed: a folder, a regular
// file of its own, or anything else (also an entry that cannot be examined). A folder of
// many entries (an unpacked project of 100,000 geometry files) is examined by a few threads
// at once, each taking the next block.
std::vector<EntryKind> entryKinds(int fd, const std::vector<std::string>& names)
{
    std::vector<EntryKind> kinds(names.size(), EntryKind::Foreign);
    tin::support::BlockWork(names.size(), KIND_BLOCK, KINDS_SIDE_BY_SIDE,
                            [&](std::size_t begin, std::size_t end) {
                                for (std::size_t i = begin; i < end; ++i) {
                                    struct stat status {};
                                    if (::fstatat(fd, names[i].c_str(), &status,
                                                  AT_SYMLINK_NOFOLLOW) != 0) {
                                        continue;
                                    }
                                    if (S_ISDIR(status.st_mode)) {
                                        kinds[i] = EntryKind::Folder;
                                    } else if (S_ISREG(status.st_mode) && status.st_nlink == 1) {
                                        kinds[i] = EntryKind::Plain;
                                    }
                                }
                            })
        .finish();
    return kinds;
}

} // namespace

QString FileSupport::findForeignEntry(const QString& folder)
{
    // One `fstatat` per entry, relative to the open folder and never following a link: an
    // unpacked project of a hundred thousand members is walked in a fraction of a second.
    // Folders still to be listed, relative to `folder`; a stack rather than recursion, as an
    // archive may nest deep.
    const std::string rootPath = QFile::encodeName(QDir(folder).absolutePath()).toStdString();
    std::vector<std::string> pending{std::string()};
    while (!pending.empty()) {
        const std::string current = pending.back();
        pending.pop_back();
        const QString here =
            current.empty() ? QStringLiteral(".") : QFile::decodeName(current.c_str());
        const std::string path = current.empty() ? rootPath : rootPath + '/' + current;
        DIR* const dir = ::opendir(path.c_str());
        if (!dir) {
            return here;
        }
        std::vector<std::string> names;
        errno = 0;
        while (const dirent* entry = ::readdir(dir)) {
            if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) {
                names.emplace_back(entry->d_name);
            }
            errno = 0;
        }
        const bool listed = errno == 0;
        const std::vector<EntryKind> kinds = entryKinds(::dirfd(dir), names);
        ::closedir(dir);
        for (std::size_t i = 0; i < names.size(); ++i) {
            const std::string relative = current.empty() ? names[i] : current + '/' + names[i];
            if (kinds[i] == EntryKind::Folder) {
                pending.push_back(relative);
            } else if (kinds[i] == EntryKind::Foreign) {
                return QFile::decodeName(relative.c_str());
            }
        }
        if (!listed) {
            return here; // the listing broke off
        }
    }
    return {};
}

void FileSupport::clearWritePath(const QString& folder, const QString& relativePath)
{
    clearWritePath(folder, relativePath, nullptr);
}

void FileSupport::clearWritePath(const QString& folder, const QString& relativePath,
                                 QSet<QString>* checkedFolders)
{
    // One `lstat` per step not yet known as a folder: a save of 100,000 items clears as
    // many paths.
    const QStringList steps =
        QDir::cleanPath(relativePath).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString current = QDir(folder).absolutePath();
    for (int i = 0; i < steps.size(); ++i) {
        current += QLatin1Char('/') + steps[i];
        if (steps[i] == QLatin1String("..")) {
            throwCannotReplace(current); // the path leaves the folder
        }
        const bool last = i == steps.size() - 1;
        if (!last && checkedFolders && checkedFolders->contains(current)) {
            continue;
        }
        const QByteArray path = QFile::encodeName(current);
        struct stat status {};
        if (::lstat(path.constData(), &status) != 0) {
            if (errno == ENOENT) {
                return;
            }
            throwCannotReplace(current);
        }
        if (S_ISDIR(status.st_mode)) {
            if (!last && checkedFolders) {
                checkedFolders->insert(current);
            }
            continue;
        }
        if (S_ISREG(status.st_mode)) {
            // A file in the middle of the path stays: the writer fails on it and says so.
            if (last && status.st_nlink > 1) {
                detachHardLinks(current);
            }
            return;
        }
        // A link (unlink never follows it), a device, a pipe or a socket.
        if (::unlink(path.constData()) != 0) {
            throwCannotReplace(current);
        }
        return;
    }
}

} // namespace guimisc
