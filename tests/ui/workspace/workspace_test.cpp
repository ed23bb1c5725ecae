// Resizable Window, Preview Beside Editor and Full Screen on the real window.
#include "commands/livepreviewcommands.h"
#include "settings/livepreview.h"
#include "settings/workspace.h"
#include "shell/mainform.h"
#include "shell/typer.h"
#include "support/scripted.h"
#include "windows/livepreviewwindow.h"

#include <QAction>
#include <QFrame>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace quorvane;

namespace {

constexpr QSize kFixed(640, 480);

class WorkspaceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        workspace::forget();
        livepreview::forget();
    }
    void TearDown() override
    {
        workspace::forget();
        livepreview::forget();
    }
};

bool isFixed(const MainForm &form)
{
    return form.minimumSize() == kFixed && form.maximumSize() == kFixed &&
           !(form.windowFlags() & Qt::WindowMaximizeButtonHint) &&
           (form.windowFlags() & Qt::CustomizeWindowHint);
}

bool isGrowable(const MainForm &form)
{
    return form.minimumSize() == kFixed &&
           form.maximumSize() == QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX) &&
           !(form.windowFlags() & Qt::CustomizeWindowHint);
}

LivePreviewWindow *preview(const MainForm &form)
{
    return form.findChild<LivePreviewCommands *>()->window();
}

TEST_F(WorkspaceTest, TheWindowAsFirstBuiltIsTheDefault)
{
    test::Window w;
    EXPECT_TRUE(isFixed(*w.form));
    EXPECT_EQ(w.form->size(), kFixed);
    for (const char *name : {"ResizableWindow", "PreviewBesideEditor", "FullScreen"})
        EXPECT_FALSE(w.form->command(name)->isChecked()) << name;
    EXPECT_EQ(w.form->control<QSplitter>("EditorSplitter"), nullptr) << "nothing built while off";
    EXPECT_TRUE(preview(*w.form)->isWindow());
}

// Each option is remembered: the next window starts with it.
TEST_F(WorkspaceTest, EachOptionIsRememberedInANewWindow)
{
    struct Case
    {
        const char *command;
        std::function<bool(const MainForm &)> shows;
    };
    const Case cases[] = {
        {"ResizableWindow", isGrowable},
        {"PreviewBesideEditor",
         [](const MainForm &form) {
             auto *splitter = form.control<QSplitter>("EditorSplitter");
             return splitter && splitter->isVisible() && splitter->isAncestorOf(preview(form)) &&
                    splitter->isAncestorOf(form.typer());
         }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.command);
        workspace::forget();
        {
            test::Window w;
            w.dialogs.messageAnswers = {QMessageBox::Ok};
            w.form->command(c.command)->setChecked(true);
            QTRY_VERIFY_WITH_TIMEOUT(c.shows(*w.form), 5000);
            w.form->close();
        }
        {
            test::Window w;
            EXPECT_TRUE(w.form->command(c.command)->isChecked());
            QTRY_VERIFY_WITH_TIMEOUT(c.shows(*w.form), 5000);
            w.form->command(c.command)->setChecked(false);
            w.form->close();
        }
        test::Window w;
        EXPECT_FALSE(w.form->command(c.command)->isChecked());
    }
}

TEST_F(WorkspaceTest, TheResizedWindowComesBackWhereItWas)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect placed(screen.left() + 20, screen.top() + 30, 700, 520);
    {
        test::Window w;
        w.form->command("ResizableWindow")->setChecked(true);
        w.form->setGeometry(placed);
        QTRY_COMPARE_WITH_TIMEOUT(w.form->geometry(), placed, 5000);
        w.form->close();
    }
    test::Window w;
    EXPECT_EQ(w.form->geometry(), placed);
    EXPECT_TRUE(isGrowable(*w.form));
}

TEST_F(WorkspaceTest, AGeometryOnAScreenThatIsGoneIsNotUsed)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    // As if kept on a second monitor, since unplugged.
    const QRect gone(screen.right() + 400, screen.top() + 50, 700, 520);
    workspace::writeFlag(workspace::resizableKey, true);
    workspace::writeGeometry(gone);
    test::Window w;
    EXPECT_TRUE(isGrowable(*w.form));
    EXPECT_TRUE(screen.intersects(w.form->geometry()))
        << w.form->geometry().x() << "," << w.form->geometry().y();
    EXPECT_EQ(w.form->size(), kFixed);
}

TEST_F(WorkspaceTest, TheEditorTakesTheRoomAndOffGivesTheFixedSizeBack)
{
    test::Window w;
    const int editorWidth = w.form->typer()->width();
    const int rowButtonX = w.form->control<QToolButton>("BoldCommand")->x();
    w.form->command("ResizableWindow")->setChecked(true);
    w.form->resize(760, 560);
    QTRY_COMPARE_WITH_TIMEOUT(w.form->size(), QSize(760, 560), 5000);
    QTRY_COMPARE_WITH_TIMEOUT(w.form->typer()->width(), editorWidth + 120, 5000);
    EXPECT_EQ(w.form->control<QToolButton>("BoldCommand")->x(), rowButtonX)
        << "the toolbar rows keep their layout";
    EXPECT_EQ(w.form->topFrame()->height(), 20);

    w.form->command("ResizableWindow")->setChecked(false);
    EXPECT_TRUE(isFixed(*w.form));
    QTRY_COMPARE_WITH_TIMEOUT(w.form->size(), kFixed, 5000);
    EXPECT_TRUE(w.form->isVisible());
}

