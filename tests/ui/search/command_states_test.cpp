#include "commands/commandstates.h"
#include "shell/mainform.h"
#include "shell/typer.h"
#include "support/scripted.h"

#include <QAction>
#include <QClipboard>
#include <QFrame>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>
#include <memory>

using namespace quorvane;
using namespace quorvane::test;

namespace {

constexpr const char *kSelectionCommands[] = {"Cut", "Copy", "Delete"};
constexpr const char *kClipboardCommands[] = {"Paste", "ClearClipboard"};
constexpr const char *kPostCommands[] = {"SelectAll", "FindMenu", "ReplaceMenu", "SearchCommand",
                                         "ReplaceCommand"};

class CommandStatesTest : public ::testing::Test
{
protected:
    CommandStatesTest()
    {
        // Each window starts with an empty clipboard unless a test says otherwise.
        QGuiApplication::clipboard()->clear();
        w = std::make_unique<Window>();
        w->form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w->form.get()));
    }
    ~CommandStatesTest() override { QGuiApplication::clipboard()->clear(); }

    Typer *typer() { return w->form->typer(); }
    bool enabled(const char *name) { return w->form->command(name)->isEnabled(); }
    template <std::size_t N> void expectAll(const char *const (&names)[N], bool state)
    {
        for (const char *name : names)
            EXPECT_EQ(enabled(name), state) << name;
    }
    QToolButton *toolButton(const char *name) { return w->form->control<QToolButton>(name); }

    std::unique_ptr<Window> w;
};

