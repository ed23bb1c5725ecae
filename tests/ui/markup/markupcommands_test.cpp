// The commands that work on the tags around the caret, each one undoable
// step; the toolbar's tag commands reached from the keyboard write what their
// buttons write; the Problems panel and count.

#include "commands/forumcommands.h"
#include "commands/markupcommands.h"
#include "commands/problemspanel.h"
#include "settings/editorformat.h"
#include "settings/forumchoice.h"
#include "shell/livecheck.h"
#include "shell/mainform.h"
#include "shell/markuphighlighter.h"
#include "shell/typer.h"
#include "support/scripted.h"

#include <gtest/gtest.h>

#include <functional>

#include <QAction>
#include <QListWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QToolButton>

using namespace quorvane;

namespace {

// "|" marks the caret, "{" and "}" a selection.
void placeMarked(Typer *typer, const QString &marked)
{
    QString post = marked;
    const qsizetype caret = post.indexOf(u'|');
    if (caret >= 0) {
        post.remove(caret, 1);
        typer->setText(post);
        typer->setSelStart(caret);
        return;
    }
    const qsizetype from = post.indexOf(u'{');
    post.remove(from, 1);
    const qsizetype to = post.indexOf(u'}');
    post.remove(to, 1);
    typer->setText(post);
    typer->setSelStart(from);
    typer->setSelLength(to - from);
}

QString marked(const Typer *typer)
{
    QString post = typer->text();
    const qsizetype from = typer->selStart();
    const qsizetype length = typer->selLength();
    if (length == 0)
        return post.insert(from, u'|');
    return post.insert(from + length, u'}').insert(from, u'{');
}

struct CommandCase
{
    const char *command;
    const char16_t *before;
    const char16_t *after;
    int times = 1;
};

class TagCommands : public testing::TestWithParam<CommandCase>
{
};

TEST_P(TagCommands, WriteOneUndoableStep)
{
    const CommandCase &c = GetParam();
    test::Window w;
    Typer *typer = w.form->typer();
    placeMarked(typer, QString::fromUtf16(c.before));
    const QString original = typer->text();
    for (int i = 0; i < c.times; ++i)
        w.form->command(c.command)->trigger();
    EXPECT_EQ(marked(typer).toStdString(), QString::fromUtf16(c.after).toStdString());
    if (typer->text() != original) {
        typer->undo();
        EXPECT_EQ(typer->text().toStdString(), original.toStdString());
    }
}

const CommandCase kCommandCases[] = {
    {"CloseOpenTag", u"[QUOTE=Ann][b]x|", u"[QUOTE=Ann][b]x[/b]|"},
    {"CloseOpenTag", u"[QUOTE]\r\n[B]x[/B]\r\n{text}", u"[QUOTE]\r\n[B]x[/B]\r\ntext[/QUOTE]|"},
    {"CloseOpenTag", u"[CODE][B]|", u"[CODE][B][/CODE]|"},
    {"CloseOpenTag", u"[B]x[/B]|", u"[B]x[/B]|"},
    {"RemoveTag", u"[B]a[I]b|c[/I]d[/B]", u"[B]a{bc}d[/B]"},
    {"RemoveTag", u"[QUOTE=Ann]\r\nx|\r\n[/QUOTE] y", u"{\r\nx\r\n} y"},
    {"RemoveTag", u"[B]|x[/B]", u"{x}"},
    {"SelectTagContents", u"[B]a[I]b|c[/I][/B]", u"[B]a[I]{bc}[/I][/B]"},
    {"SelectTagContents", u"[B]a[I]b|c[/I][/B]", u"[B]a{[I]bc[/I]}[/B]", 2},
    {"SelectTagContents", u"[B]a[I]b|c[/I][/B]", u"[B]{a[I]bc[/I]}[/B]", 3},
    {"JumpToPartner", u"[B]|x[/B]", u"[B]x|[/B]"},
    {"JumpToPartner", u"[QUOTE]\r\n[B]x[/B]\r\n|[/QUOTE]", u"|[QUOTE]\r\n[B]x[/B]\r\n[/QUOTE]"},
    {"ListFromLines", u"{one\r\ntwo\r\n\r\nthree}",
     u"[LIST]\r\n[*]one\r\n[*]two\r\n[*]three\r\n[/LIST]|"},
    {"NumberedListFromLines", u"x\r\nf{irst\r\nsecond\r\n}y",
     u"x\r\n[LIST=1]\r\n[*]first\r\n[*]second\r\n[/LIST]|\r\ny"},
    {"NumberedListFromLines", u"on|ly", u"[LIST=1]\r\n[*]only\r\n[/LIST]|"},
};

INSTANTIATE_TEST_SUITE_P(Posts, TagCommands, testing::ValuesIn(kCommandCases));

// The toolbar's tag commands, now also in the Tags menu with shortcuts, write
// exactly what their buttons wrote before.
struct ToolbarCase
{
    const char *command;
    const char *keys;
    const char16_t *after;
};

class ToolbarFromKeyboard : public testing::TestWithParam<ToolbarCase>
{
};

TEST_P(ToolbarFromKeyboard, WritesWhatTheButtonWrites)
{
    const ToolbarCase &c = GetParam();
    test::Window w;
    Typer *typer = w.form->typer();
    for (const bool byKey : {false, true}) {
        SCOPED_TRACE(byKey ? "shortcut" : "button");
        placeMarked(typer, QStringLiteral("a {word} b"));
        typer->setFocus();
        if (byKey) {
            const QKeySequence keys(QString::fromLatin1(c.keys));
            EXPECT_EQ(w.form->command(c.command)->shortcut(), keys);
            QTest::keySequence(w.form.get(), keys);
        } else {
            QTest::mouseClick(w.form->control<QToolButton>(c.command), Qt::LeftButton);
        }
        EXPECT_EQ(typer->text().toStdString(), QString::fromUtf16(c.after).toStdString());
    }
}

const ToolbarCase kToolbarCases[] = {
    {"BoldCommand", "Ctrl+Shift+B", u"a [B]word[/B] b"},
    {"ItalicCommand", "Ctrl+Shift+I", u"a [I]word[/I] b"},
    {"UnderlineCommand", "Ctrl+U", u"a [U]word[/U] b"},
    {"HighlightCommand", "Ctrl+H", u"a [HIGHLIGHT]word[/HIGHLIGHT] b"},
    {"LeftCommand", "Ctrl+Shift+L", u"a [LEFT]word[/LEFT] b"},
    {"CenterCommand", "Ctrl+Shift+E", u"a [CENTER]word[/CENTER] b"},
    {"RightCommand", "Ctrl+Shift+R", u"a [RIGHT]word[/RIGHT] b"},
    {"IncreaseIndentClick", "Ctrl+]", u"a [INDENT]word[/INDENT] b"},
    {"QUOTECommand", "Ctrl+Shift+Q", u"a [QUOTE]word[/QUOTE] b"},
    {"CodeCommand", "Ctrl+Shift+C", u"a [CODE]word[/CODE] b"},
    {"HTMLCommand", "Ctrl+Shift+H", u"a [HTML]word[/HTML] b"},
    {"PHPCommand", "Ctrl+Shift+P", u"a [PHP]word[/PHP] b"},
    {"ImageCommand", "Ctrl+G", u"a [IMG]word[/IMG] b"},
};

INSTANTIATE_TEST_SUITE_P(Commands, ToolbarFromKeyboard, testing::ValuesIn(kToolbarCases));

TEST(ProblemsPanelTest, ListsProblemsCountsThemAndSelectsTheSpot)
{
    test::Window w;
    Typer *typer = w.form->typer();
    auto &markup = *w.form->findChild<MarkupCommands *>();
    typer->setText(QStringLiteral("fine\r\n\tx[/B] [SIZE=9]y[/SIZE]\r\n[QUOTE]"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return markup.liveCheck().isCurrent(); }, 30000));
    auto *count = w.form->control<QToolButton>("ProblemCount");
    ASSERT_NE(count, nullptr);
    EXPECT_TRUE(count->isVisible());
    EXPECT_EQ(count->text(), QStringLiteral("3 problems"));

