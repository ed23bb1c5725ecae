#include "panel_helpers.h"

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

TEST_F(ReplacePanel, LeavesTheCaretAtTheStartLikeAnyWholePostWrite)
{
    typer()->setText(QStringLiteral("head\r\nmiddle cat\r\ncat tail"));
    typer()->setSelStart(3);
    typer()->setSelLength(5);
    form().command("ReplaceMenu")->trigger();
    typeInto("FindWhat", QStringLiteral("cat"));
    typeInto("ReplaceWith", QStringLiteral("dog"));
    click("DoReplace");
    EXPECT_EQ(typer()->text(), QStringLiteral("head\r\nmiddle dog\r\ndog tail"));
    EXPECT_EQ(typer()->selStart(), 0);
    EXPECT_EQ(typer()->selLength(), 0);
    typer()->undo();
    EXPECT_EQ(typer()->text(), QStringLiteral("head\r\nmiddle cat\r\ncat tail"));
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
