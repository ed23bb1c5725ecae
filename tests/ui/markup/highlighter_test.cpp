// The post's highlighter on a real editor: colours, code, underlines, and
// colouring in slices that changes nothing but colours.

#include "commands/markupcommands.h"
#include "settings/editorformat.h"
#include "shell/livecheck.h"
#include "shell/mainform.h"
#include "shell/markuphighlighter.h"
#include "shell/typer.h"
#include "support/scripted.h"

#include <gtest/gtest.h>

#include <QAction>
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

// Colouring and underlining on, as a writer first finds them.
void defaultDisplay()
{
    editorformat::writeStoredFlag(editorformat::colourTagsKey, true);
    editorformat::writeStoredFlag(editorformat::underlineProblemsKey, true);
}

bool settle(test::Window &w)
{
    MarkupCommands &m = markup(w);
    return QTest::qWaitFor([&] { return m.highlighter().isSettled() && m.liveCheck().isCurrent(); },
                           30000);
}

TEST(HighlighterTest, ColouringInSlicesChangesNothingButColours)
{
    defaultDisplay();
    test::Window w;
    Typer *typer = w.form->typer();
    QString post;
    for (int i = 0; i < 3000; ++i)
        post += QStringLiteral("[B]line[/B] %1\r\n").arg(i);
    typer->setText(post);
    ASSERT_TRUE(settle(w));
    QSignalSpy changed(typer, &Typer::changed);
    QSignalSpy contents(typer->document(), &QTextDocument::contentsChanged);
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
}

// A later source of underlines (the spell checker) adds its own through the
// one highlighter, with its messages as tooltips.
class EveryXUnderlined : public MarkupHighlighter::UnderlineSource
{
public:
    void underlines(const QTextBlock &, const QString &text,
                    std::vector<MarkupHighlighter::Underline> &out) const override
    {
        for (qsizetype i = text.indexOf(u'x'); i >= 0; i = text.indexOf(u'x', i + 1))
            out.push_back({int(i), 1, Qt::blue, QStringLiteral("an x")});
    }
};

QTextCharFormat formatAt(const QTextBlock &block, int offset)
{
    QTextCharFormat merged;
    for (const QTextLayout::FormatRange &range : block.layout()->formats()) {
        if (offset >= range.start && offset < range.start + range.length)
            merged.merge(range.format);
    }
    return merged;
}

TEST(HighlighterTest, ColoursTagsCodeProblemsAndOtherUnderlines)
{
    defaultDisplay();
    test::Window w;
    Typer *typer = w.form->typer();
    MarkupHighlighter &highlighter = markup(w).highlighter();
    EveryXUnderlined source;
    highlighter.addUnderlineSource(&source);
    typer->setText(QStringLiteral("[url=a]x[/URL] [/B]\r\n[CODE]x[B][/CODE]"));
    ASSERT_TRUE(settle(w));
    typer->viewport()->repaint();
    const QTextBlock first = typer->document()->begin();
    EXPECT_EQ(formatAt(first, 1).foreground().color(), MarkupHighlighter::nameColour);
    EXPECT_EQ(formatAt(first, 5).foreground().color(), MarkupHighlighter::valueColour);
    const QTextCharFormat x = formatAt(first, 7);
    EXPECT_EQ(x.underlineStyle(), QTextCharFormat::WaveUnderline);
    EXPECT_EQ(x.underlineColor(), QColor(Qt::blue));
    const QTextCharFormat problem = formatAt(first, 16);
    EXPECT_EQ(problem.underlineStyle(), QTextCharFormat::WaveUnderline);
    EXPECT_EQ(problem.underlineColor(), MarkupHighlighter::problemColour);
    EXPECT_EQ(highlighter.toolTipAt(16), QStringLiteral("[/B] closes nothing"));
    EXPECT_EQ(highlighter.toolTipAt(7), QStringLiteral("an x"));
    const QTextBlock second = first.next();
    EXPECT_EQ(formatAt(second, 8).background().color(), MarkupHighlighter::codeBackground);
    EXPECT_EQ(formatAt(second, 8).foreground().color(), MarkupHighlighter::codeColour);

    // Both off: no colours, no problem underlines; the choice is remembered.
    w.form->command("ColourTags")->trigger();
    w.form->command("UnderlineProblems")->trigger();
    typer->viewport()->repaint();
    EXPECT_FALSE(formatAt(first, 1).hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_NE(formatAt(first, 16).underlineStyle(), QTextCharFormat::WaveUnderline);
    test::Window again;
    EXPECT_FALSE(markup(again).highlighter().colouring());
    EXPECT_FALSE(markup(again).highlighter().underlining());
    EXPECT_FALSE(again.form->command("ColourTags")->isChecked());
    again.form->command("ColourTags")->trigger();
    again.form->command("UnderlineProblems")->trigger();
}

TEST(HighlighterTest, MarksTheTagAtTheCaretWithItsPartner)
{
    defaultDisplay();
    test::Window w;
    Typer *typer = w.form->typer();
    typer->setText(QStringLiteral("[QUOTE]\r\n[B]xyz[/B]\r\n[/QUOTE]"));
    ASSERT_TRUE(settle(w));
    typer->setSelStart(3);
    const auto marks = typer->extraSelections();
    ASSERT_EQ(marks.size(), 2);
    EXPECT_EQ(marks[0].cursor.selectedText(), QStringLiteral("[QUOTE]"));
    EXPECT_EQ(marks[1].cursor.selectedText(), QStringLiteral("[/QUOTE]"));
    typer->setSelStart(13); // the "y"
    EXPECT_TRUE(typer->extraSelections().isEmpty());
}

} // namespace
