#include "brask/proj/Project.h"

#include "brask/proj/MemberReadAhead.h"
#include "brask/proj/ProjectFile.h"
#include "brask/proj/ProjectMainWindowI.h"
#include "brask/proj/ProjectWorkspace.h"

#include <guimisc/FileState.h>
#include <guimisc/FileSupport.h>
#include <guimisc/FolderDeleter.h>
#include <guimisc/StringSupport.h>
#include <guimisc/UserDialogs.h>
#include <guimisc/ZipDirectory.h>
#include <guimisc/ZipSupport.h>
#include <guimisc/dialog/WaitDialog.h>
#include <guimisc/restorer/WaitCursor.h>
#include <guimisc/xml/XmlSupport.h>

#include <QApplication>
#include <QCryptographicHash>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QRandomGenerator>
#include <QStorageInfo>
#include <QThread>
#include <QUrl>

#include <cerrno>
#include <cstdio>
#include <limits>
#include <memory>
#include <vector>

#include <dirent.h>
#include <sys/stat.h>

namespace mvc::proj {

const char Project::LOCKFILENAME[] = "lock";

namespace {

// Runs a function when the scope ends, however it ends.
template <class F>
class ScopeExit {
public:
    explicit ScopeExit(F f) : m_f(std::move(f)) {}
    ~ScopeExit() { m_f(); }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

private:
    F m_f;
};

// The state of `path` when it is a regular file of its own (no link, no second hard link)
// of at most `maxBytes`; none otherwise.
guimisc::FileState plainFileState(const QString& path, quint64 maxBytes)
{
    struct stat status {};
    const bool plain = ::lstat(QFile::encodeName(path).constData(), &status) == 0
                       && S_ISREG(status.st_mode) && status.st_nlink == 1
                       && static_cast<quint64>(status.st_size) <= maxBytes;
    return plain ? guimisc::FileState(status) : guimisc::FileState();
}

// Whether entries of the work folder are files, as QFileInfo::isFile says (links followed),
// each folder listed once: a save of 100,000 items asks as many times. An entry that the
// listing types as neither a regular file nor a folder (a link, say), a name with "." or ".."
// steps or an absolute one, and an entry of a folder that cannot be listed are asked for
// one by one.
class FilesOfFolder {
public:
    explicit FilesOfFolder(const QString& root) : m_root(root) {}

    bool isFile(const QString& relative)
    {
        const int slash = relative.lastIndexOf(QLatin1Char('/'));
        const QString folder = slash < 0 ? QString() : relative.left(slash);
        const QByteArray name = QFile::encodeName(relative.mid(slash + 1));
        const QStringList steps = relative.split(QLatin1Char('/'));
        const bool plainPath = !relative.startsWith(QLatin1Char('/')) && !name.isEmpty()
                               && !steps.contains(QStringLiteral("."))
                               && !steps.contains(QStringLiteral(".."));
        if (plainPath) {
            const Listing& listing = listingOf(folder);
            if (listing.listed) {
                const auto kind = listing.kinds.constFind(name);
                if (kind == listing.kinds.constEnd()) {
                    return false;
                }
                if (*kind == DT_REG) {
                    return true;
                }
                if (*kind == DT_DIR) {
                    return false;
                }
            }
        }
        return QFileInfo(QDir(m_root).absoluteFilePath(relative)).isFile();
    }

private:
    struct Listing {
        bool listed = false;
        QHash<QByteArray, unsigned char> kinds;
    };

    const Listing& listingOf(const QString& folder)
    {
        auto found = m_listings.find(folder);
        if (found != m_listings.end()) {
            return *found;
        }
        Listing listing;
        const QString path = folder.isEmpty() ? m_root : m_root + QLatin1Char('/') + folder;
        if (DIR* const dir = ::opendir(QFile::encodeName(path).constData())) {
            errno = 0;
            while (const dirent* entry = ::readdir(dir)) {
                listing.kinds.insert(QByteArray(entry->d_name), entry->d_type);
                errno = 0;
            }
            listing.listed = errno == 0;
            ::closedir(dir);
        }
        return *m_listings.insert(folder, std::move(listing));
    }

    QString m_root;
    QHash<QString, Listing> m_listings;
};

bool renameOver(const QString& from, const QString& to)
{
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData())
           == 0;
}

} // namespace

Project::Project(ProjectFile* mainfile, const QString& workFolder, ProjectMainWindowI* mainWindow)
    : QObject(mainWindow), m_workFolder(workFolder), m_mainfile(mainfile),
      m_mainWindow(mainWindow)
{
    const QFileInfo info(m_workFolder);
    if (!info.exists()) {
        info.dir().mkdir(info.fileName());
    }
    lock();
}

