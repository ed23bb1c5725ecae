// Forum > Adapt Post for Forum... and Copy for Forum on the offscreen
// platform, through the real main window, editor and clipboard.
#include "commands/forumadaptcommands.h"
#include "commands/forumcommands.h"
#include "settings/forumchoice.h"
#include "shell/mainform.h"
#include "shell/typer.h"
#include "support/scripted.h"
#include "windows/comparewindow.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace quorvane;

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace {

// Two lines that phpBB 3.3 shows otherwise than meant, and the same adapted.
const QString kPost = QStringLiteral("[size=5]Big[/size]\r\nno [s]strike[/s]");
const QString kAdapted = QStringLiteral("[size=150]Big[/size]\r\nno strike");

class ForumAdaptUiTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        forumchoice::forget();
        w = std::make_unique<test::Window>();
    }
    void TearDown() override
    {
        w.reset();
        forumchoice::forget();
    }
    void choose(Forum forum) const
    {
        w->form->findChild<ForumCommands *>()->command(forum)->trigger();
    }
    Typer *typer() const { return w->form->typer(); }
    CompareWindow *window() const { return w->form->findChild<ForumAdaptCommands *>()->window(); }
    void trigger(const char *name) const { w->form->command(name)->trigger(); }

    std::unique_ptr<test::Window> w;
};

TEST_F(ForumAdaptUiTest, AdaptShowsTheChangesAndAppliesThemAsOneUndoStep)
{
    choose(Forum::PhpBB);
    typer()->setText(kPost);
    trigger("AdaptPostForForum");
    CompareWindow *shown = window();
    ASSERT_NE(shown, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(shown));
    auto *changes = shown->findChild<QListWidget *>(QStringLiteral("CompareChanges"));
    ASSERT_NE(changes, nullptr);
    ASSERT_EQ(changes->count(), 2);
    EXPECT_TRUE(changes->item(0)->text().startsWith(QStringLiteral("Line 1: [size=5]")));
    EXPECT_TRUE(changes->item(1)->text().startsWith(QStringLiteral("Line 2: [s]")));
    EXPECT_EQ(shown->draftView()->toPlainText(), QString(kAdapted).replace(u'\r', QString()));
    EXPECT_EQ(typer()->text(), kPost) << "nothing changes before Apply";

    shown->findChild<QPushButton *>(QStringLiteral("CompareApply"))->click();
    EXPECT_FALSE(shown->isVisible());
    EXPECT_EQ(typer()->text(), kAdapted);
    ASSERT_TRUE(w->form->isEnabled());
    QTest::keyClick(typer(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(typer()->text(), kPost);
}

TEST_F(ForumAdaptUiTest, ClosingTheWindowLeavesThePost)
{
    choose(Forum::Smf);
    typer()->setText(QStringLiteral("[list=1][*]one[/list]"));
    trigger("AdaptPostForForum");
    ASSERT_NE(window(), nullptr);
    window()->reject();
    EXPECT_EQ(typer()->text(), QStringLiteral("[list=1][*]one[/list]"));
    EXPECT_TRUE(w->form->isEnabled());
}

TEST_F(ForumAdaptUiTest, CopyForForumPutsTheAdaptedPostOnTheClipboard)
{
    choose(Forum::PhpBB);
    typer()->setText(kPost);
    QGuiApplication::clipboard()->clear();
    const int undoSteps = typer()->document()->availableUndoSteps();
    trigger("CopyForForum");
    EXPECT_TRUE(
        QTest::qWaitFor([] { return QGuiApplication::clipboard()->text() == kAdapted; }, 10000))
        << QGuiApplication::clipboard()->text().toStdString();
    EXPECT_EQ(typer()->text(), kPost);
    EXPECT_EQ(typer()->document()->availableUndoSteps(), undoSteps);
}

// What each command says when there is nothing to do.
struct Said
{
    const char *what;
    Forum forum;
    const char *command;
    const char *post;
    const char *saying;
};

const Said kSaid[] = {
    {"Generic: no forum to adapt for", Forum::Generic, "AdaptPostForForum", "[s]x[/s]",
     "no forum to adapt"},
    {"Generic: no forum to copy for", Forum::Generic, "CopyForForum", "[s]x[/s]",
     "no forum to adapt"},
    {"a post that suits the forum", Forum::MyBB, "AdaptPostForForum", "[b]fine[/b]",
     "already suits MyBB 1.8"},
};

class ForumAdaptSays : public ForumAdaptUiTest, public ::testing::WithParamInterface<Said>
{
};

TEST_P(ForumAdaptSays, SaysSoAndChangesNothing)
{
    const Said &said = GetParam();
    choose(said.forum);
    typer()->setText(QString::fromLatin1(said.post));
    w->dialogs.messageAnswers.push_back(QMessageBox::Ok);
    trigger(said.command);
    ASSERT_EQ(w->dialogs.messages.size(), 1);
    EXPECT_TRUE(w->dialogs.messages.front().text.contains(QLatin1String(said.saying)))
        << w->dialogs.messages.front().text.toStdString();
    EXPECT_EQ(typer()->text(), QString::fromLatin1(said.post));
    EXPECT_EQ(window(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Cases, ForumAdaptSays, ::testing::ValuesIn(kSaid),
                         [](const ::testing::TestParamInfo<Said> &param) {
                             return std::to_string(param.index);
                         });

} // namespace
