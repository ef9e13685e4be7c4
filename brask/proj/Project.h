#pragma once

#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>

class QFile;
class QProcess;
class QUndoStack;

namespace guimisc {
class FileState;
}

namespace mvc::proj {

class MemberReadAhead;
class ProjectFile;
class ProjectMainWindowI;

/// An open project: its work folder (a folder of its own in the workspace, holding the
/// unpacked project), the project main file with the item tree, and the archive the user
/// knows as the project file.
///
/// The constructor creates the work folder when it is missing and takes the lock (a file
/// "lock" in the work folder, held open while the project lives); `isLocked` tells whether
/// both succeeded, and a project without its lock is not to be used. The destructor deletes
/// the main file and its tree, releases the lock and removes the work folder with all it
/// holds. The project owns the main file; the main window is borrowed and may be null
/// (then no wait dialog has a parent and no modeless-dialog mode is entered).
///
/// Packing and unpacking run the zip tool as a child process. The GUI thread waits for it
/// 3 seconds, then shows a wait dialog that polls every 200 ms and can cancel (kill) it.
/// `zipTo` replaces an existing archive only with a complete new one: on any failure the
/// earlier archive is left as it was.
class Project : public QObject {
    Q_OBJECT
public:
    static const char LOCKFILENAME[];
    /// An archive whose "project.xml" declares more bytes than this is not unpacked, and one
    /// whose "project.xml" holds an attribute longer than MAX_ATTRIBUTE_LENGTH characters is
    /// not read: no project of the program comes near either, and a DOM of such a file takes
    /// gigabytes.
    static constexpr quint64 MAX_PROJECT_XML_BYTES = quint64(64) << 20;
    static constexpr int MAX_ATTRIBUTE_LENGTH = 1 << 20;

    /// `mainfile` is owned from here on; it may be made with this project under
    /// construction. `workFolder` is an absolute path.
    Project(ProjectFile* mainfile, const QString& workFolder, ProjectMainWindowI* mainWindow);
    ~Project() override;

    /// The stack onto which controllers push their commands.
    virtual QUndoStack* undoStack() const = 0;

    /// True when the work folder exists and the lock is held.
    bool isLocked() const;

    /// A path in `folder` of a folder that does not exist yet (32 hexadecimal digits).
    static QString newWorkfolderName(const QString& folder);

    const QString& workFolder() const;
    /// The folders of the work folder that the save in progress found to be plain folders
    /// (`guimisc::FileSupport::clearWritePath`), so that one save examines each folder once,
    /// not once per file below it. The project file's save empties it when it starts and
    /// when it ends.
    QSet<QString>* checkedFolders() const;
    /// The archive's path; empty until the project is unpacked from or packed to one.
    const QString& filename() const;
    void setFilename(const QString& filename);
    ProjectFile* mainfile() const;
    ProjectMainWindowI* projectMainWindow() const;
    /// `name` resolved inside the work folder.
    QString absoluteFileName(const QString& name) const;
    /// A fresh name in the work folder.
    QString tmpFileName() const;

    /// Reads "project.xml" into the tree; throws what the main file's load throws. What
    /// the member read ahead kept and the load did not take is dropped afterwards.
    void load();
    /// Writes "project.xml" under the wait cursor (the application's, taken back afterwards);
    /// false when it could not be written.
    bool save();
    /// Unpacks `archive` into the work folder (large members by programs side by side, see
    /// guimisc::ZipSupport::createUnzipArchiveProcesses). Nothing is unpacked from an archive
    /// from which the zip tool would write more than its directory declares, or whose members
    /// together declare more than the free space of the work folder's disk, or whose
    /// "project.xml" declares more than MAX_PROJECT_XML_BYTES (see
    /// `guimisc::ZipDirectory::checkForUnpacking`). True when the tool succeeded (warnings
    /// allowed), the folder holds only plain folders and regular files of their own (no
    /// symbolic link, special file or hard link: see `guimisc::FileSupport::findForeignEntry`)
    /// and "project.xml" is there and holds no attribute longer than MAX_ATTRIBUTE_LENGTH;
    /// only then is `archive` the project's file name. What was unpacked stays in the work
    /// folder until the project goes. The members of the read ahead unpack with
    /// "project.xml" by the first program and are read while the others unpack; a refused
    /// archive drops what was read.
    bool unzipFrom(const QString& archive);
    /// The reader of the members that the load reads first, owned from here on (none until
    /// set); the items take what it read from `memberReadAhead()` as they load.
    void setMemberReadAhead(std::unique_ptr<MemberReadAhead> readAhead);
    MemberReadAhead* memberReadAhead() const;
    /// Packs "project.xml" and the files of the tree into `archive`. False when the tool
    /// failed, was cancelled or the archive could not be replaced; the earlier archive at
    /// that path then stays as it was. When `archive` is a symbolic link, the file it leads
    /// to is replaced (or made, when it dangles) and the link stays. The archive is packed
    /// in a fresh folder of the workspace that goes when packing ends, however it ends.
    /// Members named with one of the stored suffixes are stored, the others deflated.
    bool zipTo(const QString& archive);
    /// The name endings (".tin", say) of the members that `zipTo` stores without
    /// compression: the items' bulk binary files, which deflate little and slowly. None
    /// until set.
    void setStoredSuffixes(const QStringList& suffixes);
    /// True when the last `zipTo` failed and has told the user why in a message box of its
    /// own (the archive could not be replaced), so that the caller adds no second one.
    bool zipFailureReported() const;
    /// True when `path`, its links followed, lies in the work folder: an archive saved there
    /// would go with the folder when the project closes.
    bool isInsideWorkFolder(const QString& path) const;

public slots:
    /// Shows the work folder in the desktop's file manager.
    void openWorkFolder();

private slots:
    void handleFinish();
    void cancel();

private:
    /// Has the tree of the unpacked `mainFile` built while the rest of the archive unpacks,
    /// when it is a plain file that the checks after the unpacking would let through, and
    /// has the read ahead read its unpacked members. The state of `mainFile` in which it
    /// was found to hold no attribute too long; none when it was not.
    guimisc::FileState readAheadOfLoad(const QString& mainFile);
    bool lock();
    void unlock();
    /// Waits for the process as described above; true when it finished normally with an
    /// accepted exit code.
    bool waitForProcess(QProcess* process, const QString& message, int maxExitCode);
    bool replaceArchive(const QString& temporary, const QString& archive);

    QString m_workFolder;
    QString m_filename;
    QStringList m_storedSuffixes;
    std::unique_ptr<MemberReadAhead> m_readAhead;
    ProjectFile* m_mainfile;
    QFile* m_lockFile = nullptr;
    ProjectMainWindowI* m_mainWindow;
    bool m_isFinished = false;
    bool m_isCanceled = false;
    bool m_zipFailureReported = false;
    // Kept for the length of one save, whoever runs it (a cache, not the project's state).
    mutable QSet<QString> m_checkedFolders;
};

} // namespace mvc::proj