Project::~Project()
{
    // A tree read ahead for this project's file that no load took goes with it (another
    // project's loses nothing by it: its load reads the file itself).
    guimisc::xml::XmlSupport::discardPrefetchedDom();
    if (m_readAhead) {
        m_readAhead->discard();
    }
    delete m_mainfile;
    m_mainfile = nullptr;
    unlock();
    guimisc::FileSupport::rmdirRecursively(m_workFolder);
}

bool Project::isLocked() const
{
    return m_lockFile != nullptr;
}

QString Project::newWorkfolderName(const QString& folder)
{
    const QDir dir(folder);
    // The name is the digest of a growing run of random bytes; a taken name adds a byte.
    // The run starts at 16 bytes from the system's entropy: seeded with the millisecond and
    // starting at one byte, it gave one of 256 names first, so that two programs started in
    // the same millisecond (or one in 256 pairs of any two) took the same folder, each
    // seeing it free, and a project made right after another was closed took its name.
    QRandomGenerator* random = QRandomGenerator::system();
    QByteArray bytes;
    for (int i = 0; i < 15; ++i) {
        bytes.append(static_cast<char>(random->generate() & 0xff));
    }
    QString name;
    do {
        bytes.append(static_cast<char>(random->generate() & 0xff));
        name = QString::fromLatin1(
            QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex());
    } while (dir.exists(name));
    return dir.absoluteFilePath(name);
}

const QString& Project::workFolder() const
{
    return m_workFolder;
}

QSet<QString>* Project::checkedFolders() const
{
    return &m_checkedFolders;
}

const QString& Project::filename() const
{
    return m_filename;
}

void Project::setFilename(const QString& filename)
{
    m_filename = filename;
}

ProjectFile* Project::mainfile() const
{
    return m_mainfile;
}

ProjectMainWindowI* Project::projectMainWindow() const
{
    return m_mainWindow;
}

QString Project::absoluteFileName(const QString& name) const
{
    return QDir(m_workFolder).absoluteFilePath(name);
}

QString Project::tmpFileName() const
{
    return guimisc::FileSupport::getTempFileName(m_workFolder);
}

void Project::load()
{
    ScopeExit dropReadAhead([this] {
        if (m_readAhead) {
            m_readAhead->discard();
        }
    });
    m_mainfile->load();
}

void Project::setMemberReadAhead(std::unique_ptr<MemberReadAhead> readAhead)
{
    if (m_readAhead) {
        m_readAhead->discard();
    }
    m_readAhead = std::move(readAhead);
}

MemberReadAhead* Project::memberReadAhead() const
{
    return m_readAhead.get();
}

bool Project::save()
{
    if (!m_mainWindow) {
        return m_mainfile->save();
    }
    m_mainWindow->enterModelessDialogMode();
    QCoreApplication::processEvents();
    // The cursor of a caller's longer operation (the packing that follows) stays.
    const guimisc::restorer::WaitCursor busy;
    ScopeExit restore([this] { m_mainWindow->exitModelessDialogMode(); });
    return m_mainfile->save();
}

