#include "panel_helpers.h"

#include <QScrollBar>

using namespace quorvane;
using namespace quorvane::test;

namespace {

class FindPanel : public PanelTest
{
protected:
    void openWith(const QString &post)
    {
        typer()->setText(post);
        form().command("FindMenu")->trigger();
        ASSERT_TRUE(form().findFrame()->isVisible());
    }
    QString caption() { return button("FindCommand")->text(); }
    qsizetype endMessages()
    {
        qsizetype n = 0;
        for (const auto &m : w.dialogs.messages)
            n += m.text == QLatin1String("Quorvane has finished searching the document.");
        return n;
    }
};

TEST_F(FindPanel, StepsThroughEachHitIgnoringCaseThenReportsTheEndAndStartsAgain)
{
    openWith(QStringLiteral("ABC abc"));
    typeInto("FindText", QStringLiteral("abc"));
    EXPECT_EQ(caption(), QStringLiteral("Find"));

    click("FindCommand");
    EXPECT_EQ(typer()->selStart(), 0);
    EXPECT_EQ(typer()->selLength(), 3);
    EXPECT_EQ(caption(), QStringLiteral("Find Next"));
    EXPECT_EQ(panels()->findStart(), 2);
    EXPECT_TRUE(typer()->hasFocus());

    click("FindCommand");
    EXPECT_EQ(typer()->selStart(), 4);
    EXPECT_EQ(selection(), QStringLiteral("abc"));
    EXPECT_TRUE(w.dialogs.messages.isEmpty());

    click("FindCommand");
    ASSERT_EQ(w.dialogs.messages.size(), 1);
    const auto &message = w.dialogs.messages.front();
    EXPECT_EQ(message.text, QStringLiteral("Quorvane has finished searching the document."));
    EXPECT_EQ(message.title, QStringLiteral("Quorvane"));
    EXPECT_EQ(message.icon, QMessageBox::Information);
    EXPECT_EQ(message.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_EQ(caption(), QStringLiteral("Find"));
    EXPECT_EQ(panels()->findStart(), 1);

    click("FindCommand");
    EXPECT_EQ(typer()->selStart(), 0);
    EXPECT_EQ(selection(), QStringLiteral("ABC"));
    EXPECT_EQ(caption(), QStringLiteral("Find Next"));
}

TEST_F(FindPanel, FindsOverlappingHitsInTurn)
{
    openWith(QStringLiteral("aaaa"));
    typeInto("FindText", QStringLiteral("aa"));
    for (qsizetype start : {0, 1, 2}) {
        click("FindCommand");
        EXPECT_EQ(typer()->selStart(), start);
        EXPECT_EQ(typer()->selLength(), 2);
    }
    EXPECT_EQ(endMessages(), 0);
    click("FindCommand");
    EXPECT_EQ(endMessages(), 1);
}

TEST_F(FindPanel, AMissingTermReportsTheEndAtOnceAndKeepsTheCaption)
{
    openWith(QStringLiteral("some text"));
    typer()->setSelStart(2);
    typeInto("FindText", QStringLiteral("absent"));
    click("FindCommand");
    EXPECT_EQ(endMessages(), 1);
    EXPECT_EQ(caption(), QStringLiteral("Find"));
    EXPECT_EQ(typer()->selStart(), 2);
    EXPECT_EQ(typer()->selLength(), 0);
}

TEST_F(FindPanel, FoldsCaseBeyondAscii)
{
    openWith(QStringLiteral("Un caf\u00E9, UN CAF\u00C9"));
    typeInto("FindText", QStringLiteral("CAF\u00C9"));
    click("FindCommand");
    EXPECT_EQ(selection(), QStringLiteral("caf\u00E9"));
    click("FindCommand");
    EXPECT_EQ(selection(), QStringLiteral("CAF\u00C9"));
}

TEST_F(FindPanel, ANewTermContinuesOneCharacterAfterTheLastHit)
{
    openWith(QStringLiteral("one two one two"));
    typeInto("FindText", QStringLiteral("two"));
    click("FindCommand");
    EXPECT_EQ(typer()->selStart(), 4);
    typeInto("FindText", QStringLiteral("one"));
    click("FindCommand");
    EXPECT_EQ(typer()->selStart(), 8);
    // Editing the post does not move the search position either.
    typer()->setSelStart(0);
    typer()->setSelText(QStringLiteral("xx "));
    EXPECT_EQ(panels()->findStart(), 10);
}

TEST_F(FindPanel, CancelClearsTheTermButKeepsThePositionAndCaption)
{
    openWith(QStringLiteral("cat cat cat"));
    typeInto("FindText", QStringLiteral("cat"));
    click("FindCommand");
    click("FindCommand");
    ASSERT_EQ(typer()->selStart(), 4);

    click("CancelCommand");
    EXPECT_FALSE(form().findFrame()->isVisible());
    EXPECT_TRUE(box("FindText")->text().isEmpty());
    EXPECT_FALSE(button("FindCommand")->isEnabled());
    EXPECT_EQ(caption(), QStringLiteral("Find Next"));

    form().command("SearchCommand")->trigger();
    EXPECT_TRUE(form().findFrame()->isVisible());
    EXPECT_TRUE(box("FindText")->text().isEmpty());
    EXPECT_FALSE(button("FindCommand")->isEnabled());
    EXPECT_EQ(caption(), QStringLiteral("Find Next"));

    typeInto("FindText", QStringLiteral("CAT"));
    click("FindCommand");
    EXPECT_EQ(typer()->selStart(), 8);
}

TEST_F(FindPanel, TheFindButtonIsUsableOnlyWithATermAndItsCaptionTurnsWhite)
{
    openWith(QStringLiteral("text"));
    QPushButton *find = button("FindCommand");
    EXPECT_FALSE(find->isEnabled());
    EXPECT_EQ(captionInk(find).dark, 0);
    EXPECT_GT(captionInk(find).white, 0);
    // A click on the disabled button does nothing.
    click("FindCommand");
    EXPECT_TRUE(w.dialogs.messages.isEmpty());

    typeInto("FindText", QStringLiteral("t"));
    EXPECT_TRUE(find->isEnabled());
    EXPECT_GT(captionInk(find).dark, 0);

    QTest::keyClick(box("FindText"), Qt::Key_Backspace);
    EXPECT_FALSE(find->isEnabled());
    EXPECT_EQ(captionInk(find).dark, 0);
}

TEST_F(FindPanel, OnlyOnePanelShowsAtATime)
{
    typer()->setText(QStringLiteral("text"));
    EXPECT_FALSE(form().findFrame()->isVisible());
    EXPECT_FALSE(form().replaceFrame()->isVisible());
    form().command("FindMenu")->trigger();
    EXPECT_TRUE(form().findFrame()->isVisible());
    form().command("ReplaceCommand")->trigger();
    EXPECT_TRUE(form().replaceFrame()->isVisible());
    EXPECT_FALSE(form().findFrame()->isVisible());
    form().command("SearchCommand")->trigger();
    EXPECT_TRUE(form().findFrame()->isVisible());
    EXPECT_FALSE(form().replaceFrame()->isVisible());
}

TEST_F(FindPanel, ReturnFindsTheNextHitAndKeepsTheKeyboardInTheBox)
{
    typer()->setText(QStringLiteral("red green red"));
    typer()->setFocus();
    QTest::keyClick(form().windowHandle(), Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(form().findFrame()->isVisible());
    EXPECT_TRUE(box("FindText")->hasFocus());
    EXPECT_EQ(typer()->text(), QStringLiteral("red green red"));

    // Return after Return walks the hits; the post never sees a key.
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("red"));
    struct Step
    {
        qsizetype start;
        const char *caption;
    };
    for (const Step step : {Step{0, "Find Next"}, Step{10, "Find Next"}}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_TRUE(box("FindText")->hasFocus());
        EXPECT_EQ(typer()->selStart(), step.start);
        EXPECT_EQ(selection(), QStringLiteral("red"));
        EXPECT_EQ(caption(), QLatin1String(step.caption));
        EXPECT_TRUE(typer()->viewport()->rect().contains(typer()->cursorRect().center()));
    }
    EXPECT_EQ(typer()->text(), QStringLiteral("red green red"));

    // Esc closes the panel and hands the keyboard to the editor, hit selected.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(form().findFrame()->isVisible());
    EXPECT_TRUE(typer()->hasFocus());
    EXPECT_EQ(typer()->selStart(), 10);
    EXPECT_EQ(selection(), QStringLiteral("red"));

    // Ctrl+F brings the keyboard back to the box.
    QTest::keyClick(form().windowHandle(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(box("FindText")->hasFocus());
}

TEST_F(FindPanel, HitsCountLineBreaksAsTwoCharacters)
{
    openWith(QStringLiteral("ab\r\ncd\r\n\r\nCD"));
    typeInto("FindText", QStringLiteral("cd"));
    click("FindCommand");
    EXPECT_EQ(typer()->selStart(), 4);
    EXPECT_EQ(selection(), QStringLiteral("cd"));
    click("FindCommand");
    EXPECT_EQ(typer()->selStart(), 10);
    EXPECT_EQ(selection(), QStringLiteral("CD"));
}

TEST_F(FindPanel, SearchesALongPostToItsEndAndShowsEachHit)
{
    // Well past the 32767 characters a 16-bit position could reach.
    QString post;
    for (int line = 0; line < 700; ++line)
        post += QStringLiteral("line %1 of filler text to make the post long enough\r\n")
                    .arg(line, 4, 10, QLatin1Char('0'));
    ASSERT_GT(post.size(), 32767);
    const qsizetype first = post.size();
    post += QStringLiteral("Needle\r\n");
    for (int line = 0; line < 120; ++line)
        post += QStringLiteral("more filler text\r\n");
    const qsizetype last = post.size() + 4;
    post += QStringLiteral("end NEEDLE");
    ASSERT_GT(post.size(), 40000);

    openWith(post);
    typeInto("FindText", QStringLiteral("needle"));
    click("FindCommand");
    EXPECT_EQ(typer()->selStart(), first);
    EXPECT_EQ(selection(), QStringLiteral("Needle"));
    EXPECT_TRUE(typer()->viewport()->rect().contains(typer()->cursorRect().center()));
    click("FindCommand");
    EXPECT_EQ(typer()->selStart(), last);
    EXPECT_EQ(selection(), QStringLiteral("NEEDLE"));
    EXPECT_EQ(panels()->findStart(), last + 2);
    EXPECT_TRUE(typer()->viewport()->rect().contains(typer()->cursorRect().center()));
    click("FindCommand");
    EXPECT_EQ(endMessages(), 1);
    click("FindCommand");
    EXPECT_EQ(typer()->selStart(), first);
}

TEST_F(FindPanel, ControlsAreNamedLabelButtonsTheKeyboardReaches)
{
    EXPECT_EQ(control<QWidget>("Label15")->property("text").toString(), QStringLiteral("Find"));
    EXPECT_EQ(control<QWidget>("Label13")->property("text").toString(),
              QStringLiteral("Find What:"));
    EXPECT_EQ(box("FindText")->accessibleName(), QStringLiteral("Find What"));
    for (const char *name : {"FindCommand", "CancelCommand", "DoReplace", "CancelReplace"}) {
        SCOPED_TRACE(name);
        QPushButton *b = button(name);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->cursor().shape(), Qt::PointingHandCursor);
        EXPECT_EQ(b->focusPolicy(), Qt::StrongFocus);
        EXPECT_EQ(b->accessibleName(), b->text());
        b->parentWidget()->show();
        const QImage face = b->grab().toImage();
        EXPECT_EQ(face.pixelColor(3, 3), QColor(192, 192, 255));
    }
    EXPECT_EQ(button("CancelCommand")->text(), QStringLiteral("Cancel"));
    EXPECT_EQ(button("DoReplace")->text(), QStringLiteral("Replace"));
}

} // namespace
