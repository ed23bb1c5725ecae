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

// Writes `bytes` to `path` (its folder made first); false when it cannot.
bool writeFile(const QString &path, const QByteArray &bytes);

// The run ended with `exitCode` and printed `out`; standard error holds
// `errHas`, or nothing when that is empty.
void expectRun(const ToolRun &run, int exitCode, const QByteArray &out, const QByteArray &errHas);

} // namespace quorvane::test
