#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace quorvane::test {

// A command-line program's run: its exit status (-1 when it did not start,
// crashed or ran over a minute) and what it printed.
struct ToolRun
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Runs `program` in `dir`, with its settings store under `dir` and `input`
// on standard input.
ToolRun runTool(const QString &program, const QStringList &args, const QByteArray &input,
                const QString &dir);

} // namespace quorvane::test
