#include "inserts.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace quorvane::test {
namespace {

class Choosers : public ::testing::Test
{
protected:
    Window w;
    Typer *typer = w.form->typer();

    QComboBox *chooser(const char *name)
    {
        auto *box = w.form->control<QComboBox>(name);
        EXPECT_NE(box, nullptr) << name;
        return box;
    }

    // Opens the list and clicks the entry, as a mouse user does.
    void pickWithMouse(QComboBox *box, const QString &entry)
    {
        const int row = box->findText(entry);
        ASSERT_GE(row, 0) << entry.toStdString();
        box->showPopup();
        QAbstractItemView *view = box->view();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view->window()));
        const QModelIndex index = box->model()->index(row, 0);
        view->scrollTo(index);
        const QPoint at = view->visualRect(index).center();
        QTest::mouseMove(view->viewport(), at);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !view->window()->isVisible(); }, 5000));
    }
};

TEST_F(Choosers, ShowTheirLabelsAndEntriesInOrder)
{
    struct Expected
    {
        const char *name, *start;
        int count;
        const char *first, *last;
    };
    for (const Expected &e : {Expected{"Fonts", "Fonts", 21, "Arial", "Verdana"},
                              Expected{"Size", "Sizes", 7, "1", "7"},
                              Expected{"Color", "Colors", 11, "Red", "Purple"}}) {
        SCOPED_TRACE(e.name);
        QComboBox *box = chooser(e.name);
        EXPECT_TRUE(box->isEditable());
        EXPECT_EQ(box->currentText(), QLatin1String(e.start));
        ASSERT_EQ(box->count(), e.count);
        EXPECT_EQ(box->itemText(0), QLatin1String(e.first));
        EXPECT_EQ(box->itemText(e.count - 1), QLatin1String(e.last));
        EXPECT_EQ(box->findText(QLatin1String(e.start)), -1);
    }
    EXPECT_EQ(chooser("Fonts")->itemText(5), QStringLiteral("Comic Sans MS"));
    EXPECT_EQ(chooser("Color")->itemText(9), QStringLiteral("Gray"));
}

TEST_F(Choosers, MousePickInsertsThePairAtTheCaretAndKeepsShowingTheEntry)
{
    putPost(typer, QStringLiteral("ab"), 1);
    QComboBox *fonts = chooser("Fonts");
    pickWithMouse(fonts, QStringLiteral("Comic Sans MS"));

    EXPECT_EQ(typer->text(), QStringLiteral("a[Font=Comic Sans MS][/Font]b"));
    EXPECT_EQ(typer->selStart(), typer->length() - 1);
    EXPECT_EQ(typer->selLength(), 0);
    EXPECT_EQ(fonts->currentText(), QStringLiteral("Comic Sans MS"));
    expectOneUndoStep(typer, QStringLiteral("ab"));

    // Picking the entry already shown inserts it again.
    pickWithMouse(fonts, QStringLiteral("Comic Sans MS"));
    EXPECT_EQ(typer->text(),
              QStringLiteral("a[Font=Comic Sans MS][/Font][Font=Comic Sans MS][/Font]b"));

    pickWithMouse(chooser("Color"), QStringLiteral("Gray"));
    EXPECT_TRUE(typer->text().endsWith(QStringLiteral("[Color=Gray][/Color]b")));
    EXPECT_EQ(chooser("Color")->currentText(), QStringLiteral("Gray"));
    typer->undo();
    EXPECT_EQ(typer->text(),
              QStringLiteral("a[Font=Comic Sans MS][/Font][Font=Comic Sans MS][/Font]b"));
}

TEST_F(Choosers, KeyboardPickWrapsTheSelection)
{
    // From the open list: End, then Return.
    putPost(typer, QStringLiteral("a word here"), 2, 4);
    QComboBox *size = chooser("Size");
    size->setFocus();
    size->showPopup();
    QAbstractItemView *view = size->view();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view->window()));
    QTest::keyClick(view, Qt::Key_End);
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_EQ(typer->text(), QStringLiteral("a [Size=7]word[/Size] here"));
    EXPECT_EQ(size->currentText(), QStringLiteral("7"));

    // On the closed chooser an arrow key steps to the next entry and picks it.
    putPost(typer, QStringLiteral("x"), 1);
    QComboBox *color = chooser("Color");
    QTest::keyClick(color, Qt::Key_Down);
    EXPECT_EQ(typer->text(), QStringLiteral("x[Color=Red][/Color]"));
    EXPECT_EQ(color->currentText(), QStringLiteral("Red"));
}

