#include "PythonScript.h"

#include <QProcess>

namespace varnel::test {

ScriptRun runPython(const QString& script, const QStringList& arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral("python3"), QStringList{script} + arguments);
    ScriptRun run;
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit) {
        run.output = QStringLiteral("the script did not finish: ") + process.errorString();
        return run;
    }
    run.exitCode = process.exitCode();
    run.output = QString::fromUtf8(process.readAll()).trimmed();
    return run;
}

} // namespace varnel::test
