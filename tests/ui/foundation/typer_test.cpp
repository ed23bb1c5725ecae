// The editing surface: its positions, writes, undo and change step, as every
// command sees them.
#include "shell/typer.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <gtest/gtest.h>

#include <functional>

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
                         QStringLiteral(" ctrl\x01\x1F del\x7F zw\u200B ls\u2028 ps\u2029 "
                                        "frames\uFDD0\uFDD1 fffd\uFFFD\u2029\uFFFD end");
    typer.setText(text);
    EXPECT_EQ(typer.text(), text);
    EXPECT_EQ(typer.length(), text.size());
    typer.setSelStart(0);
    typer.setSelLength(typer.length());
    EXPECT_EQ(typer.selText(), text);

    // Copied and pasted, typed next to, and undone.
    typer.copy();
    EXPECT_EQ(QApplication::clipboard()->text(), text);
    typer.setSelStart(typer.length());
    typer.paste();
    EXPECT_EQ(typer.text(), text + text);
    typer.setSelStart(text.indexOf(u'\uFDD1') + 1);
    // Typed as a keyboard layout sends it: a key event carrying the text.
    QKeyEvent typed(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("\uFFFDx"));
    QApplication::sendEvent(&typer, &typed);
    EXPECT_EQ(typer.text().mid(text.indexOf(u'\uFDD0'), 5), QStringLiteral("\uFDD0\uFDD1\uFFFDx "));
}

// A line far longer than the widget lays out at once, with or without spaces,
// astral characters and combining marks at every possible cut.
QString longLine(const QString &piece, qsizetype length)
{
    QString line;
    while (line.size() < length)
        line += piece;
    return line;
}

int longestBlock(const Typer &typer)
{
    int longest = 0;
    for (QTextBlock b = typer.document()->begin(); b.isValid(); b = b.next())
        longest = std::max(longest, b.length() - 1);
    return longest;
}

// Length of the character cluster the caret steps over at index i.
qsizetype clusterAt(const QString &s, qsizetype i)
{
    return (s[i].isHighSurrogate() || s[i + 1].isMark()) ? 2 : 1;
}

// Post position of the joint between the first two pieces of the long line
// that follows a short first line.
qsizetype firstJoint(const Typer &typer)
{
    return typer.toPostPosition(typer.document()->findBlockByNumber(2).position());
}

