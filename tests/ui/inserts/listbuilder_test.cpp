#include "inserts.h"

#include "commands/installcommands.h"

#include <QAction>
#include <functional>
#include <gtest/gtest.h>
#include <utility>

namespace quorvane::test {
namespace {

const QString kMessage =
    QStringLiteral("Enter a list item.\nLeave the box empty or press cancel to complete the list:");

class ListBuilder : public ::testing::Test
{
protected:
    Window w;
    Typer *typer = w.form->typer();

    void build(const char *command, std::initializer_list<const char *> answers)
    {
        for (const char *answer : answers)
            w.dialogs.promptAnswers.push_back(QString::fromUtf8(answer));
        w.form->command(command)->trigger();
        EXPECT_TRUE(w.dialogs.allAnswered());
    }
};

TEST_F(ListBuilder, UnorderedListOfThreeItemsInTheOrderEntered)
{
    putPost(typer, QStringLiteral("Before"), 6);
    build("UnorderedListCommand", {"x", "y", "z", ""});

    EXPECT_EQ(typer->text(), QStringLiteral("Before[LIST]\r\n[*]x\r\n[*]y\r\n[*]z\r\n[/LIST]"));
    EXPECT_EQ(typer->selStart(), typer->length());
    ASSERT_EQ(w.dialogs.prompts.size(), 4);
    for (const auto &prompt : w.dialogs.prompts) {
        EXPECT_EQ(prompt.message, kMessage);
        EXPECT_EQ(prompt.title, QStringLiteral("Unordered List"));
        EXPECT_TRUE(prompt.defaultText.isEmpty());
    }
}

TEST_F(ListBuilder, CancelledAtOnceGivesAnEmptyList)
{
    putPost(typer, QString());
    build("OrderedListCommand", {""});
    EXPECT_EQ(typer->text(), QStringLiteral("[LIST=1]\r\n[/LIST]"));
    ASSERT_EQ(w.dialogs.prompts.size(), 1);
    EXPECT_EQ(w.dialogs.prompts[0].title, QStringLiteral("Ordered List"));
}

TEST_F(ListBuilder, OpeningTagReplacesTheSelection)
{
    putPost(typer, QStringLiteral("a word b"), 2, 4);
    build("OrderedListCommand", {"one", ""});
    EXPECT_EQ(typer->text(), QStringLiteral("a [LIST=1]\r\n[*]one\r\n[/LIST] b"));
}

TEST_F(ListBuilder, ItemsAreWrittenAsTyped)
{
    putPost(typer, QString());
    build("OrderedListCommand", {"   ", "[/LIST]", " [*]b ", ""});
    EXPECT_EQ(typer->text(),
              QStringLiteral("[LIST=1]\r\n[*]   \r\n[*][/LIST]\r\n[*] [*]b \r\n[/LIST]"));
    EXPECT_EQ(w.dialogs.prompts.size(), 4);
}

// Sees the post while each prompt is open, and presses the list buttons from
// inside it, as an event arriving during the prompt's own event loop would.
class Reentrant : public ScriptedDialogs
{
public:
    std::function<void()> duringPrompt;
    QStringList postsSeen;
    int depth = 0;
    int deepest = 0;
    Typer *typer = nullptr;

    QString prompt(QWidget *parent, const QString &message, const QString &title,
                   const QString &defaultText) override
    {
        ++depth;
        deepest = std::max(deepest, depth);
        postsSeen.append(typer->text());
        if (duringPrompt)
            duringPrompt();
        QString answer = ScriptedDialogs::prompt(parent, message, title, defaultText);
        --depth;
        return answer;
    }
};

struct ReentrantWindow
{
    Reentrant dialogs;
    RecordingLauncher launcher;
    MainForm form{dialogs, launcher};
    ReentrantWindow() { installCommands(form); }
};

TEST(ListBuilderAlone, OnePromptAtATimeAndNoSecondList)
{
    ReentrantWindow rw;
    rw.form.show();
    rw.dialogs.typer = rw.form.typer();
    bool pressed = false;
    rw.dialogs.duringPrompt = [&] {
        if (std::exchange(pressed, true))
            return;
        rw.form.command("OrderedListCommand")->trigger();
        rw.form.command("UnorderedListCommand")->trigger();
    };
    for (const char *answer : {"a", "b", ""})
        rw.dialogs.promptAnswers.push_back(QString::fromLatin1(answer));
    rw.form.command("OrderedListCommand")->trigger();

    EXPECT_EQ(rw.dialogs.deepest, 1);
    EXPECT_EQ(rw.dialogs.prompts.size(), 3);
    EXPECT_EQ(rw.form.typer()->text(), QStringLiteral("[LIST=1]\r\n[*]a\r\n[*]b\r\n[/LIST]"));
    // Each answer is in the post before the next question.
    EXPECT_EQ(rw.dialogs.postsSeen,
              QStringList({QStringLiteral("[LIST=1]"), QStringLiteral("[LIST=1]\r\n[*]a"),
                           QStringLiteral("[LIST=1]\r\n[*]a\r\n[*]b")}));

    // Once the list is closed the next one starts normally.
    rw.dialogs.duringPrompt = nullptr;
    rw.dialogs.promptAnswers.push_back(QString());
    rw.form.command("UnorderedListCommand")->trigger();
    EXPECT_TRUE(rw.form.typer()->text().endsWith(QStringLiteral("[/LIST][LIST]\r\n[/LIST]")));
    EXPECT_TRUE(rw.dialogs.allAnswered());
}

TEST_F(ListBuilder, UndoTakesBackOneWriteAtATime)
{
    putPost(typer, QStringLiteral("p"), 1);
    build("UnorderedListCommand", {"i", ""});
    typer->undo();
    EXPECT_EQ(typer->text(), QStringLiteral("p[LIST]\r\n[*]i"));
    typer->undo();
    EXPECT_EQ(typer->text(), QStringLiteral("p[LIST]"));
    typer->undo();
    EXPECT_EQ(typer->text(), QStringLiteral("p"));
}

} // namespace
} // namespace quorvane::test
