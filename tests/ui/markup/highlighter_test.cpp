// The post's highlighter on a real editor: colours, code, underlines, and
// colouring in slices that changes nothing but colours.

#include "commands/markupcommands.h"
#include "shell/livecheck.h"
#include "shell/mainform.h"
#include "shell/markuphighlighter.h"
#include "shell/typer.h"
#include "support/scripted.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

using namespace quorvane;

namespace {

MarkupCommands &markup(test::Window &w)
{
    return *w.form->findChild<MarkupCommands *>();
}

bool settle(test::Window &w)
{
    MarkupCommands &m = markup(w);
    return QTest::qWaitFor([&] { return m.highlighter().isSettled() && m.liveCheck().isCurrent(); },
                           30000);
}

TEST(HighlighterTest, ColouringInSlicesChangesNothingButColours)
{
    test::Window w;
    Typer *typer = w.form->typer();
    QString post;
    for (int i = 0; i < 3000; ++i)
        post += QStringLiteral("[B]line[/B] %1\r\n").arg(i);
    typer->setText(post);
    ASSERT_TRUE(settle(w));
    QSignalSpy changed(typer, &Typer::changed);
    QSignalSpy contents(typer->document(), &QTextDocument::contentsChanged);
    QSignalSpy undo(typer->document(), &QTextDocument::undoAvailable);
    const bool modified = typer->document()->isModified();
    typer->setSelStart(0);
    typer->setSelText(QStringLiteral("[CODE]"));
    changed.clear();
    contents.clear();
    ASSERT_TRUE(settle(w));
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(contents.count(), 0);
    // Blocks are coloured as they come on screen.
    typer->moveCursor(QTextCursor::End);
    typer->ensureCursorVisible();
    typer->viewport()->repaint();
    const QTextBlock last = typer->document()->lastBlock().previous();
    const auto formats = last.layout()->formats();
    ASSERT_FALSE(formats.isEmpty());
    EXPECT_EQ(formats.front().format.foreground().color(), MarkupHighlighter::codeColour);
    (void)modified;
}

} // namespace
