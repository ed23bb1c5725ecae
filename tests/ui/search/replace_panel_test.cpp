#include "panel_helpers.h"

#include <QLabel>
#include <QScrollBar>
#include <QTextDocument>

using namespace quorvane;
using namespace quorvane::test;

namespace {

class ReplacePanel : public PanelTest
{
protected:
    void replace(const QString &post, const QString &find, const QString &with)
    {
        typer()->setText(post);
        form().command("ReplaceMenu")->trigger();
        ASSERT_TRUE(form().replaceFrame()->isVisible());
        typeInto("FindWhat", find);
        typeInto("ReplaceWith", with);
        click("DoReplace");
    }
    int undoSteps() { return typer()->document()->availableUndoSteps(); }
};

TEST_F(ReplacePanel, ReplacesEveryOccurrenceWhateverItsCase)
{
    replace(QStringLiteral("Cat CAT cat"), QStringLiteral("cat"), QStringLiteral("dog"));
    EXPECT_EQ(typer()->text(), QStringLiteral("dog dog dog"));
    EXPECT_TRUE(w.dialogs.messages.isEmpty());
}

TEST_F(ReplacePanel, OccurrencesDoNotOverlap)
{
    replace(QStringLiteral("aaa"), QStringLiteral("aa"), QStringLiteral("b"));
    EXPECT_EQ(typer()->text(), QStringLiteral("ba"));
}

TEST_F(ReplacePanel, AnEmptyFindWhatChangesNothing)
{
    typer()->setText(QStringLiteral("keep me"));
    typer()->setSelStart(2);
    typer()->setSelLength(3);
    const int steps = undoSteps();
    form().command("ReplaceMenu")->trigger();
    typeInto("ReplaceWith", QStringLiteral("x"));
    click("DoReplace");
    EXPECT_EQ(typer()->text(), QStringLiteral("keep me"));
    EXPECT_EQ(undoSteps(), steps);
    EXPECT_EQ(typer()->selStart(), 2);
    EXPECT_EQ(typer()->selLength(), 3);
}

TEST_F(ReplacePanel, ATermThatDoesNotOccurLeavesPostSelectionAndHistoryAlone)
{
    replace(QStringLiteral("keep me"), QStringLiteral("absent"), QStringLiteral("x"));
    const int steps = undoSteps();
    typer()->setSelStart(1);
    typer()->setSelLength(2);
    click("DoReplace");
    EXPECT_EQ(typer()->text(), QStringLiteral("keep me"));
    EXPECT_EQ(undoSteps(), steps);
    EXPECT_EQ(typer()->selStart(), 1);
    EXPECT_EQ(typer()->selLength(), 2);
}

TEST_F(ReplacePanel, AnEmptyReplacementDeletesEveryOccurrence)
{
    replace(QStringLiteral("a-b-c-"), QStringLiteral("-"), QString());
    EXPECT_EQ(typer()->text(), QStringLiteral("abc"));
}

TEST_F(ReplacePanel, TheReplacementGoesInAsTypedAndIsNotScannedAgain)
{
    replace(QStringLiteral("Hello HELLO"), QStringLiteral("hello"), QStringLiteral("hello HELLO"));
    EXPECT_EQ(typer()->text(), QStringLiteral("hello HELLO hello HELLO"));
}

TEST_F(ReplacePanel, KeepsLineBreaksAndFoldsCaseBeyondAscii)
{
    replace(QStringLiteral("\u00C9t\u00E9\r\n\r\n\u00E9T\u00C9"), QStringLiteral("\u00E9t\u00E9"),
            QStringLiteral("summer"));
    EXPECT_EQ(typer()->text(), QStringLiteral("summer\r\n\r\nsummer"));
}

TEST_F(ReplacePanel, IsOneUndoableStepAndThePanelStaysReadyForAnother)
{
    replace(QStringLiteral("aaaa aaaa"), QStringLiteral("aa"), QStringLiteral("a"));
    EXPECT_EQ(typer()->text(), QStringLiteral("aa aa"));
    EXPECT_TRUE(form().replaceFrame()->isVisible());
    EXPECT_EQ(box("FindWhat")->text(), QStringLiteral("aa"));
    EXPECT_EQ(box("ReplaceWith")->text(), QStringLiteral("a"));

    click("DoReplace");
    EXPECT_EQ(typer()->text(), QStringLiteral("a a"));

    // The editor's own Ctrl+Z takes back one replacement at a time.
    typer()->setFocus();
    QTest::keyClick(typer(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(typer()->text(), QStringLiteral("aa aa"));
    QTest::keyClick(typer(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(typer()->text(), QStringLiteral("aaaa aaaa"));
}

// Ctrl+Z in either box right after Replace takes back the replacements in
// the post, one Replace a press, and leaves both boxes as typed; once a box
// has changed since, Ctrl+Z is the box's own again.
TEST_F(ReplacePanel, UndoInTheBoxesRightAfterReplaceUndoesThePost)
{
    struct Case
    {
        const char *what;
        const char *box;   // where the keyboard is
        int replaces;      // Returns pressed there
        bool editBoxFirst; // a box is edited after the replaces
        QString after;     // the post after as many Ctrl+Z as Returns
    };
    const QString post = QStringLiteral("a cat");
    const Case cases[] = {
        {"in Replace With", "ReplaceWith", 1, false, post},
        {"in Find What", "FindWhat", 1, false, post},
        {"after two Replaces", "ReplaceWith", 2, false, post},
        {"after the box changed", "ReplaceWith", 1, true, QStringLiteral("aa caat")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        form().command("ReplaceMenu")->trigger();
        typer()->setText(post);
        typeInto("FindWhat", QStringLiteral("a"));
        typeInto("ReplaceWith", QStringLiteral("aa"));
        box(c.box)->setFocus();
        for (int i = 0; i < c.replaces; ++i)
            QTest::keyClick(box(c.box), Qt::Key_Return);
        EXPECT_EQ(typer()->text(),
                  c.replaces == 1 ? QStringLiteral("aa caat") : QStringLiteral("aaaa caaaat"));
        if (c.editBoxFirst) {
            QTest::keyClick(box(c.box), Qt::Key_A);
            EXPECT_EQ(box(c.box)->text(), QStringLiteral("aaa"));
        }
        const QString findWhat = box("FindWhat")->text();
        const QString replaceWith = box("ReplaceWith")->text();
        for (int i = 0; i < c.replaces; ++i)
            QTest::keyClick(form().windowHandle(), Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(typer()->text(), c.after);
        EXPECT_EQ(box("FindWhat")->text(), findWhat);
        // The box's own Undo takes its typing back instead.
        EXPECT_EQ(box("ReplaceWith")->text() == replaceWith, !c.editBoxFirst);
        EXPECT_TRUE(box(c.box)->hasFocus());
        click("CancelReplace");
    }
}

// The caret and selection stay on the same text, shifted by what changed
// before them; the panel says how many were replaced.
TEST_F(ReplacePanel, KeepsTheCaretWhereItWasAndSaysHowManyWereReplaced)
{
    struct Case
    {
        const char *what;
        QString post;
        qsizetype start, length;
        QString find, with, after;
        qsizetype newStart, newLength;
        QString said;
    };
    const QString post = QStringLiteral("head\r\nmiddle cat\r\ncat tail");
    const Case cases[] = {
        {"caret before every hit", post, 2, 0, "cat", "lion", "head\r\nmiddle lion\r\nlion tail", 2,
         0, "Replaced 2 occurrences."},
        {"caret between hits", post, 16, 0, "cat", "lion", "head\r\nmiddle lion\r\nlion tail", 17,
         0, "Replaced 2 occurrences."},
        {"caret after every hit", post, 22, 0, "cat", "ox", "head\r\nmiddle ox\r\nox tail", 20, 0,
         "Replaced 2 occurrences."},
        {"selection ending after a hit", post, 3, 13, "cat", "lion",
         "head\r\nmiddle lion\r\nlion tail", 3, 14, "Replaced 2 occurrences."},
        {"caret inside a hit goes to the end of its replacement", post, 14, 0, "cat", "lion",
         "head\r\nmiddle lion\r\nlion tail", 17, 0, "Replaced 2 occurrences."},
        {"one", QStringLiteral("a cat"), 0, 0, "CAT", "dog", "a dog", 0, 0,
         "Replaced 1 occurrence."},
        {"none", QStringLiteral("a cat"), 1, 2, "bird", "dog", "a cat", 1, 2,
         "No occurrences found."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        typer()->setText(c.post);
        typer()->setSelStart(c.start);
        typer()->setSelLength(c.length);
        form().command("ReplaceMenu")->trigger();
        typeInto("FindWhat", c.find);
        typeInto("ReplaceWith", c.with);
        QLabel *said = control<QLabel>("ReplaceResult");
        ASSERT_NE(said, nullptr);
        EXPECT_TRUE(said->text().isEmpty());
        click("DoReplace");
        EXPECT_EQ(typer()->text(), c.after);
        EXPECT_EQ(typer()->selStart(), c.newStart);
        EXPECT_EQ(typer()->selLength(), c.newLength);
        EXPECT_EQ(said->text(), c.said);
        EXPECT_TRUE(said->isVisible());
        EXPECT_TRUE(w.dialogs.messages.isEmpty());
        // New terms make the count stale; closing the panel clears it.
        typeInto("FindWhat", QStringLiteral("x"));
        EXPECT_TRUE(said->text().isEmpty());
        click("CancelReplace");
    }
}

TEST_F(ReplacePanel, KeepsTheViewWhereItWas)
{
    QString post = QStringLiteral("cat at the top\r\n");
    for (int line = 0; line < 400; ++line)
        post += QStringLiteral("filler line %1\r\n").arg(line);
    post += QStringLiteral("cat at the end");
    typer()->setText(post);
    const qsizetype middle = post.indexOf(QStringLiteral("filler line 200"));
    typer()->setSelStart(middle);
    QScrollBar *bar = typer()->verticalScrollBar();
    ASSERT_GT(bar->value(), 0);
    const int view = bar->value();

    form().command("ReplaceMenu")->trigger();
    typeInto("FindWhat", QStringLiteral("cat"));
    typeInto("ReplaceWith", QStringLiteral("dog"));
    click("DoReplace");
    EXPECT_TRUE(typer()->text().startsWith(QStringLiteral("dog at the top")));
    EXPECT_TRUE(typer()->text().endsWith(QStringLiteral("dog at the end")));
    EXPECT_EQ(bar->value(), view);
    EXPECT_EQ(typer()->selStart(), middle);
}

TEST_F(ReplacePanel, ReturnInEitherBoxReplaces)
{
    typer()->setText(QStringLiteral("one one"));
    form().command("ReplaceMenu")->trigger();
    EXPECT_TRUE(box("FindWhat")->hasFocus());
    typeInto("FindWhat", QStringLiteral("one"));
    typeInto("ReplaceWith", QStringLiteral("two"));
    QTest::keyClick(box("ReplaceWith"), Qt::Key_Return);
    EXPECT_EQ(typer()->text(), QStringLiteral("two two"));
}

TEST_F(ReplacePanel, CancelHidesThePanelAndEmptiesBothBoxes)
{
    replace(QStringLiteral("x"), QStringLiteral("x"), QStringLiteral("y"));
    click("CancelReplace");
    EXPECT_FALSE(form().replaceFrame()->isVisible());
    EXPECT_TRUE(box("FindWhat")->text().isEmpty());
    EXPECT_TRUE(box("ReplaceWith")->text().isEmpty());
    form().command("ReplaceCommand")->trigger();
    EXPECT_TRUE(form().replaceFrame()->isVisible());
    EXPECT_TRUE(box("FindWhat")->text().isEmpty());
    for (const char *name : {"Label2", "Label10", "Label9"})
        EXPECT_NE(control<QWidget>(name), nullptr) << name;
    EXPECT_EQ(control<QWidget>("Label9")->property("text").toString(),
              QStringLiteral("Replace With:"));
}

} // namespace