    QTest::keyClick(w.form.get(), Qt::Key_F8);
    auto *list = w.form->findChild<QListWidget *>(QStringLiteral("ProblemsList"));
    ASSERT_NE(list, nullptr);
    ASSERT_TRUE(list->isVisible());
    QStringList rows;
    for (int i = 0; i < list->count(); ++i)
        rows << list->item(i)->text();
    EXPECT_EQ(rows, (QStringList{"Line 2, column 3: [/B] closes nothing",
                                 "Line 2, column 8: [SIZE=9]: sizes run from 1 to 7",
                                 "Line 3, column 1: [QUOTE] is never closed"}));
    emit list->itemActivated(list->item(1));
    EXPECT_EQ(typer->selText(), QStringLiteral("[SIZE=9]"));
    EXPECT_TRUE(typer->hasFocus());
    EXPECT_EQ(markup.highlighter().toolTipAt(typer->textCursor().selectionStart()),
              QStringLiteral("[SIZE=9]: sizes run from 1 to 7"));

    // Fixed, the count says so.
    typer->setText(QStringLiteral("[B]x[/B]"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return markup.liveCheck().isCurrent(); }, 30000));
    EXPECT_EQ(count->text(), QStringLiteral("No problems"));
    QTest::keyClick(w.form.get(), Qt::Key_F8);
    EXPECT_FALSE(list->isVisible());
}

