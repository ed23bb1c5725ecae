#include "support/toolrun.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

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

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return QDir().mkpath(QFileInfo(path).absolutePath()) && file.open(QIODevice::WriteOnly) &&
           file.write(bytes) == bytes.size();
}

void expectRun(const ToolRun &run, int exitCode, const QByteArray &out, const QByteArray &errHas)
{
    EXPECT_EQ(run.exitCode, exitCode);
    EXPECT_EQ(run.out.toStdString(), out.toStdString());
    if (errHas.isEmpty())
        EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    else
        EXPECT_TRUE(run.err.contains(errHas)) << run.err.toStdString();
}

} // namespace quorvane::test
