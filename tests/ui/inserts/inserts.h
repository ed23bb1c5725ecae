#pragma once

#include "shell/mainform.h"
#include "shell/typer.h"
#include "support/scripted.h"

#include <QTextDocument>
#include <gtest/gtest.h>

namespace quorvane::test {

// A shown window whose post holds text with [start, start + length) selected.
inline void putPost(Typer *typer, const QString &text, qsizetype start = 0, qsizetype length = 0)
{
    typer->setText(text);
    typer->setSelStart(start);
    typer->setSelLength(length);
}

// Grows with every change; unchanged when a command wrote nothing.
inline int undoSteps(Typer *typer)
{
    return typer->document()->availableUndoSteps();
}

// One undo takes the post back to before and one redo forward again: the
// command was a single step, not merged with the write before it.
inline void expectOneUndoStep(Typer *typer, const QString &before)
{
    const QString after = typer->text();
    typer->undo();
    EXPECT_EQ(typer->text(), before);
    typer->redo();
    EXPECT_EQ(typer->text(), after);
}

} // namespace quorvane::test