// The chosen forum's warnings are listed after the errors and underlined in
// their own colour; choosing another forum checks again.
TEST(ProblemsPanelTest, ListsTheForumsWarningsAfterTheErrors)
{
    forumchoice::forget();
    editorformat::writeStoredFlag(editorformat::underlineProblemsKey, true);
    test::Window w;
    Typer *typer = w.form->typer();
    auto &markup = *w.form->findChild<MarkupCommands *>();
    auto &forum = *w.form->findChild<ForumCommands *>();
    auto *list = w.form->findChild<QListWidget *>(QStringLiteral("ProblemsList"));
    auto rows = [list] {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i)
            texts << list->item(i)->text();
        return texts;
    };
    typer->setText(QStringLiteral("[size=5]y[/size]\r\n[QUOTE]"));
    w.form->command("ProblemsPanel")->setChecked(true);
    const QString error = QStringLiteral("Line 2, column 1: [QUOTE] is never closed");
    ASSERT_TRUE(QTest::qWaitFor([&] { return rows() == QStringList{error}; }, 30000));

    forum.choose(Forum::PhpBB);
    const QStringList withWarning{
        error, QStringLiteral("Line 1, column 1: [size=5] is 5 % on phpBB 3.3, nearly invisible")};
    ASSERT_TRUE(QTest::qWaitFor([&] { return rows() == withWarning; }, 30000))
        << rows().join(u'\n').toStdString();
    EXPECT_EQ(markup.highlighter().toolTipAt(1), withWarning[1].mid(18));
    typer->viewport()->repaint();
    QColor underline;
    for (const QTextLayout::FormatRange &range : typer->document()->begin().layout()->formats()) {
        if (range.start <= 1 && 1 < range.start + range.length &&
            range.format.underlineStyle() == QTextCharFormat::WaveUnderline)
            underline = range.format.underlineColor();
    }
    EXPECT_EQ(underline, MarkupHighlighter::warningColour);

    forum.choose(Forum::Generic);
    EXPECT_TRUE(QTest::qWaitFor([&] { return rows() == QStringList{error}; }, 30000));
    w.form->command("ProblemsPanel")->setChecked(false);
    forumchoice::forget();
}

