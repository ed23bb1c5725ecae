#include "commands/editcommands.h"
#include "shell/mainform.h"
#include "shell/typer.h"
#include "support/scripted.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>
#include <QTextDocument>
#include <gtest/gtest.h>

using namespace quorvane;
using namespace quorvane::test;

namespace {

class EditCommandsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        clipboard()->clear();
        w.form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w.form.get()));
    }
    void TearDown() override { clipboard()->clear(); }

    static QClipboard *clipboard() { return QGuiApplication::clipboard(); }
    Typer *typer() { return w.form->typer(); }
    QAction *command(const char *name) { return w.form->command(name); }
    EditCommands *commands() { return w.form->findChild<EditCommands *>(); }
    void select(qsizetype start, qsizetype length)
    {
        typer()->setSelStart(start);
        typer()->setSelLength(length);
    }

    Window w;
};

TEST_F(EditCommandsTest, CutMovesTheSelectionToTheClipboard)
{
    typer()->setText(QStringLiteral("xabcx"));
    select(1, 3);
    command("Cut")->trigger();
    EXPECT_EQ(typer()->text(), QStringLiteral("xx"));
    EXPECT_EQ(clipboard()->text(), QStringLiteral("abc"));
    EXPECT_EQ(typer()->selStart(), 1);
    EXPECT_EQ(typer()->selLength(), 0);
}

TEST_F(EditCommandsTest, CopyLeavesThePostAndKeepsOnlyTheLastText)
{
    typer()->setText(QStringLiteral("one two"));
    select(0, 3);
    command("Copy")->trigger();
    EXPECT_EQ(clipboard()->text(), QStringLiteral("one"));
    select(4, 3);
    command("Copy")->trigger();
    EXPECT_EQ(clipboard()->text(), QStringLiteral("two"));
    EXPECT_EQ(typer()->text(), QStringLiteral("one two"));
    EXPECT_EQ(typer()->selStart(), 4);
    EXPECT_EQ(typer()->selLength(), 3);
}

TEST_F(EditCommandsTest, CopyPutsOnlyTextOnTheClipboardWithTheDesktopsLineBreaks)
{
    auto *rich = new QMimeData;
    rich->setHtml(QStringLiteral("<b>old</b>"));
    rich->setText(QStringLiteral("old"));
    clipboard()->setMimeData(rich);

    typer()->setText(QStringLiteral("first\r\nsecond"));
    select(0, typer()->length());
    command("Copy")->trigger();
    EXPECT_EQ(clipboard()->text(), QStringLiteral("first\nsecond"));
    EXPECT_FALSE(clipboard()->mimeData()->hasHtml());
}

TEST_F(EditCommandsTest, PasteReplacesTheSelectionAsOneStepWithBreaksNormalised)
{
    typer()->setText(QStringLiteral("[X]"));
    select(1, 1);
    clipboard()->setText(QStringLiteral("a\rb\nc\r\nd"));
    command("Paste")->trigger();
    EXPECT_EQ(typer()->text(), QStringLiteral("[a\r\nb\r\nc\r\nd]"));
    EXPECT_EQ(typer()->selStart(), 11);
    // The clipboard keeps its text.
    EXPECT_EQ(clipboard()->text(), QStringLiteral("a\rb\nc\r\nd"));
    typer()->undo();
    EXPECT_EQ(typer()->text(), QStringLiteral("[X]"));
}

TEST_F(EditCommandsTest, PasteAtTheCaretAndWithAnEmptyClipboard)
{
    typer()->setText(QStringLiteral("ac"));
    typer()->setSelStart(1);
    clipboard()->setText(QStringLiteral("b"));
    command("Paste")->trigger();
    EXPECT_EQ(typer()->text(), QStringLiteral("abc"));

    clipboard()->clear();
    select(0, 3);
    commands()->paste();
    EXPECT_EQ(typer()->text(), QStringLiteral("abc"));
    EXPECT_EQ(typer()->selLength(), 3);
}

TEST_F(EditCommandsTest, DeleteRemovesTheSelectionAndLeavesTheClipboard)
{
    clipboard()->setText(QStringLiteral("kept"));
    typer()->setText(QStringLiteral("a\r\nbc"));
    select(1, 3);
    command("Delete")->trigger();
    EXPECT_EQ(typer()->text(), QStringLiteral("ac"));
    EXPECT_EQ(clipboard()->text(), QStringLiteral("kept"));
}

TEST_F(EditCommandsTest, SelectAllSelectsTheWholePostWithoutMovingTheFocus)
{
    typer()->setText(QStringLiteral("0123456789"));
    typer()->setSelStart(4);
    QLineEdit *lettersNo = w.form->control<QLineEdit>("LettersNo");
    lettersNo->setFocus();
    ASSERT_TRUE(lettersNo->hasFocus());
    command("SelectAll")->trigger();
    EXPECT_EQ(typer()->selStart(), 0);
    EXPECT_EQ(typer()->selLength(), 10);
    EXPECT_TRUE(lettersNo->hasFocus());

    typer()->setText(QStringLiteral("ab\r\n\r\ncd"));
    command("SelectAll")->trigger();
    EXPECT_EQ(typer()->selLength(), 8);
    EXPECT_EQ(typer()->selText(), QStringLiteral("ab\r\n\r\ncd"));
}

TEST_F(EditCommandsTest, ClearEmptiesTheClipboard)
{
    clipboard()->setText(QStringLiteral("something"));
    command("ClearClipboard")->trigger();
    EXPECT_TRUE(clipboard()->text().isEmpty());
}

TEST_F(EditCommandsTest, CtrlZReachesTheEditorsOwnUndoAndTheUndoItemStaysHidden)
{
    EXPECT_FALSE(command("Undo")->isVisible());
    EXPECT_FALSE(command("Linee")->isVisible());
    typer()->setFocus();
    QTest::keyClicks(typer(), QStringLiteral("typed"));
    ASSERT_EQ(typer()->text(), QStringLiteral("typed"));
    QTest::keyClick(w.form->windowHandle(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(typer()->text(), QString());
}

TEST_F(EditCommandsTest, CharacterMapStartsTheFirstInstalledProgramDetached)
{
    w.launcher.installedPrograms = {QStringLiteral("kcharselect"), QStringLiteral("gucharmap")};
    command("CharMap")->trigger();
    ASSERT_EQ(w.launcher.started.size(), 1);
    EXPECT_EQ(w.launcher.started.front(), QStringList{QStringLiteral("/usr/bin/gucharmap")});

    w.launcher.installedPrograms = {QStringLiteral("kcharselect"),
                                    QStringLiteral("gnome-characters")};
    command("CharMap")->trigger();
    ASSERT_EQ(w.launcher.started.size(), 2);
    EXPECT_EQ(w.launcher.started.back(), QStringList{QStringLiteral("/usr/bin/gnome-characters")});
    EXPECT_TRUE(w.dialogs.messages.isEmpty());
}

TEST_F(EditCommandsTest, CharacterMapSaysSoWhenNoneIsInstalled)
{
    command("CharMap")->trigger();
    EXPECT_TRUE(w.launcher.started.isEmpty());
    ASSERT_EQ(w.dialogs.messages.size(), 1);
    const auto &message = w.dialogs.messages.front();
    EXPECT_EQ(message.title, QStringLiteral("Quorvane"));
    EXPECT_TRUE(message.text.contains(QLatin1String("No character map program is installed")));
    EXPECT_EQ(message.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

} // namespace
