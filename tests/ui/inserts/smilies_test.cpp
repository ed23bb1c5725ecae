#include "inserts.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace quorvane::test {
namespace {

struct Expected
{
    const char *name, *tooltip, *code;
};
constexpr Expected kSmilies[] = {
    {"Grin", "Big Grin", ":D "}, {"Sad", "Frown", ":( "},
    {"Wink", "Wink", ";) "},     {"Cool", "Cool", ":cool: "},
    {"EEK", "EEK!", ":eek: "},   {"Shy", "Embarrassment", ":o "},
    {"Angry", "Mad", ":mad: "},  {"Kidding", "Stick Out Tongue", ":p "},
    {"Smile", "Smile", ":) "},   {"RollEyes", "Roll Eyes (Sarcastic)", ":rolleyes: "},
};

class Smilies : public ::testing::Test
{
protected:
    Window w;
    Typer *typer = w.form->typer();
    QFrame *frame = w.form->smilesFrame();

    QToolButton *picture(const char *name) { return frame->findChild<QToolButton *>(name); }
    QPushButton *hideButton() { return frame->findChild<QPushButton *>("HideSmilys"); }
};

TEST_F(Smilies, PanelHoldsHeadingTenPicturesInOrderAndHide)
{
    EXPECT_FALSE(frame->isVisible());
    auto *heading = frame->findChild<QLabel *>("Label1");
    ASSERT_NE(heading, nullptr);
    EXPECT_EQ(heading->text(), QStringLiteral("Standrad Smilies"));
    ASSERT_NE(hideButton(), nullptr);
    EXPECT_EQ(hideButton()->text(), QStringLiteral("Hide"));
    EXPECT_EQ(hideButton()->accessibleName(), QStringLiteral("Hide"));
    EXPECT_EQ(hideButton()->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_TRUE(hideButton()->focusPolicy() & Qt::TabFocus);

    // Left to right in the panel, in the table's order.
    QList<QString> order;
    for (int i = 0; i < frame->layout()->count(); ++i) {
        if (auto *button = qobject_cast<QToolButton *>(frame->layout()->itemAt(i)->widget()))
            order.append(button->objectName());
    }
    QList<QString> expected;
    for (const Expected &smiley : kSmilies)
        expected.append(QLatin1String(smiley.name));
    EXPECT_EQ(order, expected);

    for (const Expected &smiley : kSmilies) {
        SCOPED_TRACE(smiley.name);
        QToolButton *button = picture(smiley.name);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->toolTip(), QLatin1String(smiley.tooltip));
        EXPECT_EQ(button->accessibleName(), QLatin1String(smiley.tooltip));
        EXPECT_EQ(button->cursor().shape(), Qt::PointingHandCursor);
        EXPECT_TRUE(button->focusPolicy() & Qt::TabFocus);
        EXPECT_EQ(button->iconSize(), QSize(16, 16));
        // The picture really loads from the resource.
        const QImage image = button->icon().pixmap(QSize(16, 16)).toImage();
        ASSERT_FALSE(image.isNull());
        EXPECT_GT(image.pixelColor(8, 8).alpha(), 0);
    }
}

TEST_F(Smilies, ShowingAndHidingTwiceChangesNothing)
{
    putPost(typer, QStringLiteral("text"), 1, 2);
    const int steps = undoSteps(typer);
    w.form->command("SmiliesCommand")->trigger();
    EXPECT_TRUE(frame->isVisible());
    const QRect shown = frame->geometry();
    w.form->command("SmiliesCommand")->trigger();
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(frame->geometry(), shown);

    QTest::mouseClick(hideButton(), Qt::LeftButton);
    EXPECT_FALSE(frame->isVisible());
    hideButton()->click();
    EXPECT_FALSE(frame->isVisible());

    EXPECT_EQ(typer->text(), QStringLiteral("text"));
    EXPECT_EQ(typer->selStart(), 1);
    EXPECT_EQ(typer->selLength(), 2);
    EXPECT_EQ(undoSteps(typer), steps);
}

TEST_F(Smilies, EachPictureWritesItsCodeAndOneSpace)
{
    w.form->command("SmiliesCommand")->trigger();
    for (const Expected &smiley : kSmilies) {
        SCOPED_TRACE(smiley.name);
        putPost(typer, QStringLiteral("<>"), 1);
        QTest::mouseClick(picture(smiley.name), Qt::LeftButton);
        EXPECT_EQ(typer->text(), QLatin1Char('<') + QLatin1String(smiley.code) + QLatin1Char('>'));
        EXPECT_EQ(typer->selStart(), typer->length() - 1);
        expectOneUndoStep(typer, QStringLiteral("<>"));
        EXPECT_TRUE(frame->isVisible());
    }
}

TEST_F(Smilies, PictureReplacesTheSelection)
{
    w.form->command("SmiliesCommand")->trigger();
    putPost(typer, QStringLiteral("a xyz b"), 2, 3);
    QTest::mouseClick(picture("Angry"), Qt::LeftButton);
    EXPECT_EQ(typer->text(), QStringLiteral("a :mad:  b"));
}

TEST_F(Smilies, SmileTwiceGoesInTwiceAndFocusStaysInThePost)
{
    w.form->command("SmiliesCommand")->trigger();
    putPost(typer, QString());
    typer->setFocus();
    EXPECT_TRUE(QTest::qWaitFor([&] { return typer->hasFocus(); }, 5000));
    QTest::mouseClick(picture("Smile"), Qt::LeftButton);
    QTest::mouseClick(picture("Smile"), Qt::LeftButton);
    EXPECT_EQ(typer->text(), QStringLiteral(":) :) "));
    EXPECT_EQ(typer->length(), 6);
    EXPECT_TRUE(typer->hasFocus());
    EXPECT_TRUE(frame->isVisible());
}

TEST_F(Smilies, PicturesWorkFromTheKeyboard)
{
    w.form->command("SmiliesCommand")->trigger();
    putPost(typer, QString());
    QToolButton *wink = picture("Wink");
    wink->setFocus();
    EXPECT_TRUE(QTest::qWaitFor([&] { return wink->hasFocus(); }, 5000));
    QTest::keyClick(wink, Qt::Key_Space);
    EXPECT_EQ(typer->text(), QStringLiteral(";) "));
    // Tab moves on to the next picture.
    QTest::keyClick(wink, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), picture("Cool"));
}

} // namespace
} // namespace quorvane::test