TEST_F(WorkspaceTest, PreviewBesideAFixedWindowMakesItResizableAndSaysSo)
{
    test::Window w;
    w.dialogs.messageAnswers = {QMessageBox::Ok};
    w.form->command("PreviewBesideEditor")->setChecked(true);
    ASSERT_EQ(w.dialogs.messages.size(), 1);
    EXPECT_TRUE(w.dialogs.messages[0].text.contains(QLatin1String("Resizable Window is now on")));
    EXPECT_TRUE(w.form->command("ResizableWindow")->isChecked());
    EXPECT_GT(w.form->width(), kFixed.width());
    EXPECT_TRUE(w.form->command("LivePreview")->isChecked()) << "asked for, it is shown";

    // F6 hides and shows it where it lives; the editor takes the room.
    auto *dock = w.form->control<QWidget>("PreviewDock");
    QTRY_VERIFY_WITH_TIMEOUT(dock->isVisible(), 5000);
    w.form->command("LivePreview")->trigger();
    EXPECT_FALSE(dock->isVisible());
    EXPECT_FALSE(preview(*w.form)->isWindow());
    w.form->command("LivePreview")->trigger();
    EXPECT_TRUE(dock->isVisible());

    // Full screen leaves the editor alone, and gives the preview back after.
    w.form->command("FullScreen")->trigger();
    EXPECT_FALSE(dock->isVisible());
    w.form->command("FullScreen")->trigger();
    EXPECT_TRUE(dock->isVisible());

    // Off: a window of its own again, still shown.
    w.form->command("PreviewBesideEditor")->setChecked(false);
    EXPECT_TRUE(preview(*w.form)->isWindow());
    QTRY_VERIFY_WITH_TIMEOUT(preview(*w.form)->isVisible(), 5000);
    EXPECT_FALSE(dock->isVisible());
}

TEST_F(WorkspaceTest, TheSplitterPlaceIsRemembered)
{
    QList<int> kept;
    {
        test::Window w;
        w.dialogs.messageAnswers = {QMessageBox::Ok};
        w.form->command("PreviewBesideEditor")->setChecked(true);
        auto *splitter = w.form->control<QSplitter>("EditorSplitter");
        QTRY_VERIFY_WITH_TIMEOUT(splitter->sizes().value(1) > 0, 5000);
        const int total = splitter->sizes().value(0) + splitter->sizes().value(1);
        splitter->setSizes({total / 4, total - total / 4});
        kept = splitter->sizes();
        w.form->close();
    }
    test::Window w;
    auto *splitter = w.form->control<QSplitter>("EditorSplitter");
    ASSERT_NE(splitter, nullptr);
    QTRY_COMPARE_WITH_TIMEOUT(splitter->sizes(), kept, 5000);
}

TEST_F(WorkspaceTest, PreviewBesideAtStartComesInAfterTheFirstPaint)
{
    workspace::writeFlag(workspace::resizableKey, true);
    workspace::writeFlag(workspace::previewBesideKey, true);
    livepreview::writeFlag(livepreview::openKey, true);
    test::Window w;
    EXPECT_FALSE(preview(*w.form)->isWindow()) << "never a window of its own meanwhile";
    QTRY_VERIFY_WITH_TIMEOUT(w.form->control<QWidget>("PreviewDock")->isVisible(), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(preview(*w.form)->pagesMade() > 0, 10000);
}

TEST_F(WorkspaceTest, FullScreenLeavesTheEditorAndTheCounts)
{
    test::Window w;
    w.form->typer()->setFocus();
    w.form->command("FullScreen")->trigger();
    EXPECT_TRUE(w.form->isFullScreen());
    const auto hidden = [&](const char *name) {
        auto *widget = w.form->control<QWidget>(name);
        return widget && !widget->isVisible();
    };
    EXPECT_FALSE(w.form->menuBar()->isVisible());
    for (const char *name : {"TopFrame", "BoldCommand", "NewCommand", "Fonts", "ControlsLocker"})
        EXPECT_TRUE(hidden(name)) << name;
    EXPECT_TRUE(w.form->typer()->isVisible());
    EXPECT_TRUE(w.form->control<QLineEdit>("LettersNo")->isVisible());
    EXPECT_TRUE(w.form->control<QWidget>("WordCount")->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(w.form->typer()->width() > kFixed.width() - 20, 5000);

    QTest::keyClick(w.form->typer(), Qt::Key_T, Qt::ControlModifier);
    EXPECT_FALSE(w.form->typer()->toPlainText().isEmpty()) << "the menus' keys still work";
    QTest::keyClick(w.form->typer(), Qt::Key_Escape);
    EXPECT_FALSE(w.form->isFullScreen());
    EXPECT_FALSE(w.form->command("FullScreen")->isChecked());
    EXPECT_TRUE(w.form->menuBar()->isVisible());
    EXPECT_TRUE(w.form->control<QWidget>("BoldCommand")->isVisible());
    EXPECT_FALSE(hidden("TopFrame"));
    EXPECT_TRUE(isFixed(*w.form));

    // F11 enters and leaves it.
    QTest::keyClick(w.form->typer(), Qt::Key_F11);
    EXPECT_TRUE(w.form->isFullScreen());
    QTest::keyClick(w.form->typer(), Qt::Key_F11);
    EXPECT_FALSE(w.form->isFullScreen());
}

TEST_F(WorkspaceTest, EscOutsideFullScreenIsNotTaken)
{
    test::Window w;
    w.form->command("FindMenu")->setEnabled(true);
    w.form->typer()->setPlainText(QStringLiteral("text"));
    w.form->command("FindMenu")->trigger();
    ASSERT_TRUE(w.form->findFrame()->isVisible());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(w.form->findFrame()->isVisible()) << "Esc still closes the Find panel";
}

} // namespace
