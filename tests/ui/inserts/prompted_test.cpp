#include "inserts.h"

#include <QAction>
#include <gtest/gtest.h>

namespace quorvane::test {
namespace {

class PromptedInserts : public ::testing::Test
{
protected:
    Window w;
    Typer *typer = w.form->typer();

    void run(const char *command) { w.form->command(command)->trigger(); }
    void answer(const QString &text) { w.dialogs.promptAnswers.push_back(text); }
};

TEST_F(PromptedInserts, LinkWithNothingSelectedUsesTheAddressAsItsText)
{
    putPost(typer, QStringLiteral("Go: "), 4);
    answer(QStringLiteral("http://"));
    run("WebLink");

    ASSERT_EQ(w.dialogs.prompts.size(), 1);
    EXPECT_EQ(w.dialogs.prompts[0].message, QStringLiteral("Please enter the URL of your link:"));
    EXPECT_EQ(w.dialogs.prompts[0].title, QStringLiteral("Insert Link"));
    EXPECT_EQ(w.dialogs.prompts[0].defaultText, QStringLiteral("http://"));
    EXPECT_EQ(typer->text(), QStringLiteral("Go: [URL=http://]http://[/URL]"));
    EXPECT_EQ(typer->selStart(), typer->length());
    EXPECT_EQ(typer->selLength(), 0);
}

TEST_F(PromptedInserts, LinkWrapsTheSelectedWord)
{
    putPost(typer, QStringLiteral("see here now"), 4, 4);
    answer(QStringLiteral("http://example.org/a b"));
    run("WebLink");

    EXPECT_EQ(typer->text(), QStringLiteral("see [URL=http://example.org/a b]here[/URL] now"));
    EXPECT_EQ(typer->selStart(), typer->length() - 4);
    EXPECT_EQ(typer->selLength(), 0);
}

TEST_F(PromptedInserts, EmailWithNothingSelectedStandsTwice)
{
    putPost(typer, QString());
    answer(QStringLiteral("me@example.org"));
    run("EMAILCommand");

    ASSERT_EQ(w.dialogs.prompts.size(), 1);
    EXPECT_EQ(w.dialogs.prompts[0].message,
              QStringLiteral("Please enter the email address for the link:"));
    EXPECT_EQ(w.dialogs.prompts[0].title, QStringLiteral("Insert Email Link"));
    EXPECT_TRUE(w.dialogs.prompts[0].defaultText.isEmpty());
    EXPECT_EQ(typer->text(), QStringLiteral("[EMAIL=me@example.org]me@example.org[/EMAIL]"));
}

TEST_F(PromptedInserts, EmailWrapsTheSelection)
{
    putPost(typer, QStringLiteral("write to Ann today"), 9, 3);
    answer(QStringLiteral("ann@example.org"));
    run("EMAILCommand");
    EXPECT_EQ(typer->text(), QStringLiteral("write to [EMAIL=ann@example.org]Ann[/EMAIL] today"));
}

TEST_F(PromptedInserts, CancelledLinksLeaveThePostAndSelection)
{
    for (const char *command : {"WebLink", "EMAILCommand"}) {
        SCOPED_TRACE(command);
        putPost(typer, QStringLiteral("keep this"), 5, 4);
        const int steps = undoSteps(typer);
        answer(QString());
        run(command);
        EXPECT_EQ(typer->text(), QStringLiteral("keep this"));
        EXPECT_EQ(typer->selStart(), 5);
        EXPECT_EQ(typer->selLength(), 4);
        EXPECT_EQ(undoSteps(typer), steps);
    }
}

TEST_F(PromptedInserts, ImageTakesTheSelectionWithoutAsking)
{
    putPost(typer, QStringLiteral("pic: http://x/y.png!"), 5, 14);
    run("ImageCommand");
    EXPECT_TRUE(w.dialogs.prompts.isEmpty());
    EXPECT_EQ(typer->text(), QStringLiteral("pic: [IMG]http://x/y.png[/IMG]!"));
    EXPECT_EQ(typer->selStart(), typer->length() - 1);
}

TEST_F(PromptedInserts, ImageAsksWhenNothingIsSelected)
{
    putPost(typer, QStringLiteral("ab"), 1);
    answer(QStringLiteral("http://x/y.gif"));
    run("ImageCommand");
    ASSERT_EQ(w.dialogs.prompts.size(), 1);
    EXPECT_EQ(w.dialogs.prompts[0].message, QStringLiteral("Please enter the URL of your image:"));
    EXPECT_EQ(w.dialogs.prompts[0].title, QStringLiteral("Insert Image"));
    EXPECT_TRUE(w.dialogs.prompts[0].defaultText.isEmpty());
    EXPECT_EQ(typer->text(), QStringLiteral("a[IMG]http://x/y.gif[/IMG]b"));

    // Cancelled: nothing changes.
    putPost(typer, QStringLiteral("ab"), 1);
    answer(QString());
    run("ImageCommand");
    EXPECT_EQ(typer->text(), QStringLiteral("ab"));
    EXPECT_EQ(typer->selStart(), 1);
}

TEST_F(PromptedInserts, AnswersOfSpacesAreInsertedAsTyped)
{
    putPost(typer, QString());
    answer(QStringLiteral("   "));
    run("WebLink");
    EXPECT_EQ(typer->text(), QStringLiteral("[URL=   ]   [/URL]"));

    putPost(typer, QString());
    answer(QStringLiteral(" "));
    run("EMAILCommand");
    EXPECT_EQ(typer->text(), QStringLiteral("[EMAIL= ] [/EMAIL]"));

    putPost(typer, QString());
    answer(QStringLiteral("  "));
    run("ImageCommand");
    EXPECT_EQ(typer->text(), QStringLiteral("[IMG]  [/IMG]"));
}

TEST_F(PromptedInserts, EachInsertIsOneUndoStep)
{
    for (const char *command : {"WebLink", "EMAILCommand", "ImageCommand"}) {
        SCOPED_TRACE(command);
        putPost(typer, QStringLiteral("one two"), 4, 3);
        answer(QStringLiteral("addr"));
        if (QLatin1String(command) == QLatin1String("ImageCommand"))
            w.dialogs.promptAnswers.clear();
        run(command);
        EXPECT_NE(typer->text(), QStringLiteral("one two"));
        expectOneUndoStep(typer, QStringLiteral("one two"));
    }
    EXPECT_TRUE(w.dialogs.allAnswered());
}

} // namespace
} // namespace quorvane::test