TEST_F(CommandStatesTest, AnEmptyPostWithAnEmptyClipboardLeavesAllTenDisabled)
{
    expectAll(kSelectionCommands, false);
    expectAll(kClipboardCommands, false);
    expectAll(kPostCommands, false);
    EXPECT_FALSE(toolButton("SearchCommand")->isEnabled());
    EXPECT_FALSE(toolButton("ReplaceCommand")->isEnabled());
    // A disabled command does nothing, by menu, shortcut or button.
    QTest::keyClick(w->form->windowHandle(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_FALSE(w->form->findFrame()->isVisible());
}

TEST_F(CommandStatesTest, AClipboardThatAlreadyHoldsTextEnablesPasteAtStart)
{
    w.reset();
    QGuiApplication::clipboard()->setText(QStringLiteral("waiting"));
    w = std::make_unique<Window>();
    expectAll(kClipboardCommands, true);
    expectAll(kPostCommands, false);
}

TEST_F(CommandStatesTest, SelectionCommandsFollowTheSelection)
{
    typer()->setText(QStringLiteral("some words"));
    expectAll(kSelectionCommands, false);
    typer()->setSelStart(2);
    typer()->setSelLength(3);
    expectAll(kSelectionCommands, true);
    typer()->setSelLength(0);
    expectAll(kSelectionCommands, false);

    // By the keyboard, as a person selects.
    typer()->setFocus();
    QTest::keyClick(typer(), Qt::Key_Right, Qt::ShiftModifier);
    expectAll(kSelectionCommands, true);
    QTest::keyClick(typer(), Qt::Key_Right);
    expectAll(kSelectionCommands, false);
    QTest::keyClick(typer(), Qt::Key_A, Qt::ControlModifier);
    expectAll(kSelectionCommands, true);
    // Deleting the selected text collapses the selection.
    QTest::keyClick(typer(), Qt::Key_Backspace);
    expectAll(kSelectionCommands, false);
}

TEST_F(CommandStatesTest, ClipboardCommandsFollowTheClipboardsText)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->setText(QStringLiteral("from elsewhere"));
    expectAll(kClipboardCommands, true);
    clipboard->setText(QString());
    expectAll(kClipboardCommands, false);
    clipboard->setText(QStringLiteral(" "));
    expectAll(kClipboardCommands, true);
    clipboard->clear();
    expectAll(kClipboardCommands, false);

    // Something that is not text does not count.
    auto *picture = new QMimeData;
    picture->setData(QStringLiteral("image/png"), QByteArray("\x89PNG", 4));
    clipboard->setMimeData(picture);
    expectAll(kClipboardCommands, false);

    // The program's own Copy and Clear count as changes too.
    typer()->setText(QStringLiteral("abc"));
    typer()->setSelLength(2);
    w->form->command("Copy")->trigger();
    expectAll(kClipboardCommands, true);
    w->form->command("ClearClipboard")->trigger();
    expectAll(kClipboardCommands, false);
}

TEST_F(CommandStatesTest, PostCommandsFollowWhetherThePostIsEmpty)
{
    typer()->setFocus();
    QTest::keyClick(typer(), Qt::Key_X);
    expectAll(kPostCommands, true);
    EXPECT_TRUE(toolButton("SearchCommand")->isEnabled());
    QTest::keyClick(typer(), Qt::Key_Backspace);
    expectAll(kPostCommands, false);
    EXPECT_FALSE(toolButton("ReplaceCommand")->isEnabled());

    // Only spaces or line breaks is not empty.
    typer()->setText(QStringLiteral("  "));
    expectAll(kPostCommands, true);
    typer()->setText(QStringLiteral("\r\n"));
    expectAll(kPostCommands, true);
    typer()->setText(QString());
    expectAll(kPostCommands, false);

    // The editor's own undo empties the post again.
    typer()->setSelText(QStringLiteral("back"));
    expectAll(kPostCommands, true);
    QTest::keyClick(typer(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(typer()->isEmpty());
    expectAll(kPostCommands, false);
}

TEST_F(CommandStatesTest, ButtonsAreRightOnceTheToolbarLockIsReleased)
{
    QAction *lock = w->form->command("ControlsLocker");
    lock->setChecked(true);
    ASSERT_FALSE(w->form->mainFrame()->isEnabled());
    typer()->setText(QStringLiteral("text"));
    EXPECT_TRUE(enabled("SearchCommand"));
    EXPECT_FALSE(toolButton("SearchCommand")->isEnabled());
    lock->setChecked(false);
    EXPECT_TRUE(toolButton("SearchCommand")->isEnabled());
    EXPECT_TRUE(toolButton("ReplaceCommand")->isEnabled());

    lock->setChecked(true);
    typer()->setText(QString());
    lock->setChecked(false);
    EXPECT_FALSE(toolButton("SearchCommand")->isEnabled());
    EXPECT_FALSE(toolButton("ReplaceCommand")->isEnabled());
    // The menu items never depended on the lock.
    EXPECT_FALSE(enabled("FindMenu"));
    typer()->setText(QStringLiteral("text"));
    lock->setChecked(true);
    EXPECT_TRUE(enabled("FindMenu"));
    EXPECT_TRUE(enabled("ReplaceMenu"));
}

TEST_F(CommandStatesTest, OpeningAMenuPutsEveryStateRight)
{
    typer()->setText(QStringLiteral("text"));
    // Something outside set the states wrongly.
    for (const char *name : {"Cut", "Paste", "SelectAll"})
        w->form->command(name)->setEnabled(name != std::string_view("SelectAll"));
    auto *edit = w->form->findChild<QMenu *>(QStringLiteral("Edit"));
    ASSERT_NE(edit, nullptr);
    edit->popup(w->form->mapToGlobal(QPoint(10, 10)));
    EXPECT_FALSE(enabled("Cut"));
    EXPECT_FALSE(enabled("Paste"));
    EXPECT_TRUE(enabled("SelectAll"));
    edit->hide();
}

TEST_F(CommandStatesTest, ARefreshDoesNotTouchTheClipboardOrThePost)
{
    typer()->setText(QStringLiteral("abc"));
    QSignalSpy changes(typer(), &Typer::changed);
    QSignalSpy clipboardChanges(QGuiApplication::clipboard(), &QClipboard::dataChanged);
    w->form->findChild<CommandStates *>()->refresh();
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(clipboardChanges.count(), 0);
    EXPECT_EQ(typer()->text(), QStringLiteral("abc"));
}

} // namespace