TEST_F(Choosers, AfterAPickTheNextWordsGoIntoThePost)
{
    struct Case
    {
        const char *name, *entry;
        bool mouse;
        const char *post;
    };
    for (const Case &c : {Case{"Fonts", "Arial", true, "[Font=Arial][/Font]next"},
                          Case{"Size", "7", false, "[Size=7][/Size]next"},
                          Case{"Color", "Gray", true, "[Color=Gray][/Color]next"}}) {
        SCOPED_TRACE(c.name);
        putPost(typer, QString());
        QComboBox *box = chooser(c.name);
        box->setFocus();
        if (c.mouse) {
            pickWithMouse(box, QLatin1String(c.entry));
        } else {
            box->showPopup();
            QAbstractItemView *view = box->view();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(view->window()));
            QTest::keyClick(view, Qt::Key_End);
            QTest::keyClick(view, Qt::Key_Return);
        }
        EXPECT_TRUE(QTest::qWaitFor([this] { return typer->hasFocus(); }, 5000));
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("next"));
        EXPECT_EQ(typer->text(), QLatin1String(c.post));
        EXPECT_EQ(box->currentText(), QLatin1String(c.entry));
    }
}

TEST_F(Choosers, TypingBringsTheLabelBackAndInsertsNothing)
{
    putPost(typer, QStringLiteral("post"), 2, 1);
    QComboBox *color = chooser("Color");
    QTest::keyClicks(color->lineEdit(), QStringLiteral("G"));
    EXPECT_EQ(color->currentText(), QStringLiteral("Colors"));

    // Also after a pick, and for every way of changing the text part.
    pickWithMouse(color, QStringLiteral("Blue"));
    ASSERT_EQ(color->currentText(), QStringLiteral("Blue"));
    putPost(typer, QStringLiteral("post"), 2, 1);
    const int afterPick = undoSteps(typer);
    color->lineEdit()->setFocus();
    QTest::keyClick(color->lineEdit(), Qt::Key_Backspace);
    EXPECT_EQ(color->currentText(), QStringLiteral("Colors"));
    QGuiApplication::clipboard()->setText(QStringLiteral("Green"));
    color->lineEdit()->selectAll();
    color->lineEdit()->paste();
    EXPECT_EQ(color->currentText(), QStringLiteral("Colors"));

    EXPECT_EQ(typer->text(), QStringLiteral("post"));
    EXPECT_EQ(undoSteps(typer), afterPick);
}

TEST_F(Choosers, AWheelTurnedOverAClosedChooserInsertsNothing)
{
    QComboBox *box = chooser("Color");
    const QPoint centre = box->rect().center();
    QWheelEvent wheel(centre, box->mapToGlobal(centre), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(box, &wheel);
    EXPECT_EQ(typer->text(), QString());
    EXPECT_EQ(box->currentText(), QStringLiteral("Colors"));
}

TEST_F(Choosers, LabelsAreNeverInserted)
{
    putPost(typer, QStringLiteral("post"), 4);
    const int steps = undoSteps(typer);
    for (const char *name : {"Fonts", "Size", "Color"}) {
        SCOPED_TRACE(name);
        QComboBox *box = chooser(name);
        box->lineEdit()->setFocus();
        QTest::keyClick(box->lineEdit(), Qt::Key_Return);
        // Typed letter by letter, an entry's name never stands to be confirmed.
        QTest::keyClicks(box->lineEdit(), QStringLiteral("Red"));
        QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    }
    EXPECT_EQ(typer->text(), QStringLiteral("post"));
    EXPECT_EQ(undoSteps(typer), steps);
}

} // namespace
} // namespace quorvane::test
