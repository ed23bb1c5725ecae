#include "support/toolrun.h"

#include <QProcess>

namespace quorvane::test {

ToolRun runTool(const QString &program, const QStringList &args, const QByteArray &input,
                const QString &dir, const std::function<void(QProcessEnvironment &)> &adjust)
{
    QProcess p;
    p.setWorkingDirectory(dir);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir);
    if (adjust)
        adjust(env);
    p.setProcessEnvironment(env);
    p.start(program, args);
    ToolRun run;
    if (!p.waitForStarted(30000))
        return run;
    p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        return run;
    }
    run.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    run.out = p.readAllStandardOutput();
    run.err = p.readAllStandardError();
    return run;
}

} // namespace quorvane::test
