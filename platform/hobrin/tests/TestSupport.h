#pragma once
// Small helpers shared by the hobrin tests.

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <ostream>

// Readable QString values in GoogleTest messages.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace hobrintest {

inline bool writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Runs a program to its end and returns its standard output; `ok` tells whether it ran and
// exited with 0.
inline QByteArray run(const QString& program, const QStringList& arguments, bool* ok = nullptr,
                      const QString& workingDirectory = QString())
{
    QProcess process;
    if (!workingDirectory.isEmpty()) {
        process.setWorkingDirectory(workingDirectory);
    }
    process.start(program, arguments);
    const bool finished = process.waitForFinished(30000);
    if (ok != nullptr) {
        *ok = finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    }
    return process.readAllStandardOutput();
}

} // namespace hobrintest
