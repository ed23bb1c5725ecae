// What the first paint does not show is not built before it: the hidden
// panels come after it (or with the first command that needs them), windows
// with their first opening. The window itself looks the same either way.
#include "commands/installcommands.h"
#include "shell/mainform.h"
#include "shell/typer.h"
#include "support/scripted.h"
#include "windows/livepreviewwindow.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

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
    MainForm form{dialogs, launcher};
    Unshown() { installCommands(form); }
};

TEST(FirstPaintTest, HiddenPartsAreBuiltAfterTheFirstPaint)
{
    Unshown w;
    for (const Part &part : kParts)
        EXPECT_EQ(control(w.form, part.control), nullptr) << part.control;
    EXPECT_FALSE(w.form.isPastFirstPaint());

    w.form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w.form));
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.form.isPastFirstPaint(); }));
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

} // namespace
