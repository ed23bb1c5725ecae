// The editing surface: its positions, writes, undo and change step, as every
// command sees them.
#include "shell/typer.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using quorvane::Typer;

namespace {

void select(Typer &typer, qsizetype start, qsizetype length)
{
    typer.setSelStart(start);
    typer.setSelLength(length);
}

TEST(TyperWrites, SelTextInsertsAtCaretAndMovesCaretAfterIt)
{
    Typer typer;
    typer.setText(QStringLiteral("0123456789"));
    typer.setSelStart(5);
    typer.setSelText(QStringLiteral("abcdefg"));
    EXPECT_EQ(typer.text(), QStringLiteral("01234abcdefg56789"));
    EXPECT_EQ(typer.length(), 17);
    EXPECT_EQ(typer.selStart(), 12);
    EXPECT_EQ(typer.selLength(), 0);
}

TEST(TyperWrites, EmptySelTextDeletesTheSelection)
{
    Typer typer;
    typer.setText(QStringLiteral("0123456789"));
    select(typer, 5, 5);
    EXPECT_EQ(typer.selText(), QStringLiteral("56789"));
    typer.setSelText(QString());
    EXPECT_EQ(typer.text(), QStringLiteral("01234"));
    EXPECT_EQ(typer.selStart(), 5);
}

TEST(TyperWrites, TextWritePutsTheCaretAtTheStart)
{
    Typer typer;
    typer.setText(QStringLiteral("abc"));
    typer.setSelStart(3);
    typer.setText(QStringLiteral("xyz\r\nuvw"));
    EXPECT_EQ(typer.selStart(), 0);
    EXPECT_EQ(typer.selLength(), 0);
}

TEST(TyperPositions, ALineBreakCountsTwo)
{
    Typer typer;
    typer.setText(QStringLiteral("ab\r\ncd\r\n\r\nef"));
    EXPECT_EQ(typer.length(), 12);
    select(typer, 1, 5); // "b", break, "cd"
    EXPECT_EQ(typer.selText(), QStringLiteral("b\r\ncd"));
    EXPECT_EQ(typer.selStart(), 1);
    EXPECT_EQ(typer.selLength(), 5);
    typer.setSelStart(10);
    typer.setSelText(QStringLiteral("!"));
    EXPECT_EQ(typer.text(), QStringLiteral("ab\r\ncd\r\n\r\n!ef"));
}

TEST(TyperPositions, ASelectionNeverEndsBetweenCrAndLf)
{
    Typer typer;
    typer.setText(QStringLiteral("ab\r\ncd"));
    select(typer, 0, 3); // would end between CR and LF: takes the whole break
    EXPECT_EQ(typer.selText(), QStringLiteral("ab\r\n"));
    typer.setSelStart(3); // the caret cannot stand inside a break
    EXPECT_EQ(typer.selStart(), 2);
}

TEST(TyperPositions, PositionsAreClampedToTheText)
{
    Typer typer;
    typer.setText(QStringLiteral("abc"));
    typer.setSelStart(99);
    EXPECT_EQ(typer.selStart(), 3);
    typer.setSelStart(1);
    typer.setSelLength(99);
    EXPECT_EQ(typer.selText(), QStringLiteral("bc"));
}

TEST(TyperText, EveryCharacterSurvivesAWriteAndARead)
{
    Typer typer;
    const QString text = QStringLiteral("tab\there nbsp\u00A0x ") +
                         QString::fromUcs4(U"\U0001F600 astral \U00010348") +
                         QStringLiteral(" ctrl\x01\x1F del\x7F zw\u200B ls\u2028end");
    typer.setText(text);
    EXPECT_EQ(typer.text(), text);
    EXPECT_EQ(typer.length(), text.size());
    typer.setSelStart(0);
    typer.setSelLength(typer.length());
    EXPECT_EQ(typer.selText(), text);
}

TEST(TyperText, LineBreaksOfEveryKindBecomeCrLf)
{
    Typer typer;
    typer.setText(QStringLiteral("a\rb\nc\r\nd\n\re"));
    EXPECT_EQ(typer.text(), QStringLiteral("a\r\nb\r\nc\r\nd\r\n\r\ne"));
    typer.setSelStart(typer.length());
    typer.setSelText(QStringLiteral("\n"));
    EXPECT_TRUE(typer.text().endsWith(QStringLiteral("e\r\n")));
}

TEST(TyperUndo, ATextWriteIsOneUndoableStep)
{
    Typer typer;
    typer.setText(QStringLiteral("first"));
    typer.setText(QStringLiteral("second\r\nline"));
    typer.undo();
    EXPECT_EQ(typer.text(), QStringLiteral("first"));
    typer.redo();
    EXPECT_EQ(typer.text(), QStringLiteral("second\r\nline"));
}

TEST(TyperUndo, ASelTextWriteIsOneUndoableStep)
{
    Typer typer;
    typer.setText(QStringLiteral("word"));
    typer.setSelStart(0);
    typer.setSelLength(4);
    typer.setSelText(QStringLiteral("[B]word\r\n[/B]"));
    typer.undo();
    EXPECT_EQ(typer.text(), QStringLiteral("word"));
}

TEST(TyperChange, EachWriteRaisesOneChange)
{
    Typer typer;
    QSignalSpy spy(&typer, &Typer::changed);
    typer.setText(QStringLiteral("a\r\nb\r\nc"));
    EXPECT_EQ(spy.count(), 1);
    typer.setSelText(QStringLiteral("x\r\ny"));
    EXPECT_EQ(spy.count(), 2);
}

TEST(TyperKeys, TypingAndReturnGiveCrLf)
{
    Typer typer;
    typer.show();
    QTest::keyClicks(&typer, QStringLiteral("a"));
    QTest::keyClick(&typer, Qt::Key_Return);
    QTest::keyClick(&typer, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(typer.text(), QStringLiteral("a\r\n\r\n"));
    EXPECT_EQ(typer.length(), 5);
}

TEST(TyperKeys, CtrlYRedoes)
{
    Typer typer;
    typer.show();
    QTest::keyClicks(&typer, QStringLiteral("abc"));
    QTest::keyClick(&typer, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(typer.text(), QString());
    QTest::keyClick(&typer, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(typer.text(), QStringLiteral("abc"));
}

TEST(TyperCaret, RestsAfterAWhileWithoutInputAndBlinksAgainOnAKey)
{
    const int flashTime = QApplication::cursorFlashTime();
    ASSERT_GT(flashTime, 0);
    Typer typer;
    typer.setCaretRestDelay(50);
    typer.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&typer));
    typer.activateWindow();
    typer.setFocus();
    QTest::keyClicks(&typer, QStringLiteral("a"));
    EXPECT_TRUE(QTest::qWaitFor([] { return QApplication::cursorFlashTime() == 0; }, 5000));
    QTest::keyClicks(&typer, QStringLiteral("b"));
    EXPECT_EQ(QApplication::cursorFlashTime(), flashTime);
    EXPECT_EQ(typer.text(), QStringLiteral("ab"));
}

TEST(TyperClipboard, PastedCrLfIsOneBreakAndCopyKeepsEveryCharacter)
{
    Typer typer;
    typer.show();
    QApplication::clipboard()->setText(QStringLiteral("one\r\ntwo\u00A0three"));
    typer.paste();
    EXPECT_EQ(typer.text(), QStringLiteral("one\r\ntwo\u00A0three"));
    typer.selectAll();
    typer.copy();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("one\ntwo\u00A0three"));
}

} // namespace