struct Opening
{
    const char *name;
    std::function<void(test::Window &)> open;
};

// However the list is shown it takes the keyboard, so Down and Return choose a
// problem; a check after an edit keeps the chosen row; Esc gives the keyboard
// back to the editor.
TEST(ProblemsPanelTest, ShowingTheListGivesItTheKeyboard)
{
    const Opening openings[] = {
        {"F8", [](test::Window &w) { QTest::keyClick(w.form->windowHandle(), Qt::Key_F8); }},
        {"a click on the count",
         [](test::Window &w) {
             QTest::mouseClick(w.form->control<QToolButton>("ProblemCount"), Qt::LeftButton);
         }},
    };
    test::Window w;
    w.form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.form.get()));
    Typer *typer = w.form->typer();
    auto &markup = *w.form->findChild<MarkupCommands *>();
    auto *list = w.form->findChild<QListWidget *>(QStringLiteral("ProblemsList"));
    for (const Opening &o : openings) {
        SCOPED_TRACE(o.name);
        typer->setText(QStringLiteral("x[/B] [SIZE=9]y[/SIZE]\r\n[QUOTE]"));
        ASSERT_TRUE(QTest::qWaitFor([&] { return markup.liveCheck().isCurrent(); }, 30000));
        typer->setFocus();
        o.open(w);
        ASSERT_TRUE(list->isVisible());
        EXPECT_TRUE(list->hasFocus());
        EXPECT_EQ(list->currentRow(), 0);
        QTest::keyClick(w.form->windowHandle(), Qt::Key_Down);
        EXPECT_EQ(list->currentRow(), 1);

        // An edit elsewhere is checked again; the row stays chosen.
        typer->setSelStart(typer->length());
        typer->setSelText(QStringLiteral(" more"));
        ASSERT_TRUE(QTest::qWaitFor([&] { return markup.liveCheck().isCurrent(); }, 30000));
        EXPECT_EQ(list->count(), 3);
        EXPECT_EQ(list->currentRow(), 1);
        EXPECT_TRUE(list->hasFocus());

        QTest::keyClick(w.form->windowHandle(), Qt::Key_Escape);
        EXPECT_TRUE(typer->hasFocus());
        EXPECT_TRUE(list->isVisible());
        // Shown afresh, the list starts at the first problem; Return takes
        // the writer there.
        w.form->command("ProblemsPanel")->toggle();
        w.form->command("ProblemsPanel")->toggle();
        EXPECT_TRUE(list->hasFocus());
        QTest::keyClick(w.form->windowHandle(), Qt::Key_Return);
        EXPECT_TRUE(typer->hasFocus());
        EXPECT_EQ(typer->selText(), QStringLiteral("[/B]"));
        w.form->command("ProblemsPanel")->setChecked(false);
        EXPECT_FALSE(list->isVisible());
    }
}

TEST(ForumTagsTest, AreKeptAndNoLongerFlagged)
{
    editorformat::writeStored(editorformat::forumTagsKey, QString());
    test::Window w;
    auto &markup = *w.form->findChild<MarkupCommands *>();
    w.form->typer()->setText(QStringLiteral("[abbr]x[/abbr]"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return markup.liveCheck().isCurrent(); }, 30000));
    EXPECT_EQ(markup.liveCheck().latest()->analysis.problems.size(), 2u);
    w.dialogs.promptAnswers.push_back(QStringLiteral("abbr  spoiler2"));
    w.form->command("ForumTags")->trigger();
    EXPECT_EQ(editorformat::forumTagNames(), (QStringList{"ABBR", "SPOILER2"}));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return markup.liveCheck().isCurrent() &&
                   markup.liveCheck().latest()->analysis.problems.empty();
        },
        30000));
    editorformat::writeStored(editorformat::forumTagsKey, QString());
}

} // namespace