TEST(TyperLongLines, HeldInPiecesThatReadAndEditAsOneLine)
{
    const QString shapes[] = {
        longLine(QStringLiteral("alpha beta gamma delta "), 30000),
        longLine(QStringLiteral("abcdefghij"), 30000),
        longLine(QString::fromUcs4(U"e\u0301\U0001F600"), 30000),
    };
    struct Edit
    {
        const char *name;
        std::function<void(Typer &)> act;
        std::function<QString(const QString &, qsizetype)> expected; // (post, joint)
    };
    const Edit edits[] = {
        {"type at the joint", [](Typer &t) { QTest::keyClicks(&t, QStringLiteral("x")); },
         [](const QString &p, qsizetype j) { return QString(p).insert(j, u'x'); }},
        {"backspace at the joint", [](Typer &t) { QTest::keyClick(&t, Qt::Key_Backspace); },
         [](const QString &p, qsizetype j) {
             return QString(p).remove(j - (p[j - 1].isLowSurrogate() ? 2 : 1),
                                      p[j - 1].isLowSurrogate() ? 2 : 1);
         }},
        {"delete at the joint",
         [](Typer &t) {
             // Back and forth: the caret ends at the end of the piece before.
             QTest::keyClick(&t, Qt::Key_Left);
             QTest::keyClick(&t, Qt::Key_Right);
             QTest::keyClick(&t, Qt::Key_Delete);
         },
         [](const QString &p, qsizetype j) { return QString(p).remove(j, clusterAt(p, j)); }},
        {"return at the joint", [](Typer &t) { QTest::keyClick(&t, Qt::Key_Return); },
         [](const QString &p, qsizetype j) {
             return QString(p).insert(j, QStringLiteral("\r\n"));
         }},
        {"right arrow crosses the joint in one press",
         [](Typer &t) {
             QTest::keyClick(&t, Qt::Key_Left);
             QTest::keyClick(&t, Qt::Key_Right);
             QTest::keyClick(&t, Qt::Key_Right);
             QTest::keyClicks(&t, QStringLiteral("x"));
         },
         [](const QString &p, qsizetype j) {
             return QString(p).insert(j + clusterAt(p, j), u'x');
         }},
        {"paste of the whole post at the joint",
         [](Typer &t) {
             QApplication::clipboard()->setText(t.text());
             t.paste();
         },
         [](const QString &p, qsizetype j) { return QString(p).insert(j, p); }},
    };
    for (const QString &line : shapes) {
        const QString post = QStringLiteral("first\r\n") + line + QStringLiteral("\r\nlast");
        for (const Edit &edit : edits) {
            SCOPED_TRACE(edit.name);
            Typer typer;
            typer.show();
            typer.setText(post);
            EXPECT_EQ(typer.text(), post);
            EXPECT_EQ(typer.length(), post.size());
            EXPECT_LE(longestBlock(typer), Typer::kLongLine);
            select(typer, 3, post.size() - 5);
            EXPECT_EQ(typer.selText(), post.mid(3, post.size() - 5));

            const qsizetype joint = firstJoint(typer);
            ASSERT_GT(joint, 7);
            typer.setSelStart(joint);
            EXPECT_EQ(typer.selStart(), joint);
            edit.act(typer);
            const QString edited = edit.expected(post, joint);
            EXPECT_EQ(typer.text(), edited);
            EXPECT_EQ(typer.length(), edited.size());
            EXPECT_LE(longestBlock(typer), 2 * Typer::kLongLine + 2);
            typer.undo();
            EXPECT_EQ(typer.text(), post);
        }
    }
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

// Backspace after an emoji sequence removes all of it, as one Undo step; a
// letter with an accent still loses only the accent.
struct BackspaceCase
{
    const char *name;
    const char16_t *before;
    const char16_t *after;
};

TEST(TyperKeys, BackspaceRemovesAWholeEmojiSequence)
{
    const BackspaceCase cases[] = {
        {"family: man ZWJ woman ZWJ girl", u"a\U0001F468\u200D\U0001F469\u200D\U0001F467", u"a"},
        {"flag of Germany", u"a\U0001F1E9\U0001F1EA", u"a"},
        {"two flags, the last goes", u"a\U0001F1E9\U0001F1EA\U0001F1EB\U0001F1F7",
         u"a\U0001F1E9\U0001F1EA"},
        {"flag of England (tags)",
         u"a\U0001F3F4\U000E0067\U000E0062\U000E0065\U000E006E\U000E0067\U000E007F", u"a"},
        {"rainbow flag", u"a\U0001F3F3\uFE0F\u200D\U0001F308", u"a"},
        {"keycap one", u"a1\uFE0F\u20E3", u"a"},
        {"thumbs up, medium skin tone", u"a\U0001F44D\U0001F3FD", u"a"},
        {"red heart", u"a\u2764\uFE0F", u"a"},
        {"one emoji", u"a\U0001F600", u"a"},
        {"e with a combining accent", u"ae\u0301", u"ae"},
        {"a plain letter", u"ab", u"a"},
    };
    for (const BackspaceCase &c : cases) {
        Typer typer;
        typer.show();
        typer.setText(QString::fromUtf16(c.before));
        typer.setSelStart(typer.length());
        QTest::keyClick(&typer, Qt::Key_Backspace);
        EXPECT_EQ(typer.text().toStdU16String(), std::u16string(c.after)) << c.name;
        QTest::keyClick(&typer, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(typer.text().toStdU16String(), std::u16string(c.before)) << c.name;
    }
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
