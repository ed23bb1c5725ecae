// What the first paint does not show is not built before it: the hidden
// panels and the families that only wire commands come after it (or with the
// first command that needs them), windows with their first opening. The
// window itself looks the same either way.
#include "commands/installcommands.h"
#include "commands/openrequests.h"
#include "commands/recentcommands.h"
#include "shell/mainform.h"
#include "shell/typer.h"
#include "support/scripted.h"
#include "windows/livepreviewwindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>

using namespace quorvane;

namespace {

// The parts left for after the first paint, each with the command that
// needs it sooner.
struct Part
{
    const char *control;
    const char *command;
};
constexpr Part kParts[] = {
    {"FindText", "FindMenu"},
    {"FindWhat", "ReplaceMenu"},
    {"HideSmilys", "SmiliesCommand"},
    {"ProblemsList", "ProblemsPanel"},
};

QWidget *control(const MainForm &form, const char *name)
{
    return form.findChild<QWidget *>(QLatin1String(name));
}

bool anyLivePreview()
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (qobject_cast<LivePreviewWindow *>(window))
            return true;
    }
    return false;
}

struct Unshown
{
    test::ScriptedDialogs dialogs;
    test::RecordingLauncher launcher;
    MainForm form;
    // A start without a file leaves the menus' items and some families for
    // after its first frame.
    explicit Unshown(bool later = false)
        : form(dialogs, launcher, nullptr,
               later ? MainForm::MenuItems::AfterFirstPaint : MainForm::MenuItems::Now)
    {
        installCommands(form, {},
                        later ? quorvane::Unshown::AfterFirstPaint : quorvane::Unshown::Now);
    }
};

bool menusFilled(const MainForm &form)
{
    return !form.control<QMenu>("Menu")->isEmpty();
}

// A start waits for its fonts there: text laid out before would read the
// font configuration a second time, on the thread that paints.
TEST(FirstPaintTest, TheWindowAsksForNoTextBeforeItsFontsAreReady)
{
    const auto widgetsWithText = [] {
        const QWidgetList all = QApplication::allWidgets();
        return std::count_if(all.begin(), all.end(), [](QWidget *widget) {
            const auto *button = qobject_cast<QAbstractButton *>(widget);
            return qobject_cast<QLabel *>(widget) || qobject_cast<QLineEdit *>(widget) ||
                   qobject_cast<QPlainTextEdit *>(widget) || (button && !button->text().isEmpty());
        });
    };
    const auto before = widgetsWithText();
    test::ScriptedDialogs dialogs;
    test::RecordingLauncher launcher;
    int calls = 0;
    qsizetype madeByThen = -1;
    MainForm form(dialogs, launcher, nullptr, MainForm::MenuItems::Now, [&] {
        ++calls;
        madeByThen = widgetsWithText() - before;
    });
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(madeByThen, 0);
    EXPECT_GT(widgetsWithText(), before);
}

TEST(FirstPaintTest, HiddenPartsAreBuiltAfterTheFirstPaint)
{
    Unshown w;
    for (const Part &part : kParts)
        EXPECT_EQ(control(w.form, part.control), nullptr) << part.control;
    EXPECT_FALSE(w.form.isPastFirstPaint());

    EXPECT_FALSE(w.form.testAttribute(Qt::WA_SetWindowIcon));
    w.form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w.form));
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.form.isPastFirstPaint(); }));
    EXPECT_TRUE(w.form.testAttribute(Qt::WA_SetWindowIcon));
    EXPECT_FALSE(w.form.windowIcon().isNull());
    for (const Part &part : kParts) {
        QWidget *built = control(w.form, part.control);
        ASSERT_NE(built, nullptr) << part.control;
        EXPECT_FALSE(built->isVisible()) << part.control;
    }
    // A window is built when it is first opened, not after the first paint.
    EXPECT_FALSE(anyLivePreview());
}

TEST(FirstPaintTest, ACommandBeforeTheFirstPaintBuildsItsPart)
{
    for (const Part &part : kParts) {
        Unshown w;
        // Find and Replace wait for a post to search.
        w.form.typer()->setText(QStringLiteral("A post"));
        ASSERT_TRUE(w.form.command(part.command)->isEnabled()) << part.command;
        w.form.command(part.command)->trigger();
        QWidget *built = control(w.form, part.control);
        ASSERT_NE(built, nullptr) << part.control;
        EXPECT_TRUE(built->isVisibleTo(&w.form)) << part.control;
    }
}

TEST(FirstPaintTest, LivePreviewIsBuiltWhenFirstOpened)
{
    Unshown w;
    w.form.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.form.isPastFirstPaint(); }));
    EXPECT_FALSE(anyLivePreview());
    w.form.command("LivePreview")->trigger();
    EXPECT_TRUE(anyLivePreview());
    w.form.command("LivePreview")->trigger();
}

// The menus' items and the families a start leaves for after its first
// frame: made then, or at once by whatever needs them first; what waits for
// them comes after them.
TEST(FirstPaintTest, WhatIsLeftForLaterChangesNothingTheFirstFrameShows)
{
    Unshown all;
    Unshown first(true);
    EXPECT_EQ(RecentCommands::of(first.form), nullptr);
    EXPECT_FALSE(menusFilled(first.form));
    // Drawn without the window system: nothing of the first paint runs.
    EXPECT_EQ(first.form.grab().toImage(), all.form.grab().toImage());
    EXPECT_EQ(RecentCommands::of(first.form), nullptr);

    int ran = 0;
    whenCommandsInstalled(first.form, [&] { ran = RecentCommands::of(first.form) ? 1 : -1; });
    first.form.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return first.form.isPastFirstPaint(); }));
    EXPECT_EQ(ran, 1);
    EXPECT_NE(RecentCommands::of(first.form), nullptr);
    // Every menu as a window made at once has it.
    for (QMenu *menu : all.form.findChildren<QMenu *>()) {
        // The menu bar's own overflow menu follows its width, not the table.
        if (menu->objectName().isEmpty())
            continue;
        const QMenu *same = first.form.findChild<QMenu *>(menu->objectName());
        ASSERT_NE(same, nullptr) << qPrintable(menu->objectName());
        QStringList names, sameNames;
        for (const QAction *action : menu->actions())
            names << action->objectName();
        for (const QAction *action : same->actions())
            sameNames << action->objectName();
        EXPECT_EQ(sameNames, names) << qPrintable(menu->objectName());
    }

    // A later start's file before the first frame: its families come first.
    Unshown early(true);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("post.txt"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[B]handed over[/B]");
    file.close();
    auto *requests = new OpenRequests(early.form);
    requests->handle(OpenRequest{path, {}, {}});
    EXPECT_NE(RecentCommands::of(early.form), nullptr);
    EXPECT_TRUE(menusFilled(early.form));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return early.form.typer()->text() == QStringLiteral("[B]handed over[/B]"); }));
    // Input held before the first frame: every command is off all the same.
    Unshown held(true);
    held.form.holdInput(true);
    EXPECT_FALSE(held.form.command("BoldCommand")->isEnabled());
    EXPECT_FALSE(held.form.command("OpenFile")->isEnabled());
    held.form.holdInput(false);
    EXPECT_TRUE(held.form.command("BoldCommand")->isEnabled());
    // Never painted (started minimised): made all the same.
    Unshown hidden(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return RecentCommands::of(hidden.form) != nullptr; }, 5000));
    EXPECT_TRUE(menusFilled(hidden.form));
}

} // namespace
