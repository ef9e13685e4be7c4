#include "guimisc/ZipSupport.h"

#include "guimisc/ZipDirectory.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <algorithm>
#include <exception>
#include <vector>

namespace guimisc {

namespace {

// The program as found on PATH now; the bare name when it is not there, so that the
// process fails to start and says so.
QString program(const QString& name)
{
    const QString found = QStandardPaths::findExecutable(name);
    return found.isEmpty() ? name : found;
}

// A member name unzip takes as itself: its patterns give "*", "?" and "[" a meaning, and a
// folder part would have several programs make the same folders at once.
bool plainName(const QString& name)
{
    if (name.isEmpty() || name.startsWith(QLatin1Char('-')) || name == QLatin1String(".")
        || name == QLatin1String("..")) {
        return false;
    }
    for (const QChar c : name) {
        const ushort u = c.unicode();
        const bool plain = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9')
                           || u == '.' || u == '_' || u == '-';
        if (!plain) {
            return false;
        }
    }
    return true;
}

QProcess* startUnzip(const QStringList& arguments, QObject* parent)
{
    auto process = new QProcess(parent);
    process->start(program(QStringLiteral("unzip")), arguments);
    return process;
}

} // namespace

QList<QProcess*> ZipSupport::createUnzipArchiveProcesses(const QString& archive,
                                                         const QString& folder, int processes,
                                                         QObject* parent)
{
    return createUnzipArchiveProcesses(archive, folder, processes, SPLIT_FROM, parent);
}

QList<QProcess*> ZipSupport::createUnzipArchiveProcesses(const QString& archive,
                                                         const QString& folder, int processes,
                                                         quint64 splitFrom, QObject* parent)
{
    return createUnzipArchiveProcesses(archive, folder, processes, splitFrom, QStringList(),
                                       nullptr, parent);
}

QList<QProcess*> ZipSupport::createUnzipArchiveProcesses(const QString& archive,
                                                         const QString& folder, int processes,
                                                         quint64 splitFrom, const QStringList& first,
                                                         bool* firstAlone, QObject* parent)
{
    if (firstAlone) {
        *firstAlone = false;
    }
    QVector<ZipDirectory::Member> members;
    try {
        members = ZipDirectory::members(archive);
    } catch (const std::exception&) {
        // The one program says what is wrong with it.
    }
    QStringList names;
    for (const ZipDirectory::Member& member : members) {
        names << member.name;
    }
    names.removeDuplicates();
    if (names.size() != members.size()) {
        // A name stored twice is written twice, the later one last: one program keeps that order.
        return {createUnzipArchiveProcess(archive, folder, parent)};
    }
    // The members of `first` that the archive holds, in their order.
    QStringList firstHeld;
    for (const QString& name : first) {
        if (plainName(name) && names.contains(name) && !firstHeld.contains(name)) {
            firstHeld << name;
        }
    }
    const bool separate = processes >= 2 && !firstHeld.isEmpty() && firstHeld.size() < members.size();
    // Programs for everything but `first`.
    const int budget = separate ? processes - 1 : processes;
    std::vector<ZipDirectory::Member> large;
    bool rest = false;
    for (const ZipDirectory::Member& member : members) {
        if (separate && firstHeld.contains(member.name)) {
            continue;
        }
        if (member.storedBytes >= splitFrom && plainName(member.name)) {
            large.push_back(member);
        } else {
            rest = true;
        }
    }
    if (budget < 2 || large.empty() || (large.size() == 1 && !rest)) {
        if (!separate) {
            return {createUnzipArchiveProcess(archive, folder, parent)};
        }
        rest = true; // the large members go with the rest
        large.clear();
    }
    std::sort(large.begin(), large.end(), [](const auto& a, const auto& b) {
        return a.storedBytes > b.storedBytes;
    });
    const QString source = QFileInfo(archive).absoluteFilePath();
    const QString target = QFileInfo(folder).absoluteFilePath();
    // Extra programs for the large members, each taking the next largest while it carries
    // the least.
    const std::size_t extra = std::min<std::size_t>(
        large.size(), static_cast<std::size_t>(rest ? budget - 1 : budget));
    std::vector<QStringList> groups(extra);
    std::vector<quint64> load(extra, 0);
    QStringList excluded;
    if (separate) {
        excluded << firstHeld;
    }
    for (const ZipDirectory::Member& member : large) {
        const std::size_t k = static_cast<std::size_t>(
            std::min_element(load.begin(), load.end()) - load.begin());
        groups[k] << member.name;
        load[k] += member.storedBytes;
        excluded << member.name;
    }
    QList<QProcess*> started;
    if (separate) {
        started << startUnzip(QStringList{QStringLiteral("-o"), QStringLiteral("-q"), source}
                                  + firstHeld + QStringList{QStringLiteral("-d"), target},
                              parent);
        if (firstAlone) {
            *firstAlone = true;
        }
    }
    if (rest) {
        started << startUnzip(QStringList{QStringLiteral("-o"), QStringLiteral("-q"), source,
                                          QStringLiteral("-x")}
                                  + excluded + QStringList{QStringLiteral("-d"), target},
                              parent);
    }
    for (const QStringList& group : groups) {
        started << startUnzip(QStringList{QStringLiteral("-o"), QStringLiteral("-q"), source} + group
                                  + QStringList{QStringLiteral("-d"), target},
                              parent);
    }
    return started;
}

QProcess* ZipSupport::createUnzipArchiveProcess(const QString& archive, const QString& folder,
                                                QObject* parent)
{
    // Absolute paths never start with "-", so neither can be taken for an option. No "-:":
    // unzip then keeps entries named with "../" or "/" inside the folder.
    return startUnzip({QStringLiteral("-o"), QStringLiteral("-q"),
                       QFileInfo(archive).absoluteFilePath(), QStringLiteral("-d"),
                       QFileInfo(folder).absoluteFilePath()},
                      parent);
}

QProcess* ZipSupport::createZipArchiveProcess(const QString& archive, const QString& folder,
                                              const QStringList& members, QObject* parent)
{
    return createZipArchiveProcess(archive, folder, members, QStringList(), parent);
}

QProcess* ZipSupport::createZipArchiveProcess(const QString& archive, const QString& folder,
                                              const QStringList& members,
                                              const QStringList& storedSuffixes, QObject* parent)
{
    auto process = new QProcess(parent);
    process->setWorkingDirectory(QFileInfo(folder).absoluteFilePath());
    QStringList arguments{QStringLiteral("-q")};
    if (!storedSuffixes.isEmpty()) {
        arguments << QStringLiteral("-n") << storedSuffixes.join(QLatin1Char(':'));
    }
    arguments << QFileInfo(archive).absoluteFilePath() << QStringLiteral("-@");
    QByteArray list;
    for (const QString& member : members) {
        // "./-name" is stored as "-name" (and reads as no option where one could be read).
        list += QFile::encodeName(member.startsWith(QLatin1Char('-')) ? QStringLiteral("./") + member
                                                                      : member);
        list += '\n';
    }
    process->start(program(QStringLiteral("zip")), arguments);
    // Written while the program runs (and while the caller waits for it); the end of the
    // list closes its input.
    process->write(list);
    process->closeWriteChannel();
    return process;
}

} // namespace guimisc
