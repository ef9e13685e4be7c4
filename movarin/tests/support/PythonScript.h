#pragma once

// The Python scripts beside the tests (the checkers and oracles of a folder), run with
// python3.

#include <QString>
#include <QStringList>

namespace varnel::test {

/// What a script printed (output and errors together) and its exit code; -1 when it did not
/// run to its end.
struct ScriptRun {
    int exitCode = -1;
    QString output;

    /// Exit code 0 and "OK" as the last line, as the checkers end when all is well.
    bool passed() const { return exitCode == 0 && output.endsWith(QLatin1String("OK")); }
};

/// Runs `python3 script arguments...` (the script's path absolute) and waits up to two
/// minutes for it.
ScriptRun runPython(const QString& script, const QStringList& arguments);

} // namespace varnel::test
