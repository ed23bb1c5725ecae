#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <functional>

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
// on standard input; `adjust` changes the rest of its environment.
ToolRun runTool(const QString &program, const QStringList &args, const QByteArray &input,
                const QString &dir, const std::function<void(QProcessEnvironment &)> &adjust = {});

} // namespace quorvane::test