bool Project::unzipFrom(const QString& archive)
{
    // An archive from a colleague or a download may unpack to more than it declares (a zip
    // bomb), or declare more than the disk holds: it is refused before the tool writes
    // anything.
    try {
        QStorageInfo disk(m_workFolder);
        disk.refresh();
        guimisc::ZipDirectory::Limits limits;
        if (disk.isValid() && disk.bytesAvailable() >= 0) {
            limits.totalBytes = static_cast<quint64>(disk.bytesAvailable());
        }
        limits.named = QString::fromLatin1(ProjectFile::FILENAME);
        limits.namedBytes = MAX_PROJECT_XML_BYTES;
        guimisc::ZipDirectory::checkForUnpacking(archive, limits);
    } catch (const std::exception& e) {
        qWarning("Refused %s", e.what());
        return false;
    }
    // Large members unpack side by side (a survey's point and TIN files), and the project
    // file with the members read ahead by a program of their own, so that the file's tree
    // is built and those members are read while the rest unpacks.
    const int programs = qBound(2, QThread::idealThreadCount() / 2, 4);
    const QString mainFile = absoluteFileName(QString::fromLatin1(ProjectFile::FILENAME));
    QStringList first{QString::fromLatin1(ProjectFile::FILENAME)};
    if (m_readAhead) {
        first << m_readAhead->members();
    }
    bool firstAlone = false;
    std::vector<std::unique_ptr<QProcess>> processes;
    for (QProcess* process : guimisc::ZipSupport::createUnzipArchiveProcesses(
             archive, m_workFolder, programs, guimisc::ZipSupport::SPLIT_FROM, first,
             &firstAlone)) {
        processes.emplace_back(process);
    }
    // What was read ahead and no load takes goes with a refused archive.
    bool opened = false;
    ScopeExit dropPrefetch([this, &opened] {
        if (!opened) {
            guimisc::xml::XmlSupport::discardPrefetchedDom();
            if (m_readAhead) {
                m_readAhead->discard();
            }
        }
    });
    if (m_mainWindow) {
        m_mainWindow->enterModelessDialogMode();
    }
    // unzip exits with 1 when it only warned. A failed or cancelled program ends the others.
    bool ok = true;
    guimisc::FileState checkedMainFile;
    for (std::size_t i = 0; i < processes.size(); ++i) {
        if (!ok) {
            processes[i]->kill();
            processes[i]->waitForFinished(3000);
            continue;
        }
        ok = waitForProcess(processes[i].get(), tr("Loading project file..."), 1);
        if (ok && i == 0 && firstAlone) {
            checkedMainFile = readAheadOfLoad(mainFile);
        }
    }
    processes.clear();
    if (m_mainWindow) {
        m_mainWindow->exitModelessDialogMode();
    }
    if (!ok) {
        return false;
    }
    // unzip restores the symbolic links an archive holds. Nothing may lead a reader or a
    // later save out of the work folder: an archive with a link, a special file or a file
    // hard-linked elsewhere is refused before anything in the folder is read.
    const QString foreign = guimisc::FileSupport::findForeignEntry(m_workFolder);
    if (!foreign.isEmpty()) {
        qWarning("Refused %s: it holds %s, which is no plain file or folder",
                 qUtf8Printable(archive), qUtf8Printable(foreign));
        return false;
    }
    if (!QFileInfo(mainFile).isFile()) {
        return false;
    }
    // The check of the read ahead stands while the file is as it was then.
    const bool checked =
        checkedMainFile.exists() && guimisc::FileState::of(mainFile) == checkedMainFile;
    if (!checked
        && guimisc::xml::XmlSupport::holdsAttributeLongerThan(mainFile, MAX_ATTRIBUTE_LENGTH)) {
        qWarning("Refused %s: its %s holds an attribute of more than %d characters",
                 qUtf8Printable(archive), ProjectFile::FILENAME, MAX_ATTRIBUTE_LENGTH);
        return false;
    }
    m_filename = archive;
    opened = true;
    return true;
}

guimisc::FileState Project::readAheadOfLoad(const QString& mainFile)
{
    // Only plain files of their own, and a project file whose attributes are of a size a
    // tree can hold: what the checks after the unpacking refuse is not read ahead either
    // (they run all the same).
    guimisc::FileState checked;
    const guimisc::FileState state = plainFileState(mainFile, MAX_PROJECT_XML_BYTES);
    if (state.exists()
        && !guimisc::xml::XmlSupport::holdsAttributeLongerThan(mainFile, MAX_ATTRIBUTE_LENGTH)) {
        checked = state;
        guimisc::xml::XmlSupport::prefetchDom(mainFile);
    }
    if (!m_readAhead) {
        return checked;
    }
    for (const QString& member : m_readAhead->members()) {
        const QString path = absoluteFileName(member);
        if (plainFileState(path, std::numeric_limits<quint64>::max()).exists()) {
            m_readAhead->read(path);
        }
    }
    return checked;
}

bool Project::zipTo(const QString& archive)
{
    m_zipFailureReported = false;
    const QDir work(m_workFolder);
    QStringList members{work.relativeFilePath(m_mainfile->absoluteFilename())};
    FilesOfFolder files(work.absolutePath());
    for (const std::string& name : m_mainfile->containedFiles()) {
        const QString member = QString::fromLocal8Bit(name.c_str());
        // An item may name a file that it writes only when it holds data.
        if (files.isFile(member)) {
            members << member;
        }
    }

    // The new archive is made in a folder of this save's own in the workspace (beside the
    // work folder without a main window), where the zip tool puts its temporary file too.
    // Whatever a failed, killed or cancelled run leaves there goes with that folder, so no
    // file of the workspace is ever chosen by its name.
    const ProjectWorkspace* workspace = m_mainWindow ? m_mainWindow->workspace() : nullptr;
    const QString folder =
        workspace ? workspace->tmpFileName()
                  : guimisc::FileSupport::getTempFileName(QFileInfo(m_workFolder).absolutePath());
    if (!QDir().mkdir(folder)) {
        return false;
    }
    const guimisc::FolderDeleter removeFolder(folder);
    const QString temporary = QDir(folder).absoluteFilePath(QStringLiteral("project.zip"));

    std::unique_ptr<QProcess> process(
        guimisc::ZipSupport::createZipArchiveProcess(temporary, m_workFolder, members,
                                                     m_storedSuffixes));
    const bool ok = waitForProcess(process.get(), tr("Saving project file..."), 0);
    process.reset();

    if (!ok || QFileInfo(temporary).size() <= 0 || !replaceArchive(temporary, archive)) {
        return false;
    }
    m_filename = archive;
    return true;
}

