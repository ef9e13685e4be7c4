#pragma once

#include <QString>
#include <QList>
#include <QStringList>

class QObject;
class QProcess;

namespace guimisc {

/// Packs and unpacks zip archives by running the Info-ZIP programs "zip" and "unzip" as
/// child processes; the GUI keeps running while they work.
///
/// - Unpacking runs `unzip -o -q <archive> -d <folder>`: existing files are overwritten.
///   Entries named with "../" or an absolute path are kept inside the folder. That is all
///   it keeps: symbolic links stored in the archive are restored as links, which may point
///   anywhere. A caller that reads or writes the unpacked files checks the folder with
///   `FileSupport::findForeignEntry` first and refuses the archive when it names an entry.
/// - Packing runs `zip -q [-n <suffixes>] <archive> -@` in `folder` and writes the members
///   to its standard input, one a line, so that no count of members meets the system's
///   limit on the length of a command line (a project of 100,000 items names some 4 MB of
///   members). The members are paths relative to `folder` and are stored in the given order
///   (a member starting with "-" is written as "./-..."; it is stored under its own name); a
///   member may not hold a line break. Members whose names end with one of `storedSuffixes` (".tin", say;
///   compared case-sensitively) are stored as they are instead of deflated: Info-ZIP
///   deflates bulk binary data such as coordinates to little more than half its size at a
///   few tens of megabytes a second, while storing costs about a copy. Other members are
///   deflated at Info-ZIP's default level. Either way `unzip` restores the same bytes.
///   Info-ZIP writes the new archive
///   under a temporary name "zi" plus six characters in the archive's folder first; a
///   killed run can leave that file behind.
/// - Both programs are looked up on PATH at each call. Arguments go to the process as a
///   list, never through a shell, so blanks, quotes and non-ASCII names are safe. Relative
///   archive and folder names are taken relative to the current folder of the program.
///
/// The returned process is started and owned by the caller (or by `parent`). It emits
/// `finished(int, QProcess::ExitStatus)` when the program ends. A program that cannot be
/// started (missing from PATH, say) emits `errorOccurred(QProcess::FailedToStart)` and never
/// `finished`; it may already have failed when this function returns, so check `state()`
/// (`QProcess::NotRunning`) and `error()` as well as waiting for signals.
/// `waitForFinished` returns false at once for such a process.
class ZipSupport {
public:
    ZipSupport() = delete;

    static QProcess* createUnzipArchiveProcess(const QString& archive, const QString& folder,
                                               QObject* parent = nullptr);

    /// Unpacks as createUnzipArchiveProcess does, with up to `processes` programs side by
    /// side when the archive holds large members: unzip checks and copies at a few hundred
    /// megabytes a second, so a project of a survey of millions of points unpacks in the time
    /// of its largest member instead of all of them. Each top-level member of at least
    /// SPLIT_FROM bytes whose name is plain (letters, digits, ".", "_", "-", not first) goes to
    /// the least loaded of the extra programs, largest first (`unzip -o -q <archive> <member...>
    /// -d <folder>`); the first program unpacks everything else (`-x <those members...>`), and
    /// is left out when nothing else is there. An archive that cannot be listed, or holds no
    /// such member, gets the one program of createUnzipArchiveProcess. The processes are
    /// started and owned by the caller (or `parent`); the unpacking succeeded when each ended
    /// as a single one would have.
    static QList<QProcess*> createUnzipArchiveProcesses(const QString& archive,
                                                        const QString& folder, int processes,
                                                        QObject* parent = nullptr);
    /// The same with members of at least `splitFrom` bytes taken as large (tests split small
    /// archives this way).
    static QList<QProcess*> createUnzipArchiveProcesses(const QString& archive,
                                                        const QString& folder, int processes,
                                                        quint64 splitFrom, QObject* parent);
    /// The same, with the members of `first` (plain top-level names; those the archive does
    /// not hold are left out) unpacked together by a program of their own, the first of the
    /// list, when the archive holds any of them and other members too and `processes` is at
    /// least 2, so that the caller can read them while the rest unpacks; `*firstAlone`
    /// (required) then says true. The other members are split among the other programs as
    /// above.
    static QList<QProcess*> createUnzipArchiveProcesses(const QString& archive,
                                                        const QString& folder, int processes,
                                                        quint64 splitFrom, const QStringList& first,
                                                        bool* firstAlone, QObject* parent = nullptr);
    static constexpr quint64 SPLIT_FROM = quint64(16) << 20;
    static QProcess* createZipArchiveProcess(const QString& archive, const QString& folder,
                                             const QStringList& members,
                                             QObject* parent = nullptr);
    static QProcess* createZipArchiveProcess(const QString& archive, const QString& folder,
                                             const QStringList& members,
                                             const QStringList& storedSuffixes,
                                             QObject* parent = nullptr);
};

} // namespace guimisc