void Project::setStoredSuffixes(const QStringList& suffixes)
{
    m_storedSuffixes = suffixes;
}

bool Project::isInsideWorkFolder(const QString& path) const
{
    // Links followed and the folders canonical, so that no spelling of the path hides it.
    const QFileInfo target(guimisc::FileSupport::followLinks(QFileInfo(path).absoluteFilePath()));
    const QString folder = QFileInfo(target.absolutePath()).canonicalFilePath();
    const QString work = QFileInfo(m_workFolder).canonicalFilePath();
    return !folder.isEmpty() && !work.isEmpty()
           && (folder == work || folder.startsWith(work + QLatin1Char('/')));
}

bool Project::replaceArchive(const QString& temporary, const QString& archive)
{
    // A symbolic link named by the user is followed and kept: the archive it leads to is
    // replaced (made, when the link dangles). Renaming onto the link itself would turn it
    // into a plain file and leave the archive it names as it was.
    const QString resolved = guimisc::FileSupport::followLinks(archive);
    const QFileInfo target(resolved);
    if (!target.isDir() && !target.isSymLink()) {
        if (renameOver(temporary, resolved)) {
            return true;
        }
        if (errno == EXDEV) {
            // Another file system: copy beside the target first, so that the target is
            // still replaced in one step.
            const QString beside = guimisc::FileSupport::getTempFileName(target.absolutePath());
            if (QFile::copy(temporary, beside)) {
                if (renameOver(beside, resolved)) {
                    return true;
                }
            }
            QFile::remove(beside);
        }
    }
    guimisc::UserDialogs::critical(m_mainWindow, tr("Error"),
                                   tr("Could not overwrite %1.")
                                       .arg(QDir::toNativeSeparators(archive)),
                                   QMessageBox::Ok);
    m_zipFailureReported = true;
    return false;
}

bool Project::waitForProcess(QProcess* process, const QString& message, int maxExitCode)
{
    m_isFinished = false;
    m_isCanceled = false;
    bool hasFinished = false;
    connect(process, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), this,
            [this, &hasFinished](int, QProcess::ExitStatus) {
                hasFinished = true;
                handleFinish();
            });
    // A program that cannot be started never emits finished: count it as finished, failed.
    connect(process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            m_isFinished = true;
        }
    });
    ScopeExit disconnectAll([this, process] { process->disconnect(this); });
    const auto isRunning = [process] { return process->state() != QProcess::NotRunning; };

    if (isRunning()) {
        process->waitForFinished(3000);
    }
    QCoreApplication::processEvents();
    if (isRunning() && !m_isFinished) {
        guimisc::dialog::WaitDialog dialog(m_mainWindow);
        dialog.showProgressBar();
        dialog.setRange(0, 100);
        dialog.setUnknownLimitMode(300);
        dialog.setProgress(10);
        dialog.setMessage(message);
        connect(&dialog, &guimisc::dialog::WaitDialog::canceled, this, &Project::cancel);
        dialog.show();
        int progress = 10;
        while (isRunning() && !m_isFinished && !m_isCanceled) {
            QCoreApplication::processEvents();
            process->waitForFinished(200);
            dialog.setProgress(++progress);
        }
        dialog.hide();
    }
    if (m_isCanceled && isRunning()) {
        process->kill();
        process->waitForFinished(3000);
        return false;
    }
    if (isRunning()) {
        return false;
    }
    // A program of several run side by side may end while an earlier one is waited for: its
    // "finished" then came before this call listened, and its state tells instead. One that
    // could not be started has not run.
    const bool ran = hasFinished || process->error() != QProcess::FailedToStart;
    return ran && process->exitStatus() == QProcess::NormalExit
           && process->exitCode() >= 0 && process->exitCode() <= maxExitCode;
}

bool Project::zipFailureReported() const
{
    return m_zipFailureReported;
}

void Project::openWorkFolder()
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(m_workFolder));
}

void Project::handleFinish()
{
    m_isFinished = true;
}

void Project::cancel()
{
    m_isCanceled = true;
}

bool Project::lock()
{
    unlock();
    m_lockFile = new QFile(absoluteFileName(QString::fromLatin1(LOCKFILENAME)));
    if (!m_lockFile->open(QIODevice::WriteOnly)) {
        delete m_lockFile;
        m_lockFile = nullptr;
        return false;
    }
    return true;
}

void Project::unlock()
{
    if (!m_lockFile) {
        return;
    }
    m_lockFile->close();
    delete m_lockFile;
    m_lockFile = nullptr;
    QFile::remove(absoluteFileName(QString::fromLatin1(LOCKFILENAME)));
}

} // namespace mvc::proj
